#pragma once

// The options a run that may send takes: where the fonts are, the glyph
// options, and the send boxes' options, each read once into a typed field.
// A value the window's boxes would refuse is a usage error here.

#include <string>

#include "base/result.h"
#include "fonts/run_fonts.h"
#include "serial/send_request.h"

namespace CLI {
class App;
}  // namespace CLI

namespace lumadot {

// What --font-dir, the glyph options, --frame-out and the send options ask of a run.
struct RunSettings {
  std::string fontDir;   // empty: looked for as locateFonts does
  FontChoice font;
  std::string frameOut;  // the file standing in for the port; empty: the port
  bool send = false;
  // The window's start texts as a request, each part replaced by its option when given.
  SendRequest request;

  bool sends() const { return send || !frameOut.empty(); }  // --frame-out implies --send
};

// --font-dir, in the section where `app` lists its own options, and the
// glyph options (--size, --font, ...) in theirs.
void addFontDirOption(CLI::App& app, RunSettings& settings);
// --port (or --device) and the line settings, straight into `request`, in `section`.
void addPortOptions(CLI::App& app, SendRequest& request, const std::string& section);
// --speed and --mode, straight into `request`, in `section`.
void addEffectOptions(CLI::App& app, SendRequest& request, const std::string& section);
// --send and the options standing for the window's send boxes, as their own section.
void addSendOptions(CLI::App& app, RunSettings& settings);

// Why the send-box options given (--port, --speed, ...) are of no use: they
// only matter when sending, and nothing is sent.
Result<void> requireSendForBoxOptions(const CLI::App& app, const RunSettings& settings);

}  // namespace lumadot
