// The answers both Linux LCDs give to the brightness IOCTLs, in the shape the video driver gives them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "ports/lcd_port.h"

// IOCTL_VIDEO_QUERY_SUPPORTED_BRIGHTNESS: the level list; FALSE when it does not fit.
BOOL answer_supported_levels(const uint8_t* levels, size_t count, void* out_buffer, DWORD out_size,
                             DWORD* bytes_returned);
// IOCTL_VIDEO_QUERY_DISPLAY_BRIGHTNESS: one panel, one level, for both power sources.
BOOL answer_display_brightness(UCHAR level, void* out_buffer, DWORD out_size, DWORD* bytes_returned);
// IOCTL_VIDEO_SET_DISPLAY_BRIGHTNESS: the level for the power source the request names; none when the
// request is short, names no policy or asks for more than 100 (ERROR_INVALID_PARAMETER).
std::optional<UCHAR> requested_brightness(const void* in_buffer, DWORD in_size);
