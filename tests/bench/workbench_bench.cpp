// The workbench as the user types: a key pressed in a 500-character text,
// until the dots and the output box show the new run, and the system's fonts
// listed on their worker thread while the window goes on.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "fonts/system_fonts.h"
#include "workbench/dot_view.h"
#include "workbench/workbench_window.h"

namespace lumadot {
namespace {

std::unique_ptr<WorkbenchWindow> openWindow(const QString& text) {
  auto window = std::make_unique<WorkbenchWindow>(LUMADOT_BIN_DIR);
  window->show();
  window->findChild<QPlainTextEdit*>(QStringLiteral("textBox"))->setPlainText(text);
  while (window->busy()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  return window;
}

// From the key to the repainted picture: the run on its worker thread, the output box, the dots.
void BM_KeyPressIn500Characters(benchmark::State& state) {
  QString text;
  for (int i = 0; i < 50; ++i) text += QStringLiteral("欢迎光临 Hello");  // 10 characters
  auto window = openWindow(text);
  auto* box = window->findChild<QPlainTextEdit*>(QStringLiteral("textBox"));
  auto* dots = window->findChild<DotView*>(QStringLiteral("dotView"));
  box->moveCursor(QTextCursor::End);
  QSignalSpy shown(window.get(), &WorkbenchWindow::outputShown);
  bool typed = false;  // type a letter, then take it back, so the text stays 500 characters long
  for (auto _ : state) {
    QTest::keyClick(box, typed ? Qt::Key_Backspace : Qt::Key_A);
    typed = !typed;
    while (window->busy()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    dots->repaint();
  }
  state.counters["glyphs"] = static_cast<double>(window->output().glyphs.glyphs.size());
}
BENCHMARK(BM_KeyPressIn500Characters)->Unit(benchmark::kMillisecond);

// The fonts of this machine, as the font box gets them once the window is up.
void BM_ListSystemFonts(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(systemFonts());
  state.counters["fonts"] = static_cast<double>(systemFonts().size());
}
BENCHMARK(BM_ListSystemFonts)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumadot

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
