#include "preview/gif_animation.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "preview/dot_raster.h"
#include "preview/png_image.h"

namespace lumadot {
namespace {

constexpr int kMaxGifDimension = 0xFFFF;
constexpr int kColourBits = 2;  // GIF colour tables come in powers of two: gap, dark, lit and the seam (or unused)

int appendBytes(GifFileType* gif, const GifByteType* bytes, int count) {
  static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(count));
  return count;
}

struct GifCloser {
  void operator()(GifFileType* gif) const { EGifCloseFile(gif, nullptr); }
};

struct MapFreer {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

Failure gifFailure(int error) { return Failure(std::string("cannot make the GIF: giflib: ") + GifErrorString(error)); }

// The columns [first, last] in which two pictures differ; the whole width for the first picture.
std::pair<int, int> changedColumns(const DotPicture* before, const DotPicture& now) {
  if (before == nullptr) return {0, now.width() - 1};
  int first = 0;
  int last = now.width() - 1;
  while (first < last && before->dotsOf(first) == now.dotsOf(first)) ++first;
  while (last > first && before->dotsOf(last) == now.dotsOf(last)) --last;
  return {first, last};
}

class GifWriter {
 public:
  GifWriter(std::string& out, int dotSize, std::span<const int> seams)
      : m_dotSize(static_cast<std::size_t>(dotSize)), m_seams(seams) {
    int error = 0;
    m_gif.reset(EGifOpen(&out, appendBytes, &error));
    if (!m_gif) m_error = error;
  }

  // `columns` dots across, `rows` down.
  bool start(int columns, int rows) {
    m_columns = columns;
    // The unused colour stays black without seams, so such a GIF is the file it always was.
    const PngColour fourth = showsSeams(m_seams, columns, m_dotSize) ? kSeamColour : PngColour{};
    const std::array<GifColorType, 4> colours{{{kDotGapColour.red, kDotGapColour.green, kDotGapColour.blue},
                                               {kDarkDotColour.red, kDarkDotColour.green, kDarkDotColour.blue},
                                               {kLitDotColour.red, kLitDotColour.green, kLitDotColour.blue},
                                               {fourth.red, fourth.green, fourth.blue}}};
    const std::unique_ptr<ColorMapObject, MapFreer> map(GifMakeMapObject(1 << kColourBits, colours.data()));
    if (!ok() || !map) return fail(E_GIF_ERR_NOT_ENOUGH_MEM);
    EGifSetGifVersion(m_gif.get(), true);
    const int size = static_cast<int>(m_dotSize);
    if (EGifPutScreenDesc(m_gif.get(), columns * size, rows * size, kColourBits, kGapPixel, map.get()) == GIF_ERROR) {
      return fail();
    }
    // The application extension that makes browsers play it over and over.
    constexpr GifByteType kLoopForever[] = {1, 0, 0};
    return put(EGifPutExtensionLeader(m_gif.get(), APPLICATION_EXT_FUNC_CODE)) &&
           put(EGifPutExtensionBlock(m_gif.get(), 11, "NETSCAPE2.0")) &&
           put(EGifPutExtensionBlock(m_gif.get(), sizeof kLoopForever, kLoopForever)) &&
           put(EGifPutExtensionTrailer(m_gif.get()));
  }

  bool image(const DotPicture& picture, int centiseconds, std::pair<int, int> columns) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;  // the next image draws over this one
    control.DelayTime = centiseconds;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    std::array<GifByteType, 4> extension{};
    EGifGCBToExtension(&control, extension.data());
    const auto [first, last] = columns;
    const int count = last - first + 1;
    const int left = first * static_cast<int>(m_dotSize);
    const int width = count * static_cast<int>(m_dotSize);
    const int height = picture.height() * static_cast<int>(m_dotSize);
    if (!put(EGifPutExtension(m_gif.get(), GRAPHICS_EXT_FUNC_CODE, static_cast<int>(extension.size()), extension.data())) ||
        !put(EGifPutImageDesc(m_gif.get(), left, 0, width, height, false, nullptr))) {
      return false;
    }
    std::vector<GifPixelType> row(static_cast<std::size_t>(width));
    std::vector<GifPixelType> gapRow(row.size(), kGapPixel);  // giflib takes rows it may not change as non-const
    markSeams(m_seams, m_columns, first, count, m_dotSize, gapRow.data());
    const std::size_t gap = dotGap(m_dotSize);
    for (int y = 0; y < picture.height(); ++y) {
      rasterDotRow(picture, y, first, count, m_dotSize, row.data());
      markSeams(m_seams, m_columns, first, count, m_dotSize, row.data());
      for (std::size_t line = 0; line < m_dotSize; ++line) {
        auto& pixels = line < m_dotSize - gap ? row : gapRow;
        if (!put(EGifPutLine(m_gif.get(), pixels.data(), width))) return false;
      }
    }
    return true;
  }

  Result<void> finish() {
    if (!ok()) return gifFailure(m_error);
    int error = 0;
    if (EGifCloseFile(m_gif.release(), &error) == GIF_ERROR) return gifFailure(error);
    return {};
  }

 private:
  bool ok() const { return m_gif && m_error == 0; }
  bool fail(int error = 0) {
    if (m_error == 0) m_error = error != 0 ? error : (m_gif ? m_gif->Error : E_GIF_ERR_NOT_ENOUGH_MEM);
    return false;
  }
  bool put(int result) { return result != GIF_ERROR || fail(); }

  std::unique_ptr<GifFileType, GifCloser> m_gif;
  std::size_t m_dotSize;
  std::span<const int> m_seams;
  int m_columns = 0;
  int m_error = 0;
};

}  // namespace

Result<std::string> gifAnimation(std::span<const TimedPicture> images, int scale, std::span<const int> seams) {
  std::string gif;
  if (images.empty() || images.front().picture.width() == 0) return gif;
  const int dotSize = std::clamp(scale, kMinPngScale, kMaxPngScale);
  const int columns = images.front().picture.width();
  if (columns > kMaxGifDimension / dotSize) return Failure("cannot make the GIF: the picture is too wide");
  for (const TimedPicture& image : images) {
    if (image.picture.width() != columns) return Failure("cannot make the GIF: its pictures differ in width");
  }

  GifWriter writer(gif, dotSize, seams);
  if (writer.start(columns, images.front().picture.height())) {
    const DotPicture* before = nullptr;
    for (const TimedPicture& image : images) {
      const auto centiseconds = std::max<long long>(1, (image.shown.count() + 5) / 10);
      const int delay = static_cast<int>(std::min<long long>(centiseconds, 0xFFFF));
      if (!writer.image(image.picture, delay, changedColumns(before, image.picture))) break;
      before = &image.picture;
    }
  }
  if (auto finished = writer.finish(); !finished) return finished.error();
  return gif;
}

}  // namespace lumadot
