#include "serial/win32_port.h"

#include <cerrno>
#include <cwctype>

#include "extract/text_codec.h"

namespace lumadot {
namespace {

BYTE dcbParity(Parity parity) {
  switch (parity) {
    case Parity::none: return NOPARITY;
    case Parity::even: return EVENPARITY;
    case Parity::odd: return ODDPARITY;
    case Parity::mark: return MARKPARITY;
    case Parity::space: return SPACEPARITY;
  }
  return NOPARITY;
}

BYTE dcbStopBits(StopBits stopBits) {
  switch (stopBits) {
    case StopBits::one: return ONESTOPBIT;
    case StopBits::oneAndHalf: return ONE5STOPBITS;
    case StopBits::two: return TWOSTOPBITS;
  }
  return ONESTOPBIT;
}

// Raw bytes, no flow control, DTR and RTS up: the sign's line has three wires.
void applySettings(DCB& dcb, const LineSettings& settings) {
  dcb.BaudRate = static_cast<DWORD>(settings.baud);
  dcb.ByteSize = static_cast<BYTE>(settings.dataBits);
  dcb.Parity = dcbParity(settings.parity);
  dcb.StopBits = dcbStopBits(settings.stopBits);
  dcb.fBinary = TRUE;
  dcb.fParity = settings.parity == Parity::none ? FALSE : TRUE;
  dcb.fOutxCtsFlow = FALSE;
  dcb.fOutxDsrFlow = FALSE;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fDsrSensitivity = FALSE;
  dcb.fOutX = FALSE;
  dcb.fInX = FALSE;
  dcb.fErrorChar = FALSE;
  dcb.fNull = FALSE;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;
  dcb.fAbortOnError = FALSE;
}

// With no sharing asked for, a port another program has open is refused this way.
bool heldElsewhere(DWORD error) { return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION; }

HANDLE openExclusive(const std::string& device) {
  return CreateFileW(devicePath(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

std::string systemReason(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  std::u16string reason(text, text + length);
  if (text != nullptr) LocalFree(text);
  while (!reason.empty() && std::iswspace(static_cast<wint_t>(reason.back()))) reason.pop_back();
  if (reason.empty()) return "system error " + std::to_string(code);
  return utf16ToUtf8(reason);
}

Failure systemFailure(DWORD code) {
  int error = 0;
  if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) error = ENOENT;
  if (code == ERROR_ACCESS_DENIED) error = EACCES;
  const std::string words = systemReason(code);
  return Failure(words).because({CauseKind::system, words, {error}});
}

std::wstring devicePath(const std::string& device) {
  const std::u16string name = utf8ToUtf16(device);
  const bool bare = name.find_first_of(u"\\/:") == std::u16string::npos;
  return (bare ? L"\\\\.\\" : L"") + std::wstring(name.begin(), name.end());
}

bool portAnswers(const std::string& device) {
  const HANDLE handle = openExclusive(device);
  if (handle == INVALID_HANDLE_VALUE) return heldElsewhere(GetLastError());
  DCB dcb{};
  dcb.DCBlength = sizeof(dcb);
  const bool answers = GetCommState(handle, &dcb) != 0;
  CloseHandle(handle);
  return answers;
}

Result<void> Win32Port::open(const std::string& device) {
  close();
  m_handle = openExclusive(device);
  if (m_handle != INVALID_HANDLE_VALUE) return {};
  const DWORD error = GetLastError();
  if (heldElsewhere(error)) return Failure("the port is in use by another program").because({CauseKind::portInUse});
  return systemFailure(error);
}

Result<void> Win32Port::configure(const LineSettings& settings) {
  if (!isOpen()) return portNotOpen();
  DCB dcb{};
  dcb.DCBlength = sizeof(dcb);
  if (!GetCommState(m_handle, &dcb)) return systemFailure(GetLastError());
  applySettings(dcb, settings);
  if (!SetCommState(m_handle, &dcb)) return systemFailure(GetLastError());
  return {};
}

Result<void> Win32Port::setTimeouts(COMMTIMEOUTS timeouts) {
  if (!SetCommTimeouts(m_handle, &timeouts)) return systemFailure(GetLastError());
  return {};
}

void Win32Port::close() {
  if (!isOpen()) return;
  CloseHandle(m_handle);
  m_handle = INVALID_HANDLE_VALUE;
}

}  // namespace lumadot
