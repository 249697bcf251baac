#pragma once

// The result box's way into lumadot-workbench: the input text and the two
// layout boxes handed over as its command line.

#include <QStringList>

#include "base/result.h"

namespace lumadot {

// "--scan row-bands" with 8*16格式 (else "--scan rows"), "--lsb-first" with
// 字节倒序, then "--" so a text starting with "-" stays the text.
QStringList workbenchArguments(const QString& text, bool reverseBits, bool split);

// Starts lumadot-workbench detached, so it outlives this window: the one
// beside this program, else the one on PATH.
Result<void> startWorkbench(const QStringList& arguments);

}  // namespace lumadot
