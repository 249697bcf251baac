#include "firmware/sign_simulator.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <sstream>
#include <utility>

#include "support/installed_program.h"
#include "support/process.h"

namespace lumadot::test {
namespace {

using namespace std::chrono_literals;

struct Counter {
  const char* symbol;
  std::size_t bytes;
};
constexpr Counter kCounters[] = {{"_frames_taken", 2}, {"_parity_errors", 2}, {"_overruns", 2}, {"_bytes_received", 4}, {"_frames_cut", 2}};
constexpr const char* kTracedCounter = "_frames_taken";
// With the P10 scan: the view swapped in at a refresh, and the next step's panel composed.
constexpr const char* kTracedSteps[] = {"_shown_view", "_steps_composed"};
constexpr const char* kReceived = "bits_0x98.0";  // RI, as the dump names it
// Stops closer than this are one: s51 may miss a second one in the same instruction.
constexpr SimTime kSameStop = 50us;

// The condition puts the byte's parity bit into RB8 and is never true, so
// the run goes on. s51's command line takes neither a bit (SBUF.0) nor a
// comma there, hence the shifts.
std::string parityBreak(bool odd) {
  std::string bits = "SBUF";
  for (int k = 1; k < 8; ++k) bits += "^(SBUF>>" + std::to_string(k) + ")";
  return "break 0x23 if (RB8=((" + bits + ")&1)" + (odd ? "^1" : "") + ")&&0\n";
}

struct Stop {
  SimTime at;
  std::string commands;
};

std::filesystem::path markFile(const std::filesystem::path& dir, std::size_t mark, const char* what) {
  return dir / ("mark" + std::to_string(mark) + "_" + what + ".txt");
}

// What the script does at each stop, in time order, the end last.
std::vector<Stop> stopsOf(const SignRun& run, const std::filesystem::path& dir) {
  std::vector<Stop> stops;
  for (std::size_t k = 0; k < run.marks.size(); ++k) {
    stops.push_back({run.marks[k], "expr sim_ticks >" + markFile(dir, k, "ticks").string() + "\nexpr sim_isr_ticks >" +
                                       markFile(dir, k, "isr").string() + "\n"});
  }
  for (const Span& span : run.recorded) {
    if (span.from > SimTime{}) stops.push_back({span.from, "set hw vcd[0] restart\n"});
    stops.push_back({span.to, "set hw vcd[0] pause\n"});
  }
  for (const Silence& silence : run.silences) {
    // Off while the byte is on its way: it still comes, the next one waits.
    const SimTime last = arrival(run, silence.after);
    stops.push_back({last - byteTime(run.panel) / 2, "expr REN=0\n"});
    stops.push_back({last + silence.length, "expr REN=1\n"});
  }
  std::stable_sort(stops.begin(), stops.end(), [](const Stop& a, const Stop& b) { return a.at < b.at; });
  std::vector<Stop> merged;
  for (Stop& stop : stops) {
    if (stop.at >= run.end) continue;
    if (!merged.empty() && stop.at - merged.back().at < kSameStop) merged.back().commands += stop.commands;
    else merged.push_back(std::move(stop));
  }
  merged.push_back({run.end, ""});
  return merged;
}

// An input dump whose every change breaks the run: s51's own clock for the stops.
std::string stopDump(const std::vector<Stop>& stops) {
  std::string dump = "$timescale 1ps $end\n$scope module lumadot $end\n$var wire 8 ! lumadot_stop $end\n"
                     "$upscope $end\n$enddefinitions $end\n";
  int value = 0;
  for (const Stop& stop : stops) {
    value ^= 1;
    dump += "#" + std::to_string(stop.at.count()) + "\nb" + std::to_string(value) + " !\n";
  }
  return dump;
}

std::string hex(unsigned value) {
  std::ostringstream out;
  out << "0x" << std::hex << value;
  return out.str();
}

// The longest a bit stayed set, from each change to 1 to the next to 0 in
// the same span: a pause hides the changes in it.
SimTime longestHigh(const std::vector<std::pair<SimTime, std::uint64_t>>& changes, const std::vector<SimTime>& pauses) {
  SimTime longest{};
  std::optional<SimTime> since;
  auto pause = pauses.begin();
  for (const auto& [at, value] : changes) {
    for (; pause != pauses.end() && *pause < at; ++pause) since.reset();
    if (value != 0 && !since) since = at;
    if (value == 0 && since) longest = std::max(longest, at - *std::exchange(since, std::nullopt));
  }
  return longest;
}

std::string recordingCommands(const std::filesystem::path& dir, const std::filesystem::path& map) {
  std::string script = "set hw vcd[0] output \"" + (dir / "panel.vcd").string() + "\"\nset hw vcd[0] add P1\n";
  for (unsigned bit = 0x90; bit <= 0x97; ++bit) script += "set hw vcd[0] add bits " + hex(bit) + "\n";
  // RI: set as a byte's stop bit comes in, cleared by the firmware once it has read the byte.
  script += "set hw vcd[0] add bits 0x98\n";
  if (const auto traced = symbolAddress(map, kTracedCounter)) script += "set hw vcd[0] add iram[" + hex(*traced) + "]\n";
  if (symbolAddress(map, kTracedSteps[1])) {
    for (const char* symbol : kTracedSteps) script += "set hw vcd[0] add iram[" + hex(*symbolAddress(map, symbol)) + "]\n";
  }
  return script;
}

std::string script(const SignRun& run, const std::filesystem::path& dir, const std::vector<Stop>& stops, unsigned handler) {
  const auto map = std::filesystem::path(run.firmware).replace_extension(".map");
  // Waits for the line's first byte, the moment every time counts from.
  std::string s = "expr uart0_check_often=1\n" + (run.panel.line8N1 ? "" : parityBreak(run.oddParity)) +
                  "var lumadot_stop xram[0xffff]\n" +
                  "tbreak " + hex(handler) + " 1\nrun\n";
  s += "set hw vcd[0] new 1\nset hw vcd[1] input \"" + (dir / "stops.vcd").string() + "\"\nset hw vcd[1] break\n";
  s += recordingCommands(dir, map) + "set hw vcd[1] start\nset hw vcd[0] start\n";
  if (run.recorded.empty() || run.recorded.front().from > SimTime{}) s += "set hw vcd[0] pause\n";
  for (const Stop& stop : stops) s += "run\n" + stop.commands;
  s += "set hw vcd[0] stop\ndump /b iram 0 255 >" + (dir / "data.bin").string() + "\n";
  s += "expr sim_isr_ticks >" + (dir / "isr_ticks.txt").string() + "\n";
  s += "expr sim_ticks >" + (dir / "ticks.txt").string() + "\nkill\n";
  return s;
}

double numberIn(const std::filesystem::path& file) {
  if (!std::filesystem::exists(file)) return 0;
  return std::strtod(readFile(file).c_str(), nullptr);
}

std::map<std::string, unsigned> countersOf(const std::filesystem::path& map, const std::string& data) {
  std::map<std::string, unsigned> counters;
  for (const Counter& counter : kCounters) {
    const auto at = symbolAddress(map, counter.symbol);
    if (!at || *at + counter.bytes > data.size()) continue;
    unsigned value = 0;
    for (std::size_t k = counter.bytes; k-- > 0;) value = value << 8 | static_cast<unsigned char>(data[*at + k]);
    counters[counter.symbol] = value;
  }
  return counters;
}

}  // namespace

SimTime arrival(const SignRun& run, std::size_t index) {
  SimTime at = byteTime(run.panel) * static_cast<std::int64_t>(index);
  for (const Silence& silence : run.silences) {
    if (silence.after < index) at += silence.length;
  }
  return at;
}

std::optional<unsigned> symbolAddress(const std::filesystem::path& map, const std::string& symbol) {
  // "C:   0000008D  _serial_isr" or "     0000000A  _parity_errors"
  std::istringstream lines(readFile(map));
  for (std::string line; std::getline(lines, line);) {
    const std::size_t at = line.find("  " + symbol + " ");
    if (at == std::string::npos || at < 8) continue;
    return static_cast<unsigned>(std::stoul(line.substr(at - 8, 8), nullptr, 16));
  }
  return std::nullopt;
}

int fewestRefreshesPerWindow(const PanelTrace& trace, const PanelWiring& panel) {
  const auto& refreshes = trace.refreshes;
  const auto jitter = std::chrono::duration_cast<SimTime>(rowTick(panel) * kRowJitter);
  const std::int64_t window = machineCycles(kRateWindow + jitter, panel);
  int fewest = -1;
  std::size_t span = 0, next = 0;
  for (std::size_t k = 0; k < refreshes.size(); ++k) {
    const SimTime opens = refreshes[k].start;
    while (span < trace.recordedTo.size() && trace.recordedTo[span] < opens) ++span;
    // A refresh that begins before the span's end shows only once its last row is latched.
    if (span == trace.recordedTo.size() || machineCycles(trace.recordedTo[span] - refreshOf(panel) - opens, panel) < window) continue;
    next = std::max(next, k + 1);
    while (next < refreshes.size() && machineCycles(refreshes[next].start - opens, panel) <= window) ++next;
    const int count = static_cast<int>(next - k - 1);
    fewest = fewest < 0 ? count : std::min(fewest, count);
  }
  return fewest;
}

std::string scanFaults(const PanelTrace& trace, const PanelWiring& panel) {
  const SimTime tick = rowTick(panel);
  const auto us = [](SimTime t) { return std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(t).count()) + " us"; };
  std::string faults;
  if (trace.rowIntervals == 0) return "no row latched twice in a row\n";
  if (trace.rowsOutOfOrder) faults += std::to_string(trace.rowsOutOfOrder) + " rows out of order\n";
  if (trace.wrongShiftCounts) faults += std::to_string(trace.wrongShiftCounts) + " latches after other than a whole chain\n";
  if (trace.oeFaults) faults += std::to_string(trace.oeFaults) + " times lit while latching or with two groups\n";
  if (trace.racyWrites) faults += std::to_string(trace.racyWrites) + " writes moving a clock with the lines it samples\n";
  // Over a span's few latches, the late first one of a slow scan tips the mean by a thousandth.
  if (abs(trace.meanRow() - tick) > std::max<SimTime>(1us, tick / 1000)) faults += "rows " + us(trace.meanRow()) + " apart on average\n";
  if (trace.shortestRow < tick - tick * kRowJitter || trace.longestRow > tick + tick * kRowJitter) {
    faults += "rows from " + us(trace.shortestRow) + " to " + us(trace.longestRow) + " apart\n";
  }
  if (const int fewest = fewestRefreshesPerWindow(trace, panel); fewest >= 0 && fewest < refreshesPerWindow(panel)) {
    faults += "only " + std::to_string(fewest) + " refreshes in a 100 ms window\n";
  }
  return faults;
}

