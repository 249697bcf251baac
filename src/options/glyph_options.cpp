#include "options/glyph_options.h"

#include <CLI/CLI.hpp>

#include "options/command_line.h"

namespace lumadot {

CLI::Option* addSizeOption(CLI::App& app, CellSize& cell, const std::string& help) {
  return app
      .add_option_function<std::string>(
          "--size", [&cell](const std::string& text) { cell = CellSize::named(text).value_or(CellSize{}); }, help)
      ->type_name("N|WxH")
      ->check(CLI::Validator(
          [](std::string& text) {
            return CellSize::named(text) ? std::string()
                                         : "--size takes N or WxH, each from 8 to 64, not '" + text + "'";
          },
          ""));
}

CLI::Option* addCharsetOption(CLI::App& app, Charset& charset, const std::string& help) {
  return app
      .add_option_function<std::string>(
          "--charset", [&charset](const std::string& name) { charset = charsetNamed(name).value_or(Charset::gb2312); },
          help)
      ->type_name("gb2312|gbk")
      ->check(inOurWords(CLI::IsMember({"gb2312", "gbk"}), [](const std::string& name) {
        return "unknown charset '" + name + "'; choose gb2312 or gbk";
      }));
}

}  // namespace lumadot
