#pragma once

// The workbench's font controls: the font box (our built font files, the
// system's fonts once listed, files chosen), the single-byte font, the size
// and a collection's face, read together into one FontChoice.

#include <QFutureWatcher>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "fonts/run_fonts.h"
#include "fonts/system_fonts.h"

class QComboBox;
class QSpinBox;

namespace lumadot {

struct SavedFont;

// A font the font box offers: our built font files, a system font, or a file chosen.
struct FontEntry {
  enum class Kind { built, system, file } kind = Kind::built;
  CellSize cell{};  // built
  Charset charset = Charset::gb2312;
  std::string file;  // system and file
  int face = 0;
  QString label;
};

class FontBox final : public QWidget {
  Q_OBJECT

 public:
  explicit FontBox(QWidget* parent = nullptr);
  ~FontBox() override;  // waits for the system fonts' listing

  // Offers the built font files found beside `programDir` and starts listing the system's fonts.
  void start(std::filesystem::path programDir);

  FontChoice choice() const;
  const std::string& fontDir() const { return m_fontDir; }
  QString sizeText() const;
  // The size typed when it is one the font is drawn at and names no size.
  std::optional<QString> badSize() const;

  // The font a command line names: a file drawn at its size, or the built font files of a size and grid in
  // `fontDir` (offered even when not built, so the run says which file is missing).
  void showChoice(const std::string& fontDir, const FontChoice& font);
  std::optional<SavedFont> saved() const;  // none while nothing is chosen
  void showSaved(const SavedFont& font, const QString& size);

  // The chosen font taken up as if the user had chosen it: a file asked for when it is "other file".
  void fontChosen();

 signals:
  void changed();
  void systemFontsListed(int count);

 private:
  void fillFontBox();
  void addFontEntry(const FontEntry& entry, bool select);
  void listed();
  void showFontControls();
  void chooseFontFile(bool ascii);
  const FontEntry* chosenFont() const;
  void changedByUser();

  QComboBox* m_fontBox;
  QComboBox* m_asciiFontBox;
  QComboBox* m_sizeBox;
  QSpinBox* m_faceBox;
  std::filesystem::path m_programDir;
  std::string m_fontDir;
  std::vector<FontEntry> m_fontEntries;
  std::vector<SystemFont> m_systemFonts;
  QFutureWatcher<std::vector<SystemFont>> m_lister;
  bool m_filling = false;  // boxes being set, not changed by the user
};

}  // namespace lumadot
