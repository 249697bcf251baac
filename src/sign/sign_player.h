#pragma once

// What our sign's panel shows of a whole frame, at any moment of its effect.
// The paces are in docs/frame.md; speed 10 is the fastest.

#include <chrono>
#include <cstdint>
#include <span>
#include <vector>

#include "frame/frame_layout.h"
#include "preview/dot_picture.h"
#include "preview/gif_animation.h"
#include "sign/panel_chain.h"

namespace lumadot {

struct ReceivedFrame;

// Each its mode byte.
enum class Effect : std::uint8_t {
  still = EFFECT_STILL,
  moveLeft = EFFECT_LEFT,
  moveRight = EFFECT_RIGHT,
  moveUp = EFFECT_UP,
  moveDown = EFFECT_DOWN,
  flash = EFFECT_FLASH
};

// The effect a mode byte plays: a mode past the last plays still.
Effect effectOf(std::uint8_t mode);
// How long one step of an effect lasts at `speed`; a speed outside 1 to 10 plays as the nearer.
std::chrono::milliseconds stepTimeAt(int speed);
// Moving up or down: the steps the whole message stays between coming in and leaving.
inline constexpr int kVerticalStaySteps = FRAME_ROWS;
// Flashing: the steps it is lit, then as many dark.
inline constexpr int kFlashLitSteps = EFFECT_FLASH_STEPS / 2;

struct PanelSettings {
  int columns = kDefaultPanelColumns;  // dots across; always 16 high
  bool msbFirst = false;               // the highest bit of a display byte is its leftmost dot
};

// The display bytes as 8x16 strips side by side: 16 bytes a strip, byte r its row r.
DotPicture messagePicture(std::span<const std::uint8_t> display, bool msbFirst);

class SignPlayer {
 public:
  // A mode past 5 plays still, and a speed outside 1 to 10 as the nearer of them.
  SignPlayer(const ReceivedFrame& frame, PanelSettings panel);

  const DotPicture& message() const { return m_message; }
  Effect effect() const { return m_effect; }
  int steps() const;  // in one cycle of the effect
  std::chrono::milliseconds stepTime() const;
  // The panel at step `step` of the effect, counted from its start; it repeats every steps().
  DotPicture panel(long long step) const;
  // The step the effect is at `sinceStart` after it began.
  long long stepAt(std::chrono::nanoseconds sinceStart) const;

 private:
  DotPicture m_message;
  Effect m_effect = Effect::still;
  int m_speed = 1;
  int m_columns = kDefaultPanelColumns;
};

// One cycle of the effect, a panel that stays the same for several steps
// given once, and no panel shorter than `shortest` (steps merged).
std::vector<TimedPicture> effectCycle(const SignPlayer& player, std::chrono::milliseconds shortest);

}  // namespace lumadot
