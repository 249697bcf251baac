#include "cli/sign_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>
#include <iostream>
#include <limits>
#include <optional>
#include <utility>

#include "base/file_writer.h"
#include "base/utf8_path.h"
#include "cli/console.h"
#include "cli/console_runner.h"
#include "options/command_line.h"
#include "options/panel_options.h"
#include "extract/text_codec.h"
#include "frame/frame_decoder.h"
#include "preview/gif_animation.h"
#include "preview/png_image.h"
#include "preview/terminal_picture.h"
#include "serial/line_settings.h"
#include "serial/port_names.h"
#include "serial/system_serial.h"
#include "sign/frame_report.h"
#include "sign/sign_listener.h"
#include "sign/sign_player.h"

namespace lumadot::cli {
namespace {

constexpr std::string_view kDescription =
    "Listens on a serial port as the sign's controller does and shows what the\n"
    "sign makes of each display frame that comes: one line with its width,\n"
    "speed, mode and display bytes, a warning for each field that is wrong,\n"
    "and its message drawn, played in place on a terminal until Ctrl+C.\n"
    "How the sign reads a frame: share/doc/lumadot/frame.md where Lumadot is\n"
    "installed (/usr/share/doc/lumadot/frame.md from the package), docs/frame.md\n"
    "in its source.";

constexpr std::string_view kFooter =
    "The sign takes the display bytes as 8x16 strips, lowest bit leftmost: send\n"
    "with \"字节倒序\" and \"8*16格式\" on (extract --reverse --split; the clock\n"
    "always does). A frame whose bytes stop for more than half a second before\n"
    "it is whole is reported incomplete. A panel a multiple of 32 dots wide is\n"
    "a chain of P10 modules: the PNG and the GIF draw a grey line where one\n"
    "module meets the next.\n"
    "\n"
    "Example, with two pseudo-terminals joined as a serial line:\n"
    "  socat pty,raw,echo=0,link=/tmp/pc pty,raw,echo=0,link=/tmp/sign &\n"
    "  lumadot-cli sign --device /tmp/sign --print &\n"
    "  LUMADOT_COM1=/tmp/pc lumadot-cli extract --send --reverse --split 中A\n"
    "\n"
    "Exit status: 0 stopped (--count reached, Ctrl+C), 1 the port or a file\n"
    "failed, 2 usage error.";

const std::string kLineSection = "The serial line";

struct SignOptions {
  SendRequest line;  // only the port and the line settings
  int columns = kDefaultPanelColumns;
  bool msbFirst = false;
  int count = 0;  // 0: until interrupted
  bool print = false;
  std::string png;
  std::string gif;
};

void declareOptions(CLI::App& app, SignOptions& options) {
  addPortOptions(app, options.line, kLineSection);
  addPanelColumnsOption(app, options.columns);
  app.add_flag("--msb-first", options.msbFirst, "a sign that takes the highest bit of a byte as its\nleftmost dot");
  const std::string most = std::to_string(std::numeric_limits<int>::max());
  addWholeNumberOption(app, "--count", options.count, 1, std::numeric_limits<int>::max(),
                              "stop after N frames, whole or not (default: until\nCtrl+C)",
                              [most](const std::string& given) {
                                return "--count takes a whole number from 1 to " + most + ", not '" + given + "'";
                              });
  CLI::Option* print = app.add_flag("--print", options.print, "draw each whole frame's message: █ lit, · dark");
  CLI::Option* png = app.add_option("--png", options.png, "write the last whole frame's message to FILE as a PNG");
  CLI::Option* gif = app.add_option("--gif", options.gif,
                                    "write one cycle of the last whole frame's effect, at\n"
                                    "its pace, to FILE as an animated GIF");
  png->type_name("FILE")->excludes(print);
  gif->type_name("FILE")->excludes(print)->excludes(png);
}

using SteadyClock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// What happens to each frame, and the panel played in place on a terminal.
class SignConsole {
 public:
  SignConsole(const SignOptions& options, bool play) : m_options(options), m_play(play) {}
  ~SignConsole() {
    if (m_drawn) writeStdout("\x1b[?25h");  // the cursor, hidden while the panel plays
  }
  SignConsole(const SignConsole&) = delete;
  SignConsole& operator=(const SignConsole&) = delete;

  // False when the output or a file could not be written.
  bool show(const ReceivedFrame& frame, int number);
  // Redraws the panel playing in place, when its step has moved on.
  void tick();
  // How long until tick() has something to draw.
  milliseconds untilNextStep() const;

 private:
  bool writeFile(const SignPlayer& player, int number) const;
  std::string panelText() const;

