#pragma once

// The one way our window programs read their command line: before the
// window system is touched, so that --help, --version and a usage error are
// answered on a machine with no display, and starting the window there ends
// with one line saying why rather than Qt's abort. Each program declares its
// own options and reads them as it words them; this decides when, and what
// comes of it.

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QCommandLineParser;
class QString;

namespace lumadot {

// Whether Qt has a window system to try. Where none is named, Qt aborts while making the QApplication, so
// this is decided from the environment alone. Windows and macOS always have theirs.
bool windowSystemNamed(int argc, char** argv);

// The arguments after the program's name, without Qt's own that take a value (-platform offscreen,
// -style fusion ...), which QApplication takes.
std::vector<std::string> ourArguments(int argc, char** argv);

// A program's options read from `ours` (ourArguments): the exit status to end with at once, once --help,
// --version or a usage error is answered; nothing to go on to the window. With `windowSystem` a program may
// leave a line it cannot judge to be judged once QApplication has taken out Qt's own options.
using ReadOptions = std::function<std::optional<int>(const std::vector<std::string>& ours, bool windowSystem)>;

// Reads the command line through `read`, then, with no window system named, ends saying so and naming
// `worksWithout`, what to use instead. The exit status to end with, or nothing: the caller makes its
// QApplication.
std::optional<int> readCommandLineBeforeWindow(int argc, char** argv, const QString& worksWithout,
                                               const ReadOptions& read);

// Options declared on `parser`, worded as Qt words them; it exits itself, as QCommandLineParser::process
// does, after --help, --version and a usage error. With a window system named, a line the parser refuses
// may only hold Qt's own options: the caller calls parser.process(app) once it has its QApplication.
ReadOptions qtParserOptions(QCommandLineParser& parser, int& argc, char** argv);

}  // namespace lumadot
