#pragma once

// The one way anything in Lumadot fails: a Result holds the value it was
// asked to make, or the Failure that kept it from being made. Modelled on
// std::expected (C++23), which neither our C++20 build nor clang's fuzzing
// build can use yet, so moving to it later is a rename.

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace lumadot {

// Why something could not be done, in the words the person who asked reads.
struct Failure {
  explicit Failure(std::string what, std::string cause = {}) : text(std::move(what)), detail(std::move(cause)) {}

  std::string text;    // UTF-8: what failed, naming the file, port or option
  std::string detail;  // the cause beneath it as the system gave it, or empty

  friend bool operator==(const Failure&, const Failure&) = default;
};

template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : m_state(std::in_place_index<0>, std::move(value)) {}  // NOLINT: implicit by design
  Result(Failure failure) : m_state(std::in_place_index<1>, std::move(failure)) {}  // NOLINT

  bool has_value() const { return m_state.index() == 0; }
  explicit operator bool() const { return has_value(); }

  // Asking a Result for what it does not hold throws std::bad_variant_access.
  T& value() & { return std::get<0>(m_state); }
  const T& value() const& { return std::get<0>(m_state); }
  T&& value() && { return std::get<0>(std::move(m_state)); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  const Failure& error() const { return std::get<1>(m_state); }

 private:
  std::variant<T, Failure> m_state;
};

// Done, or the Failure that stopped it.
template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Failure failure) : m_failure(std::move(failure)) {}  // NOLINT: implicit by design

  bool has_value() const { return !m_failure; }
  explicit operator bool() const { return has_value(); }
  const Failure& error() const { return m_failure.value(); }

 private:
  std::optional<Failure> m_failure;
};

}  // namespace lumadot
