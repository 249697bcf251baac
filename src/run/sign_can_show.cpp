#include "run/sign_can_show.h"

#include <string>

#include "frame/display_frame.h"

namespace lumadot {

SignVerdict signCanShow(CellSize cell) {
  if (cell != kSignCell) return {SignRefusal{SignRefusal::Kind::glyphSize, cell, 0}};
  return {};
}

SignVerdict signCanShow(const Glyphs& glyphs) {
  if (SignVerdict verdict = signCanShow(glyphs.cell); !verdict) return verdict;
  // The width byte is the frame's own limit: what it cannot encode, the sign cannot show.
  if (const int columns = glyphs.columnCount(); !widthByte(columns)) {
    return {SignRefusal{SignRefusal::Kind::tooWide, glyphs.cell, columns}};
  }
  return {};
}

Failure signFailure(const SignRefusal& refusal) {
  if (refusal.kind == SignRefusal::Kind::tooWide) {
    return Failure(frameFields(refusal.columns, kFastestSpeed, 0).error()).in(FailureCategory::tooLarge);
  }
  // Glyphs of another size are asked for: lumadot-cli refuses --size with a send as a usage error.
  return Failure("the sign shows 16-dot glyphs, so " + refusal.cell.name() + " glyphs cannot be sent")
      .because({CauseKind::glyphSize, {}, {refusal.cell.width, refusal.cell.height}})
      .in(FailureCategory::usage);
}

}  // namespace lumadot
