#pragma once

// What the workbench makes of its controls, as values: the controls are read
// once into WorkbenchSettings, and one run gives the glyphs, the output box's
// text, the bytes a save writes and the characters the font lacks, each as
// the core makes it for every program. No Qt, so
// the window can run it on a worker thread and a test can hold what it gives.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/result.h"
#include "extract/byte_layout.h"
#include "extract/glyphs.h"
#include "fonts/run_fonts.h"
#include "picture/picture.h"
#include "picture/picture_dots.h"
#include "run/output_for.h"

namespace lumadot {

// A picture opened on the picture tab, decoded once, and how it becomes dots.
struct PictureChoice {
  std::shared_ptr<const GreyPicture> grey;
  DotOptions dots;

  friend bool operator==(const PictureChoice&, const PictureChoice&) = default;
};

struct WorkbenchSettings {
  std::u16string text;                   // as a text box holds it typed: CR LF between lines
  std::optional<PictureChoice> picture;  // the picture tab, instead of the text
  std::string fontDir;                   // empty: the font files beside the program
  FontChoice font;
  ByteLayout layout;
  OutputRequest output;

  friend bool operator==(const WorkbenchSettings&, const WorkbenchSettings&) = default;
};

struct WorkbenchOutput {
  std::optional<Failure> failure;  // why there is nothing to show
  Glyphs glyphs;
  RunOutput shown;                      // the output box's text, its glyphs' spans, and what a save writes
  std::vector<std::u16string> lacking;  // the text's characters the font cannot draw, each once
};

// Runs the settings, keeping the fonts it opens for the next run with the same ones.
class Workbench {
 public:
  explicit Workbench(std::filesystem::path programDir);
  ~Workbench();

  WorkbenchOutput run(const WorkbenchSettings& settings);

 private:
  RunFonts& fontsFor(const WorkbenchSettings& settings);
  Result<Glyphs> glyphsFor(const WorkbenchSettings& settings, WorkbenchOutput& output);

  std::filesystem::path m_programDir;
  std::string m_fontDir;
  FontChoice m_font;
  std::unique_ptr<RunFonts> m_fonts;
};

}  // namespace lumadot
