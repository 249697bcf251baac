#pragma once

// A COM port through the Win32 API, shared by the sending device and the
// receiving one. Failures give the reason only; the caller names the port.

#include <windows.h>

#include <string>

#include "base/result.h"
#include "serial/line_settings.h"
#include "serial/system_port.h"

namespace lumadot {

// The system's words for an error code (GetLastError()), in UTF-8.
std::string systemReason(DWORD code);
// The same as a failure whose cause a window words in its own language where
// it has words for it, as it does the errors of the Linux port.
Failure systemFailure(DWORD code);

// The name CreateFileW opens `device` by: COM10 and up are reached only
// under \\.\, so every bare name goes there; a path is left as it stands.
std::wstring devicePath(const std::string& device);

// Whether `device` is a serial port that is there: it opens and gives its line
// settings, or another program holds it. Under wine a COM port that leads
// nowhere still opens, as a device that answers nothing.
bool portAnswers(const std::string& device);

class Win32Port {
 public:
  Win32Port() = default;
  ~Win32Port() { close(); }
  Win32Port(const Win32Port&) = delete;
  Win32Port& operator=(const Win32Port&) = delete;

  // For this program alone, and for reading as well as writing whichever
  // way it is used: a handle that only writes cannot read the line
  // settings back, under wine at least.
  Result<void> open(const std::string& device);
  Result<void> configure(const LineSettings& settings);
  Result<void> setTimeouts(COMMTIMEOUTS timeouts);
  bool isOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
  HANDLE handle() const { return m_handle; }
  void close();

 private:
  HANDLE m_handle = INVALID_HANDLE_VALUE;
};

}  // namespace lumadot
