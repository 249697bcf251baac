#include "options/text_options.h"

#include <CLI/CLI.hpp>
#include <cctype>
#include <cstdio>

#include "base/file_reader.h"

namespace lumadot {
namespace {

std::string upperCase(std::string_view name) {
  std::string upper(name);
  for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return upper;
}

std::string decodeFailureText(const std::string& source, const DecodeFailure& failure) {
  const std::string encoding = upperCase(encodingName(failure.encoding));
  const std::string offset = " at offset " + std::to_string(failure.offset);
  std::string text;
  if (failure.nul) {
    text = source + " holds a NUL" + offset +
           (failure.encoding == TextEncoding::utf8 ? "" : " read as " + encoding) + ", which no typed text holds";
  } else {
    char byte[8];
    std::snprintf(byte, sizeof byte, "0x%02X", failure.byte);
    text = source + " is not valid " + encoding + ": byte " + byte + offset;
  }
  if (failure.likely) {
    text += "; it reads as " + upperCase(encodingName(*failure.likely)) + ": add --encoding " +
            std::string(encodingName(*failure.likely));
  }
  return text + "; nothing was extracted";
}

}  // namespace

void addTextOptions(CLI::App& app, TextInput& input, const std::string& help) {
  CLI::Option* text = app.add_option("TEXT", input.texts, help);
  app.add_option("--text-file", input.file, "read the text from FILE instead of standard input")
      ->type_name("FILE")
      ->excludes(text);
  addEncodingOption(app, input.encoding, "the text file or standard input");
}

void addEncodingOption(CLI::App& app, std::optional<TextEncoding>& encoding, const std::string& read) {
  app.add_option_function<std::string>(
         "--encoding", [&encoding](const std::string& name) { encoding = encodingNamed(name); },
         "the encoding of " + read + ":\n" + std::string(encodingNameList()) +
             "\n(default: utf-8, or utf-16 after its byte order mark)")
      ->type_name("NAME")
      ->check(CLI::Validator(
          [](std::string& name) {
            return encodingNamed(name) ? std::string()
                                       : "unknown encoding '" + name + "'; choose " + std::string(encodingNameList());
          },
          ""));
}

Result<std::optional<std::string>> givenText(const TextInput& input) {
  if (!input.texts.empty()) return std::optional<std::string>(input.texts.front());
  if (input.file.empty()) return std::optional<std::string>();
  const auto bytes = readWholeFile(input.file, kMaxTextBytes);
  if (!bytes) return bytes.error();
  auto decoded = decodedText(*bytes, input.file, input.encoding);
  if (!decoded) return decoded.error();
  return std::optional<std::string>(typedText(*decoded));
}

Result<std::string> decodedText(std::string_view bytes, const std::string& source,
                                std::optional<TextEncoding> encoding) {
  auto decoded = decodeText(bytes, encoding);
  if (const auto* failure = std::get_if<DecodeFailure>(&decoded)) return Failure(decodeFailureText(source, *failure));
  return std::get<std::string>(std::move(decoded));
}

std::string typedText(std::string_view piped) {
  std::string typed;
  typed.reserve(piped.size() + piped.size() / 8);
  for (std::size_t i = 0; i < piped.size(); ++i) {
    if (piped[i] == '\n' && (i == 0 || piped[i - 1] != '\r')) typed += '\r';
    typed += piped[i];
  }
  return typed;
}

}  // namespace lumadot
