#pragma once

// The output options extract and the commands built like it share: --format,
// --name and --table, read once into the format and its source names, and
// --no-credit and --output-encoding, read into the core's SourceOptions.

#include <string>
#include <string_view>

#include "base/result.h"
#include "formats/output_format.h"

namespace CLI {
class App;
}  // namespace CLI

namespace lumadot {

struct FormatOptions {
  OutputFormat format = OutputFormat::listing;
  std::string prefix;  // --name; empty when not given
  bool table = false;
  bool noCredit = false;                            // --no-credit
  SourceEncoding encoding = SourceEncoding::utf8;  // --output-encoding
};

// The format, names and source options the options ask for, or why they do not fit together.
struct Output {
  OutputFormat format = OutputFormat::listing;
  SourceNames names;
  SourceOptions source;  // its encoding also the listing's
  std::string note;      // what to say before the run, or empty
};

// Whether a command writes a format.
using FormatFilter = bool (*)(OutputFormat);

// What a command offers of the output options: extract's all, by default.
struct FormatOffer {
  FormatFilter formats = nullptr;  // the formats --format takes; null: every one
  bool table = true;               // --table
  std::string_view nameHelp = "label glyph k PREFIX_k in a source format (default ZI)";
};

// --format, --name and --table, as far as `offer` goes.
void addFormatOptions(CLI::App& app, FormatOptions& options, const FormatOffer& offer = {});
// --no-credit and --output-encoding, for a command that writes source (the
// workbench's command line sets its two controls from them).
void addSourceOptions(CLI::App& app, FormatOptions& options);

// The output the options ask for, wherever it goes.
Result<Output> outputAsked(const FormatOptions& options);
}  // namespace lumadot
