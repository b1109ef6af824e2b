#include "posix/brightness_answers.h"

#include <cstring>

using namespace video_brightness;

BOOL answer_supported_levels(const uint8_t* levels, size_t count, void* out_buffer, DWORD out_size,
                             DWORD* bytes_returned) {
  if (out_buffer == nullptr || out_size < count) {
    return FALSE;  // ERROR_INSUFFICIENT_BUFFER
  }
  std::memcpy(out_buffer, levels, count);
  *bytes_returned = static_cast<DWORD>(count);
  return TRUE;
}

BOOL answer_display_brightness(UCHAR level, void* out_buffer, DWORD out_size, DWORD* bytes_returned) {
  if (out_buffer == nullptr || out_size < sizeof(DISPLAY_BRIGHTNESS)) {
    return FALSE;
  }
  const DISPLAY_BRIGHTNESS answer{DISPLAYPOLICY_BOTH, level, level};
  std::memcpy(out_buffer, &answer, sizeof answer);
  *bytes_returned = sizeof answer;
  return TRUE;
}

std::optional<UCHAR> requested_brightness(const void* in_buffer, DWORD in_size) {
  if (in_buffer == nullptr || in_size < sizeof(DISPLAY_BRIGHTNESS)) {
    return std::nullopt;
  }
  DISPLAY_BRIGHTNESS request{};
  std::memcpy(&request, in_buffer, sizeof request);
  const UCHAR wanted =
      request.ucDisplayPolicy == DISPLAYPOLICY_AC ? request.ucACBrightness : request.ucDCBrightness;
  if (request.ucDisplayPolicy < DISPLAYPOLICY_AC || request.ucDisplayPolicy > DISPLAYPOLICY_BOTH ||
      wanted > 100) {
    return std::nullopt;
  }
  return wanted;
}
