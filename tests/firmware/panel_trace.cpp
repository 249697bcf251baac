#include "firmware/panel_trace.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

namespace lumadot::test {
namespace {

constexpr std::uint8_t kLowerData = 0x08, kData = 0x20, kClock = 0x40, kLatch = 0x80;
constexpr int kLowerHalf = 8;  // the first row the second data line carries
// P10 modules: B:A chooses the row group, OE lights it; 4 bits of the chain a column.
constexpr std::uint8_t kGroupLines = 0x03, kOutputEnable = 0x10;
constexpr int kGroups = 4, kChainBitsPerColumn = 4;
constexpr int kGroupOf0312[kGroups] = {0, 2, 3, 1};  // B:A 0, 3, 1, 2 light groups 0 to 3

// The chain and the panel it feeds, one pin change at a time.
class PanelReplay {
 public:
  explicit PanelReplay(PanelWiring wiring)
      : m_wiring(wiring), m_stages(static_cast<std::size_t>(wiring.columns * (wiring.hub12 ? kChainBitsPerColumn : 1))),
        m_rowLines(wiring.hub12 ? kGroupLines : wiring.twoDataLines ? 0x07 : 0x0F),
        m_dataLines(wiring.twoDataLines ? kData | kLowerData : kData) {}

  void setTime(SimTime t) { m_now = t; }
  SimTime now() const { return m_now; }
  // Values given outright (the dump's start, or its resumption): no edges.
  void setPins(std::uint8_t pins) {
    m_pins = pins;
    if (m_wiring.hub12) modulesLit();
  }
  // A write driving `value` on the lines in `mask`.
  void write(std::uint8_t value, std::uint8_t mask);
  void resumed();
  void lost();
  PanelTrace finish();
  PanelTrace& trace() { return m_trace; }

 private:
  void shift(std::uint8_t pins);
  void measureRow();
  void latch(int row);
  void emit();
  // P10 modules: the latch ends the phase shown since the one before.
  bool lit(std::uint8_t pins) const { return ((pins & kOutputEnable) != 0) != m_wiring.oeActiveLow; }
  void modulesLit();
  void modulesLatch();
  void phaseShown(int group);

