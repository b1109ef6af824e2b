// Injected keyboard input reaching the simulated desktop, which answers the Windows-key chords it
// knows with a short note.
#pragma once

#include <string>

#include "ports/input_port.h"

class SimulatedInputPort final : public InputPort {
 public:
  UINT SendInput(UINT count, INPUT* inputs, int size) override;

  // What the desktop did with the last completed chord; empty before one.
  const std::u16string& note() const { return note_; }
  int chords() const { return chords_; }
  bool windows_key_down() const { return windows_down_; }

 private:
  void key_event(const KEYBDINPUT& key);

  bool windows_down_ = false;
  WORD letter_down_ = 0;   // a letter pressed while the Windows key is held
  WORD letter_typed_ = 0;  // ... and released again, so the chord is complete at the Windows key's release
  std::u16string note_;
  int chords_ = 0;
};