SignRunResult runSign(const SignRun& run, const std::filesystem::path& dir) {
  SignRunResult result;
  const auto map = std::filesystem::path(run.firmware).replace_extension(".map");
  // The time base is its first call, so the breakpoint needs it; the vector holds the parity's.
  const auto handler = symbolAddress(map, "_serial_isr");
  if (!handler) {
    result.log = "no _serial_isr in " + map.string();
    return result;
  }
  const auto stops = stopsOf(run, dir);
  writeFile(dir / "stops.vcd", stopDump(stops));
  writeFile(dir / "line.bin", std::string(run.line.begin(), run.line.end()));
  const auto seconds = std::chrono::duration_cast<std::chrono::milliseconds>(run.end);
  // Far longer than s51 takes while it records (about 3.5 s a simulated second), so a firmware that stops is caught.
  const auto guard = 60s + seconds * 8;
  const auto started = std::chrono::steady_clock::now();
  const auto r = runProcess(installedProgram("s51"),
                            {"-t", "C52", "-X", std::to_string(run.panel.crystalHz), "-b", "-S",
                             "in=" + (dir / "line.bin").string() + ",out=" + (dir / "sent.bin").string(),
                             run.firmware.string()},
                            script(run, dir, stops, *handler), {}, guard);
  result.took = std::chrono::steady_clock::now() - started;
  result.log = r.out + r.err;
  result.reachedEnd = std::filesystem::exists(dir / "ticks.txt");
  if (std::filesystem::exists(dir / "panel.vcd")) {
    result.dumpBytes = std::filesystem::file_size(dir / "panel.vcd");
    result.trace = readPanelTrace(dir / "panel.vcd", run.panel);
  }
  // As s51 names an iram byte in the dump: iram_0x0c.
  const auto dumpName = [&map](const char* symbol) {
    const auto at = symbolAddress(map, symbol);
    if (!at) return std::string();
    char name[16];
    std::snprintf(name, sizeof name, "iram_0x%02x", *at);
    return std::string(name);
  };
  for (const auto& [name, changes] : result.trace.others) {
    if (name == kReceived) result.longestRead = longestHigh(changes, result.trace.recordedTo);
    std::vector<SimTime>* times = name == dumpName(kTracedCounter) ? &result.framesTaken
                                  : name == dumpName(kTracedSteps[0]) ? &result.viewsShown
                                  : name == dumpName(kTracedSteps[1]) ? &result.stepsComposed : nullptr;
    if (!times) continue;
    for (const auto& change : changes) times->push_back(change.first);
  }
  if (std::filesystem::exists(dir / "data.bin")) result.counters = countersOf(map, readFile(dir / "data.bin"));
  for (std::size_t k = 0; k < run.marks.size(); ++k) {
    result.marks.push_back({numberIn(markFile(dir, k, "ticks")), numberIn(markFile(dir, k, "isr"))});
  }
  const double ticks = numberIn(dir / "ticks.txt");
  if (ticks > 0) result.interruptShare = numberIn(dir / "isr_ticks.txt") / ticks;
  return result;
}

}  // namespace lumadot::test
