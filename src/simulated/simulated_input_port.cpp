#include "simulated/simulated_input_port.h"

namespace {

constexpr WORD kKeyX = 0x58;
constexpr WORD kKeyP = 0x50;

std::u16string chord_note(WORD letter) {
  switch (letter) {
    case kKeyX:
      return u"Windows+X: Mobility Center";
    case kKeyP:
      return u"Windows+P: project";
    default:
      return u"Windows+" + std::u16string(1, static_cast<char16_t>(letter));
  }
}

}  // namespace

UINT SimulatedInputPort::SendInput(UINT count, INPUT* inputs, int size) {
  if (inputs == nullptr || size != static_cast<int>(sizeof(INPUT))) {
    return 0;  // ERROR_INVALID_PARAMETER
  }
  for (UINT i = 0; i < count; ++i) {
    if (inputs[i].type == INPUT_KEYBOARD) {
      key_event(inputs[i].ki);
    }
  }
  return count;
}

void SimulatedInputPort::key_event(const KEYBDINPUT& key) {
  const bool up = (key.dwFlags & KEYEVENTF_KEYUP) != 0;
  if (key.wVk == VK_LWIN) {
    if (up && windows_down_ && letter_typed_ != 0) {
      note_ = chord_note(letter_typed_);
      ++chords_;
    }
    windows_down_ = !up;
    letter_down_ = 0;
    letter_typed_ = 0;
    return;
  }
  if (!windows_down_) {
    return;  // a plain key: nothing for the desktop
  }
  if (!up) {
    letter_down_ = key.wVk;
    letter_typed_ = 0;
  } else if (key.wVk == letter_down_) {
    letter_typed_ = key.wVk;
    letter_down_ = 0;
  }
}
