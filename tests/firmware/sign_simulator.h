#pragma once

// The sign's firmware run in s51 with the PC's bytes on its serial line: they
// come one after another at 9600 baud from a plain file, with silences where
// asked, each with its even parity bit put into RB8 at the serial vector,
// since s51 carries only 8 bits (unless the board's line is 8N1). P1 is recorded over the spans asked and the
// firmware's counters are read at the end. Times count from the moment the
// line's first byte has come (its serial interrupt).

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "firmware/panel_trace.h"

namespace lumadot::test {

// 11 bits (start, 8 data, parity, stop) at 9600 baud, 10 on an 8N1 line.
inline SimTime byteTime(const PanelWiring& board) { return board.line8N1 ? SimTime{1'041'666'667} : SimTime{1'145'833'333}; }
inline constexpr SimTime kRefresh = std::chrono::milliseconds{10};
// The board's refresh: kRefresh unless its REFRESH_MS is 20.
inline SimTime refreshOf(const PanelWiring& panel) { return std::chrono::milliseconds{panel.refreshMs}; }
// The time from one row to the next: 625 µs, or 1.25 ms with two data lines;
// from one phase to the next on P10 modules, 2.5 ms.
inline SimTime rowTick(const PanelWiring& panel) { return refreshOf(panel) / panel.scanRows(); }
// s51 runs the board's crystal at 12 clocks a machine cycle.
inline std::int64_t machineCycles(SimTime t, const PanelWiring& board) {
  return t.count() * (board.crystalHz / 12 / 1000) / 1'000'000'000;
}
// The refresh rate asked for is counted over windows this long.
inline constexpr SimTime kRateWindow = std::chrono::milliseconds{100};
// How many refreshes each window must begin: 10 at 100 Hz, 5 where REFRESH_MS is 20.
inline int refreshesPerWindow(const PanelWiring& panel) { return static_cast<int>(kRateWindow / refreshOf(panel)); }
// How late a row's latch may come, in row ticks: the serial interrupt, which
// goes first, delays the scan by as long as it takes (about 140 µs in the sign's firmware).
inline constexpr double kRowJitter = 0.5;

struct Silence {
  std::size_t after = 0;  // the line's byte it follows
  SimTime length{};       // from that byte's end to the next byte's start
};

struct Span {
  SimTime from{}, to{};
};

struct SignRun {
  std::filesystem::path firmware;  // Intel HEX, with sdcc's map file beside it (.map)
  std::vector<std::uint8_t> line;
  std::vector<Silence> silences;   // in the line's order
  std::vector<Span> recorded;      // in order, apart
  SimTime end{};
  bool oddParity = false;  // every byte with the wrong parity bit
  std::vector<SimTime> marks;  // when to read the machine's cycle counts, in order
  PanelWiring panel;
};

struct SignRunResult {
  PanelTrace trace;                          // its times count as the run's do
  // Those of _frames_taken, _parity_errors, _overruns and _bytes_received the map file has, by symbol.
  std::map<std::string, unsigned> counters;
  std::vector<SimTime> framesTaken;          // when _frames_taken changed, while recorded
  // With the P10 scan, while recorded: when the scan took a step's view, and when the next one was composed.
  std::vector<SimTime> viewsShown, stepsComposed;
  SimTime longestRead{};                     // the longest a byte waited in SBUF, from its stop bit, while recorded
  double interruptShare = 0;                 // of the machine cycles, spent in interrupt handlers
  struct Ticks {
    double all = 0, inInterrupts = 0;
  };
  std::vector<Ticks> marks;                  // s51's clock ticks at each of the run's marks
  bool reachedEnd = false;
  std::uintmax_t dumpBytes = 0;              // the size of P1's value change dump
  std::chrono::duration<double> took{};      // real time
  std::string log;                           // s51's output
};

// When byte `index` of the line has come, by the line's pace and silences.
SimTime arrival(const SignRun& run, std::size_t index);

// The address sdcc's map file gives a symbol ("_serial_isr"), if any.
std::optional<unsigned> symbolAddress(const std::filesystem::path& map, const std::string& symbol);

// The fewest refreshes that begin within a window of kRateWindow, in machine
// cycles and give or take a row's jitter, after one begins, over the windows
// that lie whole in a span recorded; -1 if none does.
int fewestRefreshesPerWindow(const PanelTrace& trace, const PanelWiring& panel);

// What is wrong with the scan's order and timing, a line each; empty when nothing is.
std::string scanFaults(const PanelTrace& trace, const PanelWiring& panel);

// Runs in `dir`, which keeps s51's files.
SignRunResult runSign(const SignRun& run, const std::filesystem::path& dir);

}  // namespace lumadot::test