  PanelWiring m_wiring;
  // A ring, stage k at (m_head + k) % size: bit 0 lit on the first chain, bit 1 on the second.
  std::vector<std::uint8_t> m_stages;
  std::size_t m_head = 0;
  std::uint8_t m_rowLines, m_dataLines;
  int m_shifted = 0;  // shifts since the chain's content was last unknown, up to the columns
  std::uint8_t m_pins = 0xFF;
  SimTime m_now{};
  std::optional<SimTime> m_lastLatch, m_firstShift;
  int m_nextRow = -1;  // the row the refresh in progress waits for; -1 none
  std::vector<std::uint16_t> m_rows;
  SimTime m_refreshBegins{}, m_refreshStart{};
  bool m_recording = false;
  // P10 modules: the rows the latch shows, by column: bit r for row group + r.
  std::vector<std::uint16_t> m_latched;
  bool m_latchKnown = false;
  int m_shiftsSinceLatch = 0;
  int m_litGroup = -1;  // the group lit since the latch; -1 none
  std::optional<SimTime> m_litSince, m_phaseLatch, m_latchBefore;
  SimTime m_litInPhase{};
  PanelTrace m_trace;
};

void PanelReplay::write(std::uint8_t value, std::uint8_t mask) {
  const auto next = static_cast<std::uint8_t>((m_pins & ~mask) | (value & mask));
  const auto changed = static_cast<std::uint8_t>(m_pins ^ next);
  const bool clockRises = (changed & kClock) && (next & kClock);
  const bool latchRises = (changed & kLatch) && (next & kLatch);
  if ((clockRises && (changed & (m_dataLines | kLatch))) || (latchRises && (changed & (m_rowLines | kClock)))) {
    ++m_trace.racyWrites;
  }
  m_pins = next;
  if (m_wiring.hub12) {
    if (clockRises) shift(next);
    if (latchRises) modulesLatch();
    modulesLit();
    return;
  }
  if (clockRises) shift(next);
  if (latchRises) latch(next & m_rowLines);
}

// OE's light, and the group it lights, from the pins now.
void PanelReplay::modulesLit() {
  if (!lit(m_pins)) {
    if (m_litSince) m_litInPhase += m_now - *std::exchange(m_litSince, std::nullopt);
    return;
  }
  if (!m_litSince) m_litSince = m_now;
  const int code = m_pins & kGroupLines;
  const int group = m_wiring.phaseOrder0312 ? kGroupOf0312[code] : code;
  if (m_litGroup >= 0 && group != m_litGroup) ++m_trace.oeFaults;
  m_litGroup = group;
}

void PanelReplay::modulesLatch() {
  if (m_litSince) {
    ++m_trace.oeFaults;  // lit while the outputs change
    m_litInPhase += m_now - *std::exchange(m_litSince, std::nullopt);
  }
  if (m_phaseLatch) {
    m_trace.phaseTime += m_now - *m_phaseLatch;
    m_trace.litTime += m_litInPhase;
  }
  if (m_litGroup >= 0 && m_latchKnown && m_phaseLatch) phaseShown(m_litGroup);
  m_latchBefore = m_phaseLatch;
  m_phaseLatch = m_now;
  m_litInPhase = {};
  m_litGroup = -1;
  measureRow();
  const int chain = static_cast<int>(m_stages.size());
  if (m_shifted == chain && m_shiftsSinceLatch != chain) ++m_trace.wrongShiftCounts;
  m_shiftsSinceLatch = 0;
  m_latchKnown = m_shifted == chain;
  if (!m_latchKnown) return;
  // Bit i shifted (from the first, now at the chain's far end) is byte i / 8's bit i % 8.
  m_latched.assign(static_cast<std::size_t>(m_wiring.columns), 0);
  for (int i = 0; i < chain; ++i) {
    const int n = i / 8, row = 12 - 4 * (n % 4), column = 8 * (n / 4) + i % 8;
    if (m_stages[(m_head + static_cast<std::size_t>(chain - 1 - i)) % m_stages.size()] & 1) {
      m_latched[static_cast<std::size_t>(column)] |= static_cast<std::uint16_t>(1U << row);
    }
  }
}

// A phase that lit `group` with the latch before: a refresh is groups 0 to 3 in turn.
void PanelReplay::phaseShown(int group) {
  if (group == 0) {
    if (m_nextRow > 0) ++m_trace.rowsOutOfOrder;
    m_rows.assign(static_cast<std::size_t>(m_wiring.columns), 0);
    m_refreshBegins = m_latchBefore.value_or(*m_phaseLatch);
    m_refreshStart = *m_phaseLatch;
    m_nextRow = 0;
  }
  if (group != m_nextRow) {
    if (m_nextRow >= 0) ++m_trace.rowsOutOfOrder;
    m_nextRow = -1;
    return;
  }
  for (std::size_t k = 0; k < m_rows.size(); ++k) m_rows[k] = static_cast<std::uint16_t>(m_rows[k] | m_latched[k] << group);
  if (++m_nextRow == kGroups) emit();
}

void PanelReplay::shift(std::uint8_t pins) {
  const std::uint8_t lit = m_wiring.activeLow ? static_cast<std::uint8_t>(~pins) : pins;
  m_head = (m_head + m_stages.size() - 1) % m_stages.size();
  m_stages[m_head] = static_cast<std::uint8_t>(((lit & kData) ? 1 : 0) | ((lit & kLowerData) ? 2 : 0));
  if (m_shifted < static_cast<int>(m_stages.size())) ++m_shifted;
  ++m_shiftsSinceLatch;
  if (!m_firstShift) m_firstShift = m_now;
}

// The time since the last latch and since the row's first shift.
void PanelReplay::measureRow() {
  if (m_lastLatch) {
    const SimTime interval = m_now - *m_lastLatch;
    m_trace.shortestRow = std::min(m_trace.shortestRow, interval);
    m_trace.longestRow = std::max(m_trace.longestRow, interval);
    m_trace.rowTimes += interval;
    ++m_trace.rowIntervals;
  }
  m_lastLatch = m_now;
  if (m_firstShift) {
    m_trace.shifting += m_now - *m_firstShift;
    m_trace.longestShift = std::max(m_trace.longestShift, m_now - *m_firstShift);
    m_firstShift.reset();
  }
}

void PanelReplay::latch(int row) {
  const std::optional<SimTime> previous = m_lastLatch;
  measureRow();
  // A refresh needs a known chain and the latch before it, when it began.
  if (m_shifted < m_wiring.columns || (row == 0 && !previous)) return;
  if (row == 0) {
    if (m_nextRow > 0) ++m_trace.rowsOutOfOrder;
    m_rows.assign(static_cast<std::size_t>(m_wiring.columns), 0);
    m_refreshBegins = *previous;
    m_refreshStart = m_now;
    m_nextRow = 0;
  }
  if (row != m_nextRow) {
    if (m_nextRow >= 0) ++m_trace.rowsOutOfOrder;
    m_nextRow = -1;
    return;
  }
  const unsigned lower = m_wiring.twoDataLines ? 1U << (row + kLowerHalf) : 0;
  for (std::size_t k = 0; k < m_rows.size(); ++k) {
    const std::uint8_t stage = m_stages[(m_head + k) % m_stages.size()];
    m_rows[k] = static_cast<std::uint16_t>(m_rows[k] | ((stage & 1) ? 1U << row : 0) | ((stage & 2) ? lower : 0));
  }
  if (++m_nextRow == m_wiring.scanRows()) emit();
}

void PanelReplay::emit() {
  m_trace.refreshes.push_back({m_refreshBegins, m_refreshStart, DotPicture(m_rows)});
  m_nextRow = -1;
}

void PanelReplay::resumed() {
  if (!m_recording) m_trace.recordedFrom.push_back(m_now);
  m_recording = true;
}

// The dump paused: the chain's content and the row in progress are unknown from here.
void PanelReplay::lost() {
  if (m_recording) m_trace.recordedTo.push_back(m_now);
  m_recording = false;
  m_shifted = 0;
  m_nextRow = -1;
  m_lastLatch.reset();
  m_firstShift.reset();
  m_latchKnown = false;
  m_shiftsSinceLatch = 0;
  m_litGroup = -1;
  m_litSince.reset();
  m_phaseLatch.reset();
  m_latchBefore.reset();
  m_litInPhase = {};
}

PanelTrace PanelReplay::finish() {
  lost();
  return std::move(m_trace);
}

// A variable of the dump: P1's byte, one of its bits, or another to keep.
struct Variable {
  enum class Kind { byte, bit, other } kind = Kind::other;
  int bit = 0;
  std::string name;
};

std::int64_t picosecondsPer(std::string_view timescale) {
  std::size_t at = 0;
  std::int64_t count = 0;
  while (at < timescale.size() && (timescale[at] == ' ' || timescale[at] == '\t')) ++at;
  while (at < timescale.size() && timescale[at] >= '0' && timescale[at] <= '9') count = count * 10 + (timescale[at++] - '0');
  while (at < timescale.size() && timescale[at] == ' ') ++at;
  const std::string_view unit = timescale.substr(at, 2);
  const std::int64_t scale = unit == "ps" ? 1 : unit == "ns" ? 1000 : unit == "us" ? 1000000 : unit == "ms" ? 1000000000 : unit.starts_with("s") ? 1000000000000 : 0;
  if (scale == 0 || count == 0) throw std::runtime_error("unknown timescale: " + std::string(timescale));
  return count * scale;
}

Variable variableNamed(const std::string& name) {
  if (name == "P1") return {Variable::Kind::byte, 0, name};
  // bits_0x95.0: bit 5 of P1, as a bit instruction writes it
  if (name.size() == 11 && name.starts_with("bits_0x9") && name.ends_with(".0") && name[8] >= '0' && name[8] <= '7') {
    return {Variable::Kind::bit, name[8] - '0', name};
  }
  return {Variable::Kind::other, 0, name};
}

// Reads the dump line by line: the header's variables, then the changes.
class DumpReader {
 public:
  explicit DumpReader(PanelWiring wiring) : m_replay(wiring) {}
  void line(std::string_view text);
  PanelTrace finish() { return m_replay.finish(); }

