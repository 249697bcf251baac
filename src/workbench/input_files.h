#pragma once

// What the workbench opens as its input: a text file, decoded in the
// encoding box's encoding, and a picture, decoded once for every run. Each
// says in a message box why it cannot, and gives nothing.

#include <QCoreApplication>
#include <QString>
#include <optional>
#include <string>

#include "picture/picture.h"

class QWidget;

namespace lumadot {

class MessagePresenter;

class InputFiles {
  Q_DECLARE_TR_FUNCTIONS(InputFiles)

 public:
  // A text file the user chooses, decoded as `encoding` names (empty: UTF-8, or UTF-16 with its BOM).
  static std::optional<QString> chooseText(QWidget* parent, const std::string& encoding);
  // The picture file the user chooses; empty when none.
  static QString choosePicture(QWidget* parent);
  static std::optional<GreyPicture> readPictureFile(QWidget* parent, const QString& path, MessagePresenter& messages);
};

}  // namespace lumadot
