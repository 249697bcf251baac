#pragma once

#include <QMainWindow>
#include <QString>
#include <filesystem>
#include <memory>

#include "widgets/message_presenter.h"
#include "workbench/workbench_command_line.h"
#include "workbench/workbench_run.h"

namespace Ui {
class WorkbenchWindow;
}

namespace lumadot {

struct SavedControls;

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
  void showSourceControls();
  void showSaveEncoding(SourceEncoding encoding);
  void showSettings(const WorkbenchSettings& shown, const SendBoxes& sign);
  void showSaved(const SavedControls& saved);
  SavedControls saved() const;
  void openTextFile();
  void openPictureFile(const QString& path);
  void detectLayout();
  void save();
  void controlsChanged();
  void showOutput(WorkbenchOutput output);
  void showLacking();
  Result<std::vector<GlyphPicture>> ourGlyphs(const std::u16string& characters) const;

  std::unique_ptr<Ui::WorkbenchWindow> m_ui;
  std::filesystem::path m_programDir;
  std::shared_ptr<const GreyPicture> m_picture;
  Workbench m_workbench;  // touched only by the one run on its way
  struct Runs;
  std::unique_ptr<Runs> m_runs;  // after m_workbench, so the run on its way ends first
  WorkbenchSettings m_shown;
  WorkbenchOutput m_output;
  bool m_filling = false;  // controls being set, not changed by the user
  MessagePresenter m_messages;
};

}  // namespace lumadot
