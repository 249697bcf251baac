// runProcess on Windows: CreateProcessW with a command line quoted as the
// child's C runtime splits it, and pipes drained by threads of their own.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>

#include "extract/text_codec.h"
#include "support/process.h"
#include "support/process_environment.h"

namespace lumadot::test {
namespace {

std::wstring wide(std::string_view utf8) {
  const std::u16string units = utf8ToUtf16(utf8);
  return std::wstring(units.begin(), units.end());
}

void check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string(what) + " failed: Windows error " + std::to_string(GetLastError()));
}

// One argument as CommandLineToArgvW and the C runtime read it back: quoted
// when empty or holding a blank or a quote; a quote escaped by a backslash,
// and the backslashes before it, or before the closing quote, doubled.
void appendQuoted(std::wstring& line, const std::wstring& argument) {
  if (!line.empty()) line += L' ';
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    line += argument;
    return;
  }
  line += L'"';
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    line += c;
  }
  line.append(backslashes * 2, L'\\');
  line += L'"';
}

std::vector<std::string> inheritedEnvironment() {
  std::vector<std::string> entries;
  wchar_t* block = GetEnvironmentStringsW();
  for (const wchar_t* entry = block; *entry != L'\0'; entry += std::wcslen(entry) + 1) {
    const std::wstring_view units(entry);
    entries.push_back(utf16ToUtf8(std::u16string(units.begin(), units.end())));
  }
  FreeEnvironmentStringsW(block);
  return entries;
}

std::wstring environmentBlock(const std::vector<std::string>& entries) {
  std::wstring block;
  for (const std::string& entry : entries) block += wide(entry) + L'\0';
  return block + L'\0';
}

// A pipe whose one end the child inherits.
struct Pipe {
  HANDLE read = nullptr;
  HANDLE write = nullptr;
  explicit Pipe(bool childReads) {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    check(CreatePipe(&read, &write, &inheritable, 0), "CreatePipe");
    check(SetHandleInformation(childReads ? write : read, HANDLE_FLAG_INHERIT, 0), "SetHandleInformation");
  }
  ~Pipe() {
    close(read);
    close(write);
  }
  static void close(HANDLE& handle) {
    if (handle != nullptr) CloseHandle(handle);
    handle = nullptr;
  }
};

void readAll(HANDLE from, std::string& into) {
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(from, buffer, sizeof buffer, &got, nullptr) && got > 0) into.append(buffer, got);
}

// A child that stops reading early (it refused its input) breaks the pipe: the rest is dropped.
void writeAll(HANDLE to, const std::string& data) {
  std::size_t written = 0;
  DWORD put = 0;
  while (written < data.size() &&
         WriteFile(to, data.data() + written, static_cast<DWORD>(data.size() - written), &put, nullptr)) {
    written += put;
  }
}

// Only the child's three ends are inherited, though other threads may start programs meanwhile.
struct InheritedHandles {
  std::vector<char> storage;
  HANDLE handles[3];
  InheritedHandles(HANDLE in, HANDLE out, HANDLE err) : handles{in, out, err} {
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    storage.resize(size);
    check(InitializeProcThreadAttributeList(list(), 1, 0, &size), "InitializeProcThreadAttributeList");
    check(UpdateProcThreadAttribute(list(), 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles, sizeof handles, nullptr,
                                    nullptr),
          "UpdateProcThreadAttribute");
  }
  ~InheritedHandles() { DeleteProcThreadAttributeList(list()); }
  LPPROC_THREAD_ATTRIBUTE_LIST list() { return reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data()); }
};

}  // namespace

ProcessResult runProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::string& stdinData, const std::vector<std::string>& extraEnv,
                         std::chrono::milliseconds interruptAfter, bool stdoutOnTerminal) {
  if (interruptAfter.count() > 0 || stdoutOnTerminal) {
    std::fprintf(stderr, "runProcess: Ctrl+C and a terminal for standard output are POSIX-only; %s asked for them\n",
                 program.string().c_str());
    std::abort();
  }
  std::wstring line;
  appendQuoted(line, program.wstring());
  for (const std::string& arg : args) appendQuoted(line, wide(arg));
  std::wstring environment = environmentBlock(mergedEnvironment(inheritedEnvironment(), extraEnv));

  Pipe in(true), out(false), err(false);
  InheritedHandles inherited(in.read, out.write, err.write);
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  startup.StartupInfo.hStdInput = in.read;
  startup.StartupInfo.hStdOutput = out.write;
  startup.StartupInfo.hStdError = err.write;
  startup.lpAttributeList = inherited.list();
  PROCESS_INFORMATION child{};
  check(CreateProcessW(program.wstring().c_str(), line.data(), nullptr, nullptr, TRUE,
                       CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW | EXTENDED_STARTUPINFO_PRESENT,
                       environment.data(), nullptr, &startup.StartupInfo, &child),
        "CreateProcessW");
  CloseHandle(child.hThread);
  // Our copies of the child's ends closed, its exit ends the reads and breaks the writes.
  Pipe::close(in.read);
  Pipe::close(out.write);
  Pipe::close(err.write);

  ProcessResult result;
  std::thread feeder([&] {
    writeAll(in.write, stdinData);
    Pipe::close(in.write);
  });
  std::thread errors([&] { readAll(err.read, result.err); });
  readAll(out.read, result.out);
  errors.join();
  feeder.join();
  WaitForSingleObject(child.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(child.hProcess, &code);
  CloseHandle(child.hProcess);
  // An exception's status (0xC0000005 for a bad access) is a crash, not an exit.
  result.exitCode = (code & 0xC0000000) == 0xC0000000 ? -1 : static_cast<int>(code);
  return result;
}

}  // namespace lumadot::test
