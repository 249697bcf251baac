#pragma once

// What a run's fonts cannot draw of a text as it was typed, and why: the
// CLI words each reason as a warning, the workbench names the characters.

#include <string>
#include <string_view>
#include <vector>

#include "extract/undrawn_characters.h"
#include "fonts/run_fonts.h"

namespace lumadot {

struct UndrawnReport {
  // Each character once for each reason, in the order of the text; views into the text.
  std::vector<UndrawnCharacter> characters;

  // Those undrawn for `why`.
  std::vector<std::u16string_view> only(Undrawn why) const;
  // Every character once, whatever the reason.
  std::vector<std::u16string> each() const;
};

// Asked after the run's lookup: a font drawn from learns what it lacks as it is asked.
UndrawnReport undrawnReport(std::u16string_view text, const RunFonts& fonts);

}  // namespace lumadot
