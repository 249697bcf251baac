#include "workbench/input_files.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <filesystem>

#include "extract/text_encoding.h"
#include "widgets/failure_words.h"
#include "widgets/message_presenter.h"

namespace lumadot {

std::optional<QString> InputFiles::chooseText(QWidget* parent, const std::string& encoding) {
  const QString path =
      QFileDialog::getOpenFileName(parent, tr("打开文本文件"), QString(), tr("文本文件 (*.txt);;所有文件 (*)"));
  if (path.isEmpty()) return std::nullopt;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    QMessageBox::warning(parent, tr("打开文本文件"), tr("无法读取 %1：%2").arg(path, file.errorString()));
    return std::nullopt;
  }
  const QByteArray bytes = file.readAll();
  const auto decoded = decodeText(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                                  encoding.empty() ? std::nullopt : encodingNamed(encoding));
  if (const auto* failure = std::get_if<DecodeFailure>(&decoded)) {
    QMessageBox::warning(parent, tr("打开文本文件"),
                         tr("%1 的第 %2 个字节（0x%3）在所选编码中无效；请选择文件的编码再打开。")
                             .arg(path)
                             .arg(failure->offset + 1)
                             .arg(failure->byte, 2, 16, QLatin1Char('0')));
    return std::nullopt;
  }
  return QString::fromStdString(std::get<std::string>(decoded));
}

QString InputFiles::choosePicture(QWidget* parent) {
  return QFileDialog::getOpenFileName(parent, tr("选择图片"), QString(),
                                      tr("图片 (*.png *.bmp *.gif *.jpg *.jpeg);;所有文件 (*)"));
}

std::optional<GreyPicture> InputFiles::readPictureFile(QWidget* parent, const QString& path,
                                                       MessagePresenter& messages) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    QMessageBox::warning(parent, tr("选择图片"), tr("无法读取 %1：%2").arg(path, file.errorString()));
    return std::nullopt;
  }
  const QByteArray bytes = file.readAll();
  auto grey = readPicture({reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())},
                          std::filesystem::path(path.toStdU16String()).string());
  if (!grey) {
    messages.show(windowWarning(grey.error()));
    return std::nullopt;
  }
  return std::move(*grey);
}

}  // namespace lumadot
