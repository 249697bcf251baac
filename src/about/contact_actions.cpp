#include "about/contact_actions.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

#include <string>
#else
#include <QDesktopServices>
#endif

namespace lumadot {
namespace {

#ifdef _WIN32
bool startMinimised(const QString& commandLine) {
  std::wstring line = commandLine.toStdWString();  // CreateProcessW may write into it
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMINIMIZED;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

// The shell hands a mailto: link to the user's own mail program, as every Windows
// program does; it answers 32 or less when there is none.
bool openThroughShell(const QUrl& url) {
  const std::wstring link = url.toString(QUrl::FullyEncoded).toStdWString();
  const auto answer = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return answer > 32;
}
#endif

}  // namespace

ContactActions ContactActions::platformDefaults() {
  ContactActions actions;
#ifdef _WIN32
  actions.openLink = openThroughShell;
  actions.startCommandLine = startMinimised;
#else
  actions.openLink = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
#endif
  return actions;
}

}  // namespace lumadot
