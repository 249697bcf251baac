#pragma once

#include <QPixmap>
#include <QString>

#include "extract/byte_layout.h"

namespace lumadot {

// The order `scan` takes the 8-dot groups of a 16 x 16 glyph in, as a
// `side`-pixel picture for the scan box: each group shaded from light (the
// first byte) to dark (the last), the path through them arrowed at its end.
QPixmap scanOrderPicture(Scan scan, int side = 48);

// A layout in words: "横向逐行，高位在前，1为亮".
QString scanWords(Scan scan);
QString layoutWords(const ByteLayout& layout);

}  // namespace lumadot
