#include "workbench/workbench_run.h"

#include "extract/text_codec.h"
#include "picture/picture_glyphs.h"
#include "run/undrawn_report.h"

namespace lumadot {

Workbench::Workbench(std::filesystem::path programDir) : m_programDir(std::move(programDir)) {}
Workbench::~Workbench() = default;

RunFonts& Workbench::fontsFor(const WorkbenchSettings& settings) {
  if (!m_fonts || m_fontDir != settings.fontDir || !(m_font == settings.font)) {
    m_fonts = std::make_unique<RunFonts>(settings.fontDir, settings.font, m_programDir);
    m_fontDir = settings.fontDir;
    m_font = settings.font;
  }
  return *m_fonts;
}

// The picture's glyphs, or the text's, noting what the font lacks.
Result<Glyphs> Workbench::glyphsFor(const WorkbenchSettings& settings, WorkbenchOutput& output) {
  if (settings.picture) {
    return pictureGlyphs(pictureDots(*settings.picture->grey, settings.picture->dots), settings.layout);
  }
  RunFonts& fonts = fontsFor(settings);
  if (fonts.failure()) return *fonts.failure();
  Result<Glyphs> glyphs = lookUp(settings.text, settings.layout, fonts.source());
  output.lacking = undrawnReport(settings.text, fonts).each();
  return glyphs;
}

WorkbenchOutput Workbench::run(const WorkbenchSettings& settings) {
  WorkbenchOutput output;
  if (auto problem = outputProblem(settings.output)) {
    output.failure = Failure(*problem);
    return output;
  }
  Result<Glyphs> glyphs = glyphsFor(settings, output);
  if (!glyphs) {
    output.failure = glyphs.error();
    return output;
  }
  output.glyphs = std::move(*glyphs);
  std::vector<char32_t> lacking;
  for (const std::u16string& c : output.lacking) lacking.push_back(characterAt(c, 0));
  output.shown = outputFor(output.glyphs, settings.output, lacking);
  return output;
}

}  // namespace lumadot
