#include "widgets/failure_words.h"

#include <cerrno>
#include <optional>

namespace lumadot {
namespace {

QString qs(const std::string& utf8) { return QString::fromStdString(utf8); }

// The system's error as the window says it; its own words for one not named here.
QString systemWords(const Cause& cause) {
  switch (cause.numbers[0]) {
    case ENOENT: return FailureWords::tr("文件或设备不存在");
    case EACCES:
    case EPERM: return FailureWords::tr("没有权限");
    case EBUSY: return FailureWords::tr("设备正忙");
    case EISDIR: return FailureWords::tr("这是一个文件夹");
    case ENOTDIR: return FailureWords::tr("路径中有一段不是文件夹");
    case ENOSPC: return FailureWords::tr("磁盘已满");
#ifdef EDQUOT
    case EDQUOT: return FailureWords::tr("超出了磁盘配额");
#endif
    case EROFS: return FailureWords::tr("文件系统是只读的");
    case EIO: return FailureWords::tr("输入输出出错");
    case ENXIO:
    case ENODEV: return FailureWords::tr("设备不存在或没有连接");
    case ENAMETOOLONG: return FailureWords::tr("名字太长");
    default: return qs(cause.words);
  }
}

QString portNameRule() {
#ifdef _WIN32
  const QString example = QStringLiteral("COM17, \\\\.\\COM17");
#else
  const QString example = QStringLiteral("/dev/ttyUSB0");
#endif
  return FailureWords::tr("串口名为 com1 到 com16（小写），或设备的路径（%1）。comN 指向 LUMADOT_COMn 所指的设备"
                          "（LUMADOT_COM1=/dev/ttyUSB0 让 com1 指向该设备）；“lumadot-cli ports”列出每个 comN 指向哪里")
      .arg(example);
}

// The serial line's causes; nothing for any other.
std::optional<QString> lineCauseWords(const Cause& cause) {
  const auto n = [&cause](std::size_t i) { return QString::number(cause.numbers[i]); };
  const QString value = qs(cause.words);
  switch (cause.kind) {
    case CauseKind::portInUse: return FailureWords::tr("另一个程序正在使用这个串口");
    case CauseKind::portGroup:
      return FailureWords::tr("没有使用权限：只有 root 和串口所属的组（Debian 上是 dialout）能用它；"
                              "运行 sudo adduser $USER dialout，再重新登录");
    case CauseKind::notPortName: return FailureWords::tr("“%1”不是串口名：").arg(value) + portNameRule();
    case CauseKind::baud: return FailureWords::tr("波特率“%1”无效：应是 1 到 2147483647 的整数").arg(value);
    case CauseKind::parity: return FailureWords::tr("校验位“%1”无效：应是 E、M、N、O、S 之一").arg(value);
    case CauseKind::dataBits: return FailureWords::tr("数据位“%1”无效：应是 5、6、7 或 8").arg(value);
    case CauseKind::stopBits: return FailureWords::tr("停止位“%1”无效：应是 1、1.5 或 2").arg(value);
    case CauseKind::settingFields:
      return FailureWords::tr("串口设置“%1”有 %2 项，不是“波特率,校验位,数据位,停止位”4 项：框里不能有逗号")
          .arg(value, n(0));
    case CauseKind::fewerPorts:
      return FailureWords::tr("系统列出的串口不到 %1 个；请把 LUMADOT_COM%1 设为要用的设备，如 LUMADOT_COM%1=/dev/ttyUSB0")
          .arg(n(0));
    case CauseKind::noHalfStopBits: return FailureWords::tr("这个系统不能发送 1.5 个停止位");
    case CauseKind::portNotOpen: return FailureWords::tr("串口还没有打开");
    case CauseKind::lineStalled: return FailureWords::tr("线路在限定的时间内不再接收字节");
    case CauseKind::portGone: return FailureWords::tr("串口已断开：%1").arg(value);
    default: return std::nullopt;
  }
}

QString causeWords(const Cause& cause, const std::string& detail) {
  if (auto words = lineCauseWords(cause)) return *words;
  const auto n = [&cause](std::size_t i) { return QString::number(cause.numbers[i]); };
  const QString value = qs(cause.words);
  switch (cause.kind) {
    case CauseKind::worded: return qs(detail);
    case CauseKind::system: return systemWords(cause);
    case CauseKind::frameTooWide:
      return FailureWords::tr("文字宽 %1 列，而一帧最多 %2 列").arg(n(0), n(1));
    case CauseKind::glyphSize:
      if (cause.numbers[1] != 16) {
        return FailureWords::tr("显示屏只显示16点阵的字模，所以%1点高的字模不能发送；请改用16点阵").arg(n(1));
      }
      return FailureWords::tr("显示屏只显示16点阵的字模，所以%1×%2点阵的字模不能发送；请改用16点阵").arg(n(0), n(1));
    case CauseKind::textTooLong:
      return FailureWords::tr("这段文字有 %1 个单字节字符和 %2 个双字节字符，共 %3 字节字模；一次最多 %4 字节")
          .arg(n(0), n(1), n(2), n(3));
    case CauseKind::notAPicture: return FailureWords::tr("不是 PNG、BMP、GIF 或 JPEG 图片");
    case CauseKind::pictureDamaged: return FailureWords::tr("图片已损坏（%1）").arg(value);
    case CauseKind::pictureTruncated: return FailureWords::tr("图片不完整，没到结尾就断了");
    case CauseKind::pictureSize:
      if (cause.numbers[0] == 0 || cause.numbers[1] == 0) {
        return FailureWords::tr("图片没有像素（%1 × %2）").arg(n(0), n(1));
      }
      return FailureWords::tr("图片太大（%1 × %2 像素；每边最多 %3，总共最多 %4 Mi 像素）").arg(n(0), n(1), n(2), n(3));
    case CauseKind::pictureKind:
      return FailureWords::tr("只能读未压缩的 BMP（或 16、32 位的位域），每像素 1、4、8、24 或 32 位；"
                              "这个的压缩方式是 %1，每像素 %2 位")
          .arg(n(0), n(1));
    default: break;
  }
  return qs(detail);
}

}  // namespace

QString FailureWords::what(const Failure& failure) {
  const QString subject = qs(failure.subject);
  switch (failure.kind) {
    case FailureKind::worded:
      // A failure that is its own cause says only why.
      return failure.cause.kind != CauseKind::worded && failure.detail.empty() ? why(failure) : qs(failure.text);
    case FailureKind::sendPort: return tr("串口%1打开失败，可能正在使用中").arg(subject);
    case FailureKind::listenPort: return tr("串口%1打开失败").arg(subject);
    case FailureKind::portLost: return tr("串口%1已断开，停止接收").arg(subject);
    case FailureKind::portName: return tr("串口“%1”无效").arg(subject);
    case FailureKind::lineSettings: return tr("串口设置“%1”无效").arg(subject);
    case FailureKind::speedBox: return tr("显示速度“%1”无效").arg(subject);
    case FailureKind::modeBox: return tr("显示方式“%1”无效").arg(subject);
    case FailureKind::fileWrite: return tr("无法写入%1").arg(subject);
    case FailureKind::pictureRead: return tr("无法读取图片%1").arg(subject);
    case FailureKind::textTooLong: return tr("文字太长：一次最多能取模4096个单字节字符或2048个双字节字符");
  }
  return qs(failure.text);
}

QString FailureWords::why(const Failure& failure) {
  QString words = causeWords(failure.cause, failure.detail);
  if (failure.cause.kind != CauseKind::worded && !failure.cause.place.empty()) {
    words = tr("%1：%2").arg(qs(failure.cause.place), words);
  }
  return words;
}

Message windowWarning(const Failure& failure) {
  const QString what = FailureWords::what(failure);
  // A failure that is its own cause has nothing more beneath.
  const bool itsOwnCause = failure.kind == FailureKind::worded && failure.detail.empty();
  return {FailureWords::tr("警告").toStdString(), what.toStdString(), iconOf(failure.category),
          itsOwnCause ? std::string() : FailureWords::why(failure).toStdString()};
}

Message windowNotice(const QString& text) {
  return {FailureWords::tr("系统提示").toStdString(), text.toStdString(), MessageIcon::none};
}

}  // namespace lumadot
