#pragma once

#include <QString>

namespace lumadot {

// How the team can be reached from the About window.
inline constexpr char16_t kMessengerScheme[] = u"tencent";
inline constexpr char16_t kMessengerAccount[] = u"800000000";
inline constexpr char16_t kMailAddress[] = u"lumadot@example.com";
inline constexpr char16_t kShortName[] = u"Lumadot";

// The messenger's own link that opens a message to the team, unescaped.
QString messengerLink();

// "mailto:" and the team's address.
QString mailLink();

// The command line that starts the system's web browser on the messenger
// link: the drive of the Windows directory (the first three characters of
// `windir`, such as "D:\"), the browser's path on that drive, a blank, the link.
QString browserCommandLine(const QString& windir);

}  // namespace lumadot
