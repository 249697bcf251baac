#pragma once

#include <QFutureWatcher>
#include <QMainWindow>
#include <QString>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "fonts/system_fonts.h"
#include "workbench/workbench_command_line.h"
#include "widgets/message_presenter.h"
#include "workbench/workbench_run.h"

namespace Ui {
class WorkbenchWindow;
}

class QSettings;

namespace lumadot {

class DotView;
class SignBox;

// A font the font box offers: our built font files, a system font, or a file chosen.
struct FontEntry {
  enum class Kind { built, system, file } kind = Kind::built;
  CellSize cell{};  // built
  Charset charset = Charset::gb2312;
  std::string file;  // system and file
  int face = 0;
  QString label;
};

// lumadot-workbench: every control's change runs the settings on a worker
// thread and shows what comes back, so typing never waits for a long run.
class WorkbenchWindow final : public QMainWindow {
  Q_OBJECT

 public:
  explicit WorkbenchWindow(std::filesystem::path programDir, QWidget* parent = nullptr);
  ~WorkbenchWindow() override;

  // A command line's controls, all of them; none for a start without one.
  void apply(const WorkbenchStart& start);
  // The controls, read once.
  WorkbenchSettings settings() const;
  // The output shown now, and whether a run is still on its way.
  const WorkbenchOutput& output() const { return m_output; }
  bool busy() const;
  // The whole output as a save writes it, through the one file writer.
  Result<void> saveOutput(const std::filesystem::path& path) const;
  void copyOutput() const;
  void restoreDefaults();

  MessagePresenter& messages() { return m_messages; }

 signals:
  void outputShown();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void connectControls();
  void connectOutput();
  void fillChoices();
  void fillFontBox();
  void addFontEntry(const FontEntry& entry, bool select);
  void systemFontsListed();
  void fontChosen();
  void showFontControls();
  void showSourceControls();
  void showSaveEncoding(SourceEncoding encoding);
  void showSettings(const WorkbenchSettings& shown, const SendBoxes& sign);
  void applyFont(const WorkbenchSettings& asked);
  void chooseFontFile(bool ascii);
  void openTextFile();
  void openPicture();
  void openPictureFile(const QString& path);
  void detectLayout();
  void save();
  void controlsChanged();
  void startRun(const WorkbenchSettings& settings);
  void runFinished();
  void showOutput(WorkbenchOutput output);
  void showLacking();
  void pickGlyph(int index);
  void cursorMoved();
  void loadSettings();
  void saveSettings() const;
  const FontEntry* chosenFont() const;
  FontChoice fontChoice() const;
  Result<std::vector<GlyphPicture>> ourGlyphs(const std::u16string& characters) const;

  std::unique_ptr<Ui::WorkbenchWindow> m_ui;
  std::filesystem::path m_programDir;
  std::vector<FontEntry> m_fontEntries;
  std::vector<SystemFont> m_systemFonts;
  QFutureWatcher<std::vector<SystemFont>> m_fontLister;
  std::shared_ptr<const GreyPicture> m_picture;
  QString m_pictureName;
  std::string m_fontDir;

  Workbench m_workbench;  // touched only by the one run on its way
  QFutureWatcher<WorkbenchOutput> m_runner;
  bool m_running = false;  // until its output is shown
  std::optional<WorkbenchSettings> m_waiting;  // asked for while a run was on its way
  WorkbenchSettings m_shown;
  WorkbenchOutput m_output;
  std::vector<std::pair<int, int>> m_glyphSpans;  // each glyph's text in the output box
  bool m_filling = false;  // controls being set, not changed by the user
  MessagePresenter m_messages;
};

}  // namespace lumadot
