#include "sign/sign_player.h"

#include <algorithm>

#include "extract/byte_layout.h"
#include "extract/glyph_entries.h"
#include "frame/frame_decoder.h"

namespace lumadot {
namespace {

constexpr std::size_t kStripBytes = FRAME_STRIP_BYTES;
constexpr std::chrono::milliseconds kPaceUnit{EFFECT_PACE_MS};  // a step lasts (11 - speed) of these
constexpr int kRows = DotPicture::kSignHeight;
constexpr int kFlashSteps = EFFECT_FLASH_STEPS;  // lit for the first half, dark for the second
constexpr int kVerticalSteps = EFFECT_VERTICAL_STEPS;

static_assert(kRows == FRAME_ROWS, "the panel is as high as the message's strips");

static_assert(kVerticalSteps == 2 * kRows + kVerticalStaySteps && kFlashSteps == 2 * kFlashLitSteps);

// Rows moved down (positive) or up from the message's place, at a step of moving up.
int risingOffset(int step) {
  if (step < kRows) return kRows - step;
  if (step < kRows + kVerticalStaySteps) return 0;
  return kRows + kVerticalStaySteps - step;
}

std::uint16_t shifted(std::uint16_t column, int rowsDown) {
  if (rowsDown >= kRows || rowsDown <= -kRows) return 0;
  return static_cast<std::uint16_t>(rowsDown >= 0 ? column << rowsDown : column >> -rowsDown);
}

}  // namespace

Effect effectOf(std::uint8_t mode) { return mode <= kLastMode ? static_cast<Effect>(mode) : Effect::still; }

std::chrono::milliseconds stepTimeAt(int speed) {
  return kPaceUnit * (kFastestSpeed + 1 - std::clamp(speed, kSlowestSpeed, kFastestSpeed));
}

DotPicture messagePicture(std::span<const std::uint8_t> display, bool msbFirst) {
  std::vector<GlyphEntry> strips;
  strips.reserve(display.size() / kStripBytes + 1);
  for (std::size_t at = 0; at < display.size(); at += kStripBytes) {
    strips.push_back({{}, false, display.subspan(at, std::min(kStripBytes, display.size() - at))});
  }
  return drawGlyphs(strips, ByteLayout{Scan::rows, !msbFirst, false});
}

SignPlayer::SignPlayer(const ReceivedFrame& frame, PanelSettings panel)
    : m_message(messagePicture(frame.display(), panel.msbFirst)),
      m_effect(effectOf(frame.mode().value_or(0))),
      m_speed(std::clamp<int>(frame.speed().value_or(kSlowestSpeed), kSlowestSpeed, kFastestSpeed)),
      m_columns(std::clamp(panel.columns, 1, kMaxPanelColumns)) {}

int SignPlayer::steps() const {
  switch (m_effect) {
    case Effect::still: return 1;
    case Effect::moveLeft:
    case Effect::moveRight: return m_columns + m_message.width();
    case Effect::moveUp:
    case Effect::moveDown: return kVerticalSteps;
    case Effect::flash: return kFlashSteps;
  }
  return 1;
}

std::chrono::milliseconds SignPlayer::stepTime() const { return stepTimeAt(m_speed); }

DotPicture SignPlayer::panel(long long step) const {
  const int at = static_cast<int>(((step % steps()) + steps()) % steps());
  int firstColumn = 0;  // the message column at the panel's left edge
  int rowsDown = 0;
  switch (m_effect) {
    case Effect::still: break;
    case Effect::moveLeft: firstColumn = at - m_columns; break;
    case Effect::moveRight: firstColumn = m_message.width() - at; break;
    case Effect::moveUp: rowsDown = risingOffset(at); break;
    case Effect::moveDown: rowsDown = -risingOffset(at); break;
    case Effect::flash:
      if (at >= kFlashLitSteps) return DotPicture(std::vector<std::uint16_t>(static_cast<std::size_t>(m_columns)));
      break;
  }
  std::vector<std::uint16_t> columns(static_cast<std::size_t>(m_columns));
  for (int x = 0; x < m_columns; ++x) columns[static_cast<std::size_t>(x)] = shifted(m_message.column(firstColumn + x), rowsDown);
  return DotPicture(std::move(columns));
}

long long SignPlayer::stepAt(std::chrono::nanoseconds sinceStart) const { return sinceStart / stepTime(); }

std::vector<TimedPicture> effectCycle(const SignPlayer& player, std::chrono::milliseconds shortest) {
  const auto step = player.stepTime();
  const int stride = static_cast<int>(std::max<long long>(1, (shortest + step - std::chrono::milliseconds{1}) / step));
  std::vector<TimedPicture> cycle;
  for (int at = 0; at < player.steps(); at += stride) {
    const auto shown = step * std::min(stride, player.steps() - at);
    DotPicture panel = player.panel(at);
    if (!cycle.empty() && cycle.back().picture == panel) {
      cycle.back().shown += shown;
    } else {
      cycle.push_back({std::move(panel), shown});
    }
  }
  return cycle;
}

}  // namespace lumadot
