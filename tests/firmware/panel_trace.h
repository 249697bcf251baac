#pragma once

// The panel as the firmware drives it, read back from s51's value change dump
// of P1: the 74HC595 chain replayed from the shift clock (P1.6) and data
// (P1.5), each latch (P1.7) lighting the row on P1.0-P1.3 with the chain's
// stages, stage k column k; or, with two data lines, two chains side by side;
// or a chain of P10 modules on their HUB12 inputs (PanelWiring::hub12).
// s51 logs a byte write to P1 only as the byte and
// a bit instruction only as its bit, so both are read and merged in time order.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "preview/dot_picture.h"

namespace lumadot::test {

using SimTime = std::chrono::duration<std::int64_t, std::pico>;

// The board as the firmware's options say: how the panel hangs on P1, and
// the crystal and serial line the harness runs it with.
struct PanelWiring {
  int columns = 128;
  bool activeLow = false;     // a lit dot is a 0 on the data line
  bool twoDataLines = false;  // P1.3 carries rows 8 to 15 beside P1.5's 0 to 7, counted on P1.0-P1.2
  // P10 modules, 32 x 16 dots each, 1/4 scan: A P1.0, B P1.1, OE P1.4, R P1.5,
  // CLK P1.6, LAT P1.7. In phase p, rows p, p + 4, p + 8 and p + 12 light, and
  // byte n shifted (first bit leftmost) is row p + 12 - 4 (n % 4) of columns
  // 8 (n / 4) to 8 (n / 4) + 7. activeLow is then R's polarity.
  bool hub12 = false;
  bool phaseOrder0312 = false;  // B:A = 0, 3, 1, 2 lights row group 0, 1, 2, 3
  bool oeActiveLow = false;     // a low OE lights
  int refreshMs = 10;
  std::int64_t crystalHz = 22'118'400;
  bool line8N1 = false;  // 8 data bits, no parity (LINE_8N1), instead of even parity

  int scanRows() const { return hub12 ? 4 : twoDataLines ? 8 : 16; }
};

// Rows 0 to 15 (0 to 7 with two data lines) latched one after another, each
// after a whole chain's worth of shifts.
struct PanelRefresh {
  SimTime begins;  // the latch of the row before, when what it shows is decided
  SimTime start;   // row 0's latch
  DotPicture picture;
};

struct PanelTrace {
  std::vector<PanelRefresh> refreshes;
  std::vector<SimTime> recordedFrom, recordedTo;  // the spans the dump holds, in pairs
  // Between consecutive latches of a span, and from a row's first shift to its latch.
  SimTime shortestRow = SimTime::max(), longestRow{}, rowTimes{}, shifting{}, longestShift{};
  long long rowIntervals = 0;
  long long rowsOutOfOrder = 0;  // a latch not of the row after the one before
  long long racyWrites = 0;      // one write moving the clock or latch with other lines
  // P10 modules: latches after other than a whole chain's shifts (a byte lost
  // or one too many), a row group lit by two latches' data or between them,
  // and the time OE lit, of whole phases' time.
  long long wrongShiftCounts = 0, oeFaults = 0;
  SimTime litTime{}, phaseTime{};
  // Every other variable's changes while recorded, by its name in the dump ("iram_0x0c").
  std::map<std::string, std::vector<std::pair<SimTime, std::uint64_t>>> others;

  SimTime meanRow() const { return rowIntervals ? SimTime{rowTimes.count() / rowIntervals} : SimTime{}; }
};

PanelTrace readPanelTrace(const std::filesystem::path& vcd, PanelWiring wiring);

}  // namespace lumadot::test