  const SignOptions& m_options;
  bool m_play;
  std::optional<SignPlayer> m_player;  // while playing in place
  SteadyClock::time_point m_started;
  long long m_step = 0;
  bool m_drawn = false;
};

bool SignConsole::show(const ReceivedFrame& frame, int number) {
  // The panel drawn in place gives way to the new lines and is drawn again beneath them.
  std::string text = m_drawn ? "\x1b[16A\x1b[J" : "";
  for (const std::string& reported : frameLines(frame, number)) text += reported + "\n";
  bool written = true;
  if (frame.complete()) {
    SignPlayer player(frame, {m_options.columns, m_options.msbFirst});
    if (m_options.print) text += terminalPicture(player.message(), kBlockDots, 0);
    written = writeFile(player, number);
    if (m_play) {
      m_player = std::move(player);
      m_started = SteadyClock::now();
      m_step = 0;
    }
  }
  if (m_player) {
    text += (m_drawn ? "" : "\x1b[?25l") + panelText();
    m_drawn = true;
  }
  return writeStdout(text) && written;
}

// --png or --gif, replaced by each whole frame.
bool SignConsole::writeFile(const SignPlayer& player, int number) const {
  const std::string& file = m_options.png.empty() ? m_options.gif : m_options.png;
  if (file.empty()) return true;
  if (player.message().width() == 0) {
    printError("frame " + std::to_string(number) + " has no display bytes to draw; " + file + " is left as it was");
    return true;
  }
  constexpr milliseconds kShortestGifImage{20};  // browsers slow down anything shorter
  // The message's PNG is marked where it meets the seams when it stands still on the panel.
  const std::vector<int> seams = moduleSeams(m_options.columns);
  const Result<std::string> image = m_options.png.empty()
                                        ? gifAnimation(effectCycle(player, kShortestGifImage), kDefaultPngScale, seams)
                                        : pngImage(player.message(), kDefaultPngScale, seams);
  if (!image) {
    printError(image.error().text);
    return false;
  }
  if (const auto written = replaceFile(pathFromUtf8(file), *image); !written) {
    printError(written.error().text + ": " + written.error().detail);
    return false;
  }
  return true;
}

std::string SignConsole::panelText() const {
  const DotPicture panel = m_player->panel(m_step);
  // A panel wider than the terminal would wrap and break the drawing in place.
  const int shown = std::min(panel.width(), terminalColumns());
  std::vector<std::uint16_t> columns(static_cast<std::size_t>(shown));
  for (int x = 0; x < shown; ++x) columns[static_cast<std::size_t>(x)] = panel.column(x);
  return terminalPicture(DotPicture(std::move(columns)), kBlockDots, 0);
}

void SignConsole::tick() {
  if (!m_player) return;
  const long long step = m_player->stepAt(SteadyClock::now() - m_started);
  if (step == m_step) return;
  m_step = step;
  writeStdout("\x1b[16A" + panelText());
}

milliseconds SignConsole::untilNextStep() const {
  if (!m_player || m_player->steps() == 1) return milliseconds::max();
  const auto next = m_started + m_player->stepTime() * (m_step + 1);
  return std::max(milliseconds(1), std::chrono::ceil<milliseconds>(next - SteadyClock::now()));
}

// Reads the line until --count frames have come or Ctrl+C; a frame cut off
// by Ctrl+C or by the port going away is still reported.
int listen(SerialReceiver& receiver, SignConsole& console, int count) {
  const InterruptCatcher interrupts;
  SignListener listener;
  bool written = true;
  const auto showFrames = [&] {
    for (const HeardFrame& heard : listener.takeFrames()) {
      if (count == 0 || heard.number <= count) written = console.show(heard.frame, heard.number) && written;
    }
  };
  constexpr milliseconds kNap{100};  // Ctrl+C is noticed within this
  while (!InterruptCatcher::caught() && (count == 0 || listener.heard() < count)) {
    const auto listened = listener.listen(receiver, std::min(kNap, console.untilNextStep()));
    showFrames();
    if (!listened) {
      printError(listened.error().text);
      return kExitFailed;
    }
    console.tick();
  }
  listener.finish();
  showFrames();
  return written ? kExitCompleted : kExitFailed;
}

int runSign(const CommandLine& line, const SignOptions& options, Reach reach) {
  // Each frame's lines go to standard output, whatever file the picture goes to.
  for (const auto& [option, file] : {std::pair{"--png", &options.png}, std::pair{"--gif", &options.gif}}) {
    if (auto apart = checkNotStandardOutput(option, *file); !apart) return line.usageError(apart.error().text);
  }
  if (reach == Reach::checkOptions) return kExitCompleted;
  const SendRequest& request = options.line;

  SystemSerialReceiver receiver;
  const auto opened = receiver.openPort(request.port, request.line);
  if (!opened) {
    printError(opened.error().text);
    return kExitFailed;
  }
  std::cerr << "Listening on " << receiver.name() << " at " << utf16ToUtf8(settingsText(request.line)) << "; Ctrl+C stops.\n";
  const bool play = !options.print && options.png.empty() && options.gif.empty() && isTerminal(stdout);
  SignConsole console(options, play);
  return listen(receiver, console, options.count);
}

}  // namespace

int runSignCommand(const std::vector<std::string>& args, Reach reach) {
  CommandLine line("lumadot-cli sign", std::string(kDescription), std::string(kFooter));
  SignOptions options;
  declareOptions(line.app(), options);
  if (const auto exit = line.parse(args)) return *exit;
  return runSign(line, options, reach);
}

}  // namespace lumadot::cli
