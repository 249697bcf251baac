#include "cli/clock_command.h"

#include <CLI/CLI.hpp>
#include <chrono>
#include <iostream>
#include <limits>
#include <string_view>

#include "cli/console.h"
#include "cli/console_runner.h"
#include "options/font_options.h"
#include "clock/clock_display.h"
#include "clock/system_locale.h"
#include "clock/tick_timer.h"
#include "options/command_line.h"
#include "frame/display_frame.h"

namespace lumadot::cli {
namespace {

constexpr std::string_view kDescription =
    "Turns the sign into a clock, as the desktop program's \"启动时间显示\" does.\n"
    "Every 7.8 seconds it writes today's date, the weekday and the time as one\n"
    "sentence, such as 今天是2026/12/7(星期一)现在时间14:31:57, and extracts it\n"
    "with \"字节倒序\" and \"8*16格式\" on and display speed 1, as the clock always\n"
    "does. With --send it also sends each frame to the sign.";

constexpr std::string_view kFooter =
    "Each run's listing is printed as extract prints it, followed by CR LF.\n"
    "Messages go to standard error, one line each: title, then text.\n"
    "A run that fails (the port is missing or busy, say) does not stop the\n"
    "clock. Ctrl+C stops it once the run in progress is done; a second Ctrl+C\n"
    "stops it at once.\n"
    "Exit status: 0 every run completed, 1 a run failed, 2 usage error.";

struct ClockOptions {
  int count = 0;  // 0: until interrupted
  bool quiet = false;
  std::string locale;  // empty: the system's
  RunSettings run;
};

#ifdef _WIN32
constexpr std::string_view kLocaleHelp =
    "write the date, the time and the amount sent as\n"
    "locale NAME does (zh-CN, en-US, ...); default: the\n"
    "user's, as Windows' region settings give it";
#else
constexpr std::string_view kLocaleHelp =
    "write the date, the time and the amount sent as\n"
    "locale NAME does (zh_CN, en_US, ...); default: the\n"
    "system's (LC_ALL, LC_TIME, LANG), or zh_CN's where\n"
    "that is C or POSIX";
#endif

CLI::Validator localeCheck() {
  return CLI::Validator(
      [](std::string& name) {
        return knownLocale(name) ? std::string() : "unknown locale '" + name + "'; try zh_CN or en_US";
      },
      "");
}

void declareOptions(CommandLine& line, ClockOptions& options) {
  CLI::App& app = line.app();
  const std::string most = std::to_string(std::numeric_limits<int>::max());
  addWholeNumberOption(app, "--count", options.count, 1, std::numeric_limits<int>::max(),
                              "stop after N runs (default: run until interrupted)", [most](const std::string& given) {
                                return "--count takes a whole number from 1 to " + most + ", not '" + given + "'";
                              });
  app.add_flag("--quiet", options.quiet, "print no listings, only the messages");
  app.add_option("--locale", options.locale, std::string(kLocaleHelp))
      ->type_name("NAME")
      ->check(localeCheck());
  addFontDirOption(app, options.run);
  addSendOptions(app, options.run);
  // The clock fixes what extract leaves to these, and writes its own text.
  app.remove_option(app.get_option("--speed"));  // one of the send boxes, but not the clock's
  for (const char* fixed : {"--speed", "--reverse", "--split"}) {
    line.refuse(fixed, "the clock always extracts with --reverse and --split, and sends at speed 1");
  }
  line.refuseArguments("clock takes no TEXT: it writes its own sentence");
}

// The window's controls as plain fields; each run reads them as the
// window's run reads its boxes.
class ConsoleClock final : public ClockControls {
 public:
  ConsoleClock(ConsoleRunner& runner, SendRequest request, bool sends, bool quiet)
      : m_runner(runner), m_request(std::move(request)), m_sends(sends), m_quiet(quiet) {}

  // The clock runs from the first run to the last: there is no button to caption.
  void showRunning(bool /*running*/) override {}
  void startTimer(std::chrono::milliseconds interval) override { m_timer.start(interval); }
  void stopTimer() override { m_timer.stop(); }
  // The clock's speeds are the box's own texts, each with its byte.
  void setSpeed(std::u16string_view text) override { m_request.speed = speedByte(text).value_or(m_request.speed); }
  void setReverse(bool on) override { m_layout.lsbFirst = on; }
  void setSplit(bool on) override { m_layout.scan = windowLayout(false, on).scan; }
  std::u16string inputText() const override { return m_text; }
  void setInputText(std::u16string_view text) override { m_text = text; }
  // The loop below waits for each run before the next tick.
  bool runInProgress() const override { return false; }
  void runExtraction() override;

  // Sleeps until the next tick; false when interrupted first.
  bool waitForTick() { return m_timer.waitForTick([] { return InterruptCatcher::caught(); }); }

  bool anyRunFailed() const { return m_failedRuns > 0; }
  bool outputBroken() const { return m_outputBroken; }

 private:
  ConsoleRunner& m_runner;
  SendRequest m_request;
  bool m_sends;
  bool m_quiet;
  ByteLayout m_layout;
  std::u16string m_text;
  TickTimer m_timer;
  int m_failedRuns = 0;
  bool m_outputBroken = false;
};

void ConsoleClock::runExtraction() {
  const auto outcome = m_runner.run(m_text, m_layout, m_sends ? &m_request : nullptr, !m_quiet, "\r\n");
  if (!outcome.completed) ++m_failedRuns;
  if (!outcome.listingWritten) m_outputBroken = true;
  // Ticks that fell due while this run was sending are skipped, as in the window.
  m_timer.dropOverdueTicks();
}

int runClock(CommandLine& line, const ClockOptions& options, Reach reach) {
  if (auto used = requireSendForBoxOptions(line.app(), options.run); !used) return line.usageError(used.error().text);
  if (const std::string refusal = signRefusal(options.run.font); !refusal.empty()) return line.usageError(refusal);
  if (auto apart = checkNotStandardOutput("--frame-out", options.quiet ? "" : options.run.frameOut); !apart) {
    return line.usageError(apart.error().text);
  }
  if (reach == Reach::checkOptions) return kExitCompleted;
  const ClockLocale locale = options.locale.empty() ? ClockLocale::system() : ClockLocale::named(options.locale);

  ConsoleRunner runner(options.run, decimalSeparator(locale));
  ConsoleClock controls(runner, options.run.request, options.run.sends(), options.quiet);
  ClockDisplay clock(controls, [&locale] { return readClock(locale, currentMoment()); });

  const InterruptCatcher interrupts;
  clock.startOrStop();
  for (int runs = 1; (options.count == 0 || runs < options.count) && !controls.outputBroken() && controls.waitForTick(); ++runs) {
    clock.tick();
  }
  return controls.anyRunFailed() || controls.outputBroken() ? kExitFailed : kExitCompleted;
}

}  // namespace

int runClockCommand(const std::vector<std::string>& args, Reach reach) {
  CommandLine line("lumadot-cli clock", std::string(kDescription), std::string(kFooter));
  ClockOptions options;
  declareOptions(line, options);
  if (const auto exit = line.parse(args)) return *exit;
  return runClock(line, options, reach);
}

}  // namespace lumadot::cli