 private:
  void header(std::string_view text);
  void change(std::string_view id, std::string_view value);
  const Variable* find(std::string_view id) const;

  PanelReplay m_replay;
  bool m_inHeader = true, m_inDump = false, m_inTimescale = false;
  std::int64_t m_scale = 1;
  std::vector<Variable> m_variables;
  // Most ids are one character: looked up without a string made for every change.
  std::array<int, 128> m_oneCharacter{};
  std::unordered_map<std::string, int> m_longer;
};

void DumpReader::header(std::string_view text) {
  if (m_inTimescale || text.starts_with("$timescale")) {
    const std::size_t from = m_inTimescale ? 0 : std::strlen("$timescale");
    const std::size_t end = text.find("$end");
    const std::string_view scale = text.substr(from, end == std::string_view::npos ? text.npos : end - from);
    if (scale.find_first_not_of(" \t") != std::string_view::npos) m_scale = picosecondsPer(scale);
    m_inTimescale = end == std::string_view::npos;
  } else if (text.starts_with("$var")) {
    // $var wire 8 ! P1 $end
    char type[16], id[16], name[64];
    int width = 0;
    if (std::sscanf(std::string(text).c_str(), "$var %15s %d %15s %63s", type, &width, id, name) == 4) {
      m_variables.push_back(variableNamed(name));
      const auto index = static_cast<int>(m_variables.size());
      if (std::strlen(id) == 1 && id[0] > 0) m_oneCharacter[static_cast<std::size_t>(id[0])] = index;
      else m_longer[id] = index;
    }
  } else if (text.starts_with("$enddefinitions")) {
    m_inHeader = false;
  }
}

const Variable* DumpReader::find(std::string_view id) const {
  int index = 0;  // one past the variable's place; 0 none
  if (id.size() == 1 && id[0] > 0) {
    index = m_oneCharacter[static_cast<std::size_t>(id[0])];
  } else if (const auto found = m_longer.find(std::string(id)); found != m_longer.end()) {
    index = found->second;
  }
  return index ? &m_variables[static_cast<std::size_t>(index - 1)] : nullptr;
}

void DumpReader::change(std::string_view id, std::string_view value) {
  const Variable* variable = find(id);
  if (!variable) return;
  if (value.find_first_of("xXzZ") != std::string_view::npos) {
    if (variable->kind != Variable::Kind::other && !m_inDump) m_replay.lost();
    return;
  }
  std::uint64_t bits = 0;
  for (const char c : value) bits = bits << 1 | (c == '1' ? 1U : 0U);
  switch (variable->kind) {
    case Variable::Kind::byte:
      if (m_inDump) m_replay.setPins(static_cast<std::uint8_t>(bits));
      else m_replay.write(static_cast<std::uint8_t>(bits), 0xFF);
      break;
    case Variable::Kind::bit:
      if (!m_inDump) m_replay.write(static_cast<std::uint8_t>(bits << variable->bit), static_cast<std::uint8_t>(1U << variable->bit));
      break;
    case Variable::Kind::other:
      if (!m_inDump) m_replay.trace().others[variable->name].emplace_back(m_replay.now(), bits);
      break;
  }
}

void DumpReader::line(std::string_view text) {
  if (text.empty()) return;
  if (m_inHeader) return header(text);
  switch (text.front()) {
    case '#': {
      std::int64_t t = 0;
      for (std::size_t at = 1; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) t = t * 10 + (text[at] - '0');
      m_replay.setTime(SimTime{t * m_scale});
      return;
    }
    case 'b':
    case 'B': {
      const std::size_t space = text.find(' ');
      if (space != std::string_view::npos) change(text.substr(space + 1), text.substr(1, space - 1));
      return;
    }
    case '0': case '1': case 'x': case 'X': case 'z': case 'Z': change(text.substr(1), text.substr(0, 1)); return;
    default: break;
  }
  if (text.starts_with("$dumpoff")) {
    m_replay.lost();
    m_inDump = true;
  } else if (text.starts_with("$dumpon") || text.starts_with("$dumpvars")) {
    m_replay.resumed();
    m_inDump = true;
  } else if (text.starts_with("$end")) {
    m_inDump = false;
  }
}

}  // namespace

PanelTrace readPanelTrace(const std::filesystem::path& vcd, PanelWiring wiring) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(vcd.c_str(), "rb"), &std::fclose);
  if (!file) throw std::runtime_error("cannot read " + vcd.string());
  DumpReader reader(wiring);
  std::vector<char> buffer(1 << 20);
  std::size_t kept = 0;
  for (;;) {
    const std::size_t got = std::fread(buffer.data() + kept, 1, buffer.size() - kept, file.get());
    const std::size_t size = kept + got;
    std::size_t from = 0;
    for (const char* end; (end = static_cast<const char*>(std::memchr(buffer.data() + from, '\n', size - from)));) {
      reader.line(std::string_view(buffer.data() + from, static_cast<std::size_t>(end - buffer.data()) - from));
      from = static_cast<std::size_t>(end - buffer.data()) + 1;
    }
    kept = size - from;
    std::memmove(buffer.data(), buffer.data() + from, kept);
    if (got == 0) break;
    if (kept == buffer.size()) buffer.resize(buffer.size() * 2);
  }
  reader.line(std::string_view(buffer.data(), kept));
  return reader.finish();
}

}  // namespace lumadot::test
