#pragma once

#include <concepts>
#include <ostream>
#include <string_view>

// A failing row of a table is named by its `name`, not dumped as the bytes of
// its struct. GoogleTest finds PrintTo beside the row's type, so each test file
// brings this one into the namespace its rows live in:
//   using lumadot::test::PrintTo;
namespace lumadot::test {

template <class Row>
concept NamedRow = requires(const Row& row) { row.name; };

template <NamedRow Row>
void PrintTo(const Row& row, std::ostream* out) {
  if constexpr (std::convertible_to<decltype(row.name), std::string_view>) {
    *out << std::string_view{row.name};
  } else {
    *out << row.name.toStdString();  // QString
  }
}

}  // namespace lumadot::test
