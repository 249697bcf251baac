#pragma once

class QCommandLineParser;
class QString;

namespace lumadot {

// Whether Qt has a window system to try. Where none is named, Qt aborts while making the QApplication, so
// this is decided from the environment alone. Windows and macOS always have theirs.
bool windowSystemNamed(int argc, char** argv);

// Reads a window program's command line before the window system is touched, so that --help, --version and a
// usage error are answered on a machine with no display, and starting the window there ends with one line
// saying why (naming `worksWithout`, what to use instead) rather than Qt's abort. Returns false when the
// program is to exit 1; exits itself, as QCommandLineParser::process does, on those options and errors.
// When it returns true the caller makes its QApplication and calls parser.process(app) as before: only then
// are Qt's own options (-style, -geometry) taken out, so a line with them is judged there.
bool readCommandLineBeforeWindow(int& argc, char** argv, QCommandLineParser& parser, const QString& worksWithout);

}  // namespace lumadot
