#pragma once

// The one way anything in Lumadot fails: a Result holds the value it was
// asked to make, or the Failure that kept it from being made. Modelled on
// std::expected (C++23), which neither our C++20 build nor clang's fuzzing
// build can use yet, so moving to it later is a rename.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace lumadot {

// What failed, from a small closed set, so that each window can say it in
// its own language (see Failure). `subject` is what the kind names.
enum class FailureKind : std::uint8_t {
  worded,        // only the text says what failed
  sendPort,      // the port `subject` (as the user named it) took no frame
  listenPort,    // the port `subject` could not be listened on
  portLost,      // the port `subject` went away while it was listened on
  portName,      // `subject`, a port box's text, names no port
  lineSettings,  // `subject`, the line settings' text, are refused
  speedBox,      // `subject`, the speed box's text, is no speed
  modeBox,       // `subject`, the mode box's text, is no mode
  fileWrite,     // the file `subject` could not be written
  pictureRead,   // the picture `subject` could not be read
  textTooLong,   // the glyphs pass one run's bytes
};

// What sort of thing failed, from a smaller closed set than FailureKind: how
// lumadot-cli ends and how a window's box looks follow from it, not from the
// call that failed.
enum class FailureCategory : std::uint8_t {
  usage,     // asked for what cannot be done as asked: options or settings that do not go together
  input,     // the text, the bytes or a box's value
  font,      // a font that cannot be read
  file,      // a file that cannot be read or written
  port,      // the serial port
  tooLarge,  // more than one run or one frame holds
};

// The category each kind falls in; a worded failure is the input's unless told otherwise.
inline constexpr FailureCategory categoryOf(FailureKind kind) {
  switch (kind) {
    case FailureKind::sendPort:
    case FailureKind::listenPort:
    case FailureKind::portLost:
    case FailureKind::portName:
    case FailureKind::lineSettings: return FailureCategory::port;
    case FailureKind::fileWrite:
    case FailureKind::pictureRead: return FailureCategory::file;
    case FailureKind::textTooLong: return FailureCategory::tooLarge;
    case FailureKind::worded:
    case FailureKind::speedBox:
    case FailureKind::modeBox: break;
  }
  return FailureCategory::input;
}

// How a command-line program ends on a failure of `category`: 2 when it was
// asked wrongly, 1 when what was asked could not be done.
inline constexpr int exitStatus(FailureCategory category) { return category == FailureCategory::usage ? 2 : 1; }

// Why it failed, beneath what failed, from a small closed set.
enum class CauseKind : std::uint8_t {
  worded,          // only the detail says why
  system,          // the system refused: errno `numbers[0]`, or 0 with the system's own words in `words`
  portInUse,       // another program has the port
  portGroup,       // the port is for root and its group only; `words`: the system's
  notPortName,     // `words`, a port box's text, names no port
  baud,            // `words`: the baud rate refused
  parity,          // `words`: the parity refused
  dataBits,        // `words`: the data bits refused
  stopBits,        // `words`: the stop bits refused
  settingFields,   // `words`: the line settings' text, which has `numbers[0]` fields, not 4
  fewerPorts,      // the system lists fewer than `numbers[0]` serial ports and LUMADOT_COMn is unset
  noHalfStopBits,  // this system cannot send 1.5 stop bits
  portNotOpen,     // the port was used before it was opened
  lineStalled,     // the line took no more bytes in time
  portGone,        // the port went away; `words`: the system's
  frameTooWide,    // the text is `numbers[0]` columns wide, more than a frame holds
  glyphSize,       // `numbers`: the glyphs' width and height, not the sign's 16 x 16
  textTooLong,     // `numbers`: single-byte and double-byte characters, and their glyph bytes
  notAPicture,     // the bytes are no PNG, BMP, GIF or JPEG picture
  pictureDamaged,  // `words`: the decoder's
  pictureTruncated,
  pictureSize,     // `numbers`: its width and height, none or too many pixels
  pictureKind,     // `words`: the kind of BMP that is not read
};

struct Cause {
  Cause() = default;
  Cause(CauseKind told, std::string said = {}, std::array<std::int64_t, 4> counted = {})  // NOLINT: {kind, ...}
      : kind(told), words(std::move(said)), numbers(counted) {}

  CauseKind kind = CauseKind::worded;
  std::string place;  // the port or file it happened at, when the words name it: "com1 (/dev/ttyS0)"
  std::string words;  // UTF-8: the value refused, or the system's own words
  std::array<std::int64_t, 4> numbers{};

  friend bool operator==(const Cause&, const Cause&) = default;
};

// Why something could not be done. The core decides what failed and why
// (the kind, its subject and the cause); lumadot-cli prints the text and the
// detail, our own words for them, and a window says the kind and the cause in
// its own language, falling back on the text and detail for a worded one.
struct Failure {
  explicit Failure(std::string what, std::string reason = {}) : text(std::move(what)), detail(std::move(reason)) {}

  // The same failure, told as `kind` of `subject`, in the kind's category.
  Failure as(FailureKind told, std::string named) && {
    kind = told;
    subject = std::move(named);
    category = categoryOf(told);
    return std::move(*this);
  }
  // The same failure, of `sort`.
  Failure in(FailureCategory sort) && {
    category = sort;
    return std::move(*this);
  }
  // The same failure, caused by `why`.
  Failure because(Cause why) && {
    cause = std::move(why);
    return std::move(*this);
  }

  std::string text;    // UTF-8: what failed, naming the file, port or option
  std::string detail;  // the cause beneath it as the system gave it, or empty
  FailureKind kind = FailureKind::worded;
  std::string subject;
  Cause cause;
  FailureCategory category = FailureCategory::input;

  friend bool operator==(const Failure&, const Failure&) = default;
};

// `what` failed, told as `kind` of `subject`, because `why` did: its text
// beneath as the detail, its cause kept.
inline Failure failureOver(std::string what, FailureKind kind, std::string subject, const Failure& why) {
  return Failure(std::move(what), why.text).as(kind, std::move(subject)).because(why.cause);
}

// `why`, as it happened at `place` (a port, a file), which its text names first.
inline Failure failureAt(const std::string& place, const Failure& why) {
  Cause cause = why.cause;
  cause.place = place;
  return Failure(place + ": " + why.text).because(std::move(cause)).in(why.category);
}

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
