// A GUID's text as the RPC runtime writes and reads it: 8-4-4-4-12 hexadecimal digits, no braces.
#pragma once

#include <optional>
#include <string>

#include "common/win_types.h"

// Lower-case, as UuidToStringW writes it.
std::u16string uuid_to_text(const GUID& uuid);
// Either case; nothing else around the 36 characters.
std::optional<GUID> uuid_from_text(std::u16string_view text);

constexpr int32_t kRpcInvalidStringUuid = 1705;  // RPC_S_INVALID_STRING_UUID

// UuidFromStringW's answer: a null text is the nil UUID.
int32_t uuid_from_string(const char16_t* text, GUID* uuid);
