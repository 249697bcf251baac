#include "about/contact_links.h"

namespace lumadot {

QString messengerLink() {
  return QStringLiteral("%1://message/?uin=%2&Site=%3&Menu=yes")
      .arg(QStringView(kMessengerScheme), QStringView(kMessengerAccount), QStringView(kShortName));
}

QString mailLink() { return QStringLiteral("mailto:%1").arg(QStringView(kMailAddress)); }

QString browserCommandLine(const QString& windir) {
  return windir.left(3) + QStringLiteral(R"(Program Files\Internet Explorer\IEXPLORE.EXE )") + messengerLink();
}

}  // namespace lumadot
