#include "options/format_options.h"

#include <CLI/CLI.hpp>
#include <map>
#include <string_view>
#include <vector>

#include "options/command_line.h"

namespace lumadot {
namespace {

struct FormatChoice {
  OutputFormat format;
  std::string_view help;  // a second line starts under the first
};

constexpr FormatChoice kFormats[] = {
    {OutputFormat::listing, "the result box's text"},
    {OutputFormat::a51, "assembler source for Keil A51 (DB 0F8H)"},
    {OutputFormat::as31, "assembler source for as31 (.db 0F8H)"},
    {OutputFormat::sdas, "assembler source for SDCC's sdas8051\n           (.db 0xF8, in area CSEG)"},
    {OutputFormat::c51, "C arrays in code memory for Keil C51 (code)"},
    {OutputFormat::sdcc, "C arrays in code memory for SDCC (__code)"},
    {OutputFormat::bin, "the glyph bytes, raw"},
    {OutputFormat::hex, "the glyph bytes as Intel HEX from address 0"},
};

// "a, b or c"
std::string nameList(const std::vector<std::string>& names) {
  std::string list;
  for (std::size_t i = 0; i < names.size(); ++i) list += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
  return list;
}

void addFormatOption(CLI::App& app, OutputFormat& format, FormatFilter offered) {
  std::string help = "what to print (default " + std::string(formatName(format)) + "):\n";
  std::vector<std::string> names;
  std::map<std::string, OutputFormat> formats;
  for (const auto& [choice, text] : kFormats) {
    if (offered && !offered(choice)) continue;
    names.emplace_back(formatName(choice));
    formats.emplace(names.back(), choice);
    help += "  " + names.back() + std::string(9 - names.back().size(), ' ') + std::string(text) + "\n";
  }
  if (offered) {
    help.pop_back();
  } else {
    help +=
        "Every format holds the bytes of the listing, in the\n"
        "layout asked for. A format other than the listing\n"
        "is printed only when the run completes.";
  }
  app.add_option("--format", format, help)
      ->type_name("FORMAT")
      // One transform, so the name is checked before it becomes the format's number.
      ->transform(inOurWords(CLI::IsMember(names) & CLI::Transformer(formats),
                                    [list = nameList(names)](const std::string& name) {
                                      return "unknown format '" + name + "'; choose " + list;
                                    }));
}

CLI::Validator prefixCheck() {
  return CLI::Validator(
      [](std::string& prefix) {
        const auto checked = checkPrefix(prefix);
        return checked ? std::string() : "--name " + prefix + ": " + checked.error().text;
      },
      "");
}

}  // namespace

void addSourceOptions(CLI::App& app, FormatOptions& options) {
  app.add_flag("--no-credit", options.noCredit,
               "leave the credit lines out of a source format (the\nlisting keeps them, as the result box shows them)");
  app.add_option_function<std::string>(
         "--output-encoding", [&options](const std::string& name) { options.encoding = *sourceEncodingNamed(name); },
         "the encoding of the comments of a source format and of\n"
         "the listing: utf-8 (default; SDCC, as31, modern editors)\n"
         "or gbk, code page 936 (Keil on a Chinese Windows); a\n"
         "character GBK cannot hold is written U+XXXX")
      ->type_name("NAME")
      ->check(CLI::Validator(
          [](std::string& name) {
            return sourceEncodingNamed(name) ? std::string()
                                             : "--output-encoding takes " + std::string(sourceEncodingNameList()) +
                                                   ", not '" + name + "'";
          },
          ""));
}

void addFormatOptions(CLI::App& app, FormatOptions& options, const FormatOffer& offer) {
  addFormatOption(app, options.format, offer.formats);
  app.add_option("--name", options.prefix, std::string(offer.nameHelp))
      ->type_name("PREFIX")
      ->check(prefixCheck());
  if (offer.table) app.add_flag("--table", options.table, "c51 and sdcc: one array PREFIX holding every glyph");
}

Result<Output> outputAsked(const FormatOptions& options) {
  Output output;
  output.format = options.format;
  if (!options.prefix.empty()) {
    if (!hasLabels(output.format)) return Failure("--name goes with --format a51, as31, sdas, c51 or sdcc");
    output.names.prefix = options.prefix;
  }
  if (options.table) {
    if (!canMakeTable(output.format)) return Failure("--table goes with --format c51 or sdcc");
    output.names.oneTable = true;
  }
  if (options.noCredit && output.format == OutputFormat::listing) {
    return Failure("--no-credit goes with a source format (--format a51, as31, sdas, c51 or sdcc): the listing keeps "
                   "its credit lines, as the result box shows them");
  }
  output.source = {!options.noCredit, options.encoding};
  const bool changes = options.noCredit || options.encoding != SourceEncoding::utf8;
  if (changes && (output.format == OutputFormat::bin || output.format == OutputFormat::hex)) {
    output.note = "note: --format " + std::string(formatName(output.format)) +
                  " holds no text, so --no-credit and --output-encoding leave it as it is";
  }
  return output;
}

}  // namespace lumadot
