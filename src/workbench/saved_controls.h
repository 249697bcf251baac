#pragma once

// The workbench's controls as they are kept between runs, by what they mean:
// a format by its name ("c51"), a scan by its name ("columns"), a font by its
// size and grid or its file, never by where a box lists them, so a box that
// gains or reorders items still gives back what was chosen.

#include <QString>
#include <optional>

#include "extract/byte_layout.h"
#include "extract/font_layout.h"
#include "formats/output_format.h"
#include "formats/source_options.h"

class QSettings;

namespace lumadot {

// The font box's choice: the built font files of a size and grid, or a font file drawn from.
struct SavedFont {
  bool drawn = false;
  CellSize cell{};                    // built
  Charset charset = Charset::gb2312;  // built
  QString file;                       // drawn
  int face = 0;                       // drawn: the face of a collection

  friend bool operator==(const SavedFont&, const SavedFont&) = default;
};

struct SavedControls {
  QString text;
  std::optional<SavedFont> font;  // none: a box with nothing chosen, the saved one stays
  QString size = QStringLiteral("16");
  ByteLayout layout;
  OutputFormat format = OutputFormat::listing;
  QString prefix = QStringLiteral("ZI");
  bool oneTable = false;
  bool noCredit = false;
  SourceEncoding encoding = SourceEncoding::utf8;
  bool subset = false;
  int zoom = 8;

  // What `settings` keep, a first start's values where they keep nothing. Values kept by an earlier
  // version, by their place in a box, are rewritten by name first, once.
  static SavedControls load(QSettings& settings);
  void save(QSettings& settings) const;

  friend bool operator==(const SavedControls&, const SavedControls&) = default;
};

}  // namespace lumadot
