#include "posix/uuid_text.h"

#include "ports/wlan_port.h"

using namespace native_wifi;

namespace {

constexpr char16_t kDigits[] = u"0123456789abcdef";
constexpr size_t kTextLength = 36;

void append_hex(std::u16string& text, uint64_t value, int digits) {
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
    text.push_back(kDigits[(value >> shift) & 0xF]);
  }
}

int digit_value(char16_t c) {
  if (c >= u'0' && c <= u'9') {
    return c - u'0';
  }
  if (c >= u'a' && c <= u'f') {
    return c - u'a' + 10;
  }
  if (c >= u'A' && c <= u'F') {
    return c - u'A' + 10;
  }
  return -1;
}

// `digits` hexadecimal digits from `position` on.
std::optional<uint64_t> read_hex(std::u16string_view text, size_t position, int digits) {
  uint64_t value = 0;
  for (int i = 0; i < digits; ++i) {
    const int digit = digit_value(text[position + static_cast<size_t>(i)]);
    if (digit < 0) {
      return std::nullopt;
    }
    value = value * 16 + static_cast<uint64_t>(digit);
  }
  return value;
}

}  // namespace

std::u16string uuid_to_text(const GUID& uuid) {
  std::u16string text;
  append_hex(text, uuid.Data1, 8);
  text.push_back(u'-');
  append_hex(text, uuid.Data2, 4);
  text.push_back(u'-');
  append_hex(text, uuid.Data3, 4);
  text.push_back(u'-');
  append_hex(text, uuid.Data4[0], 2);
  append_hex(text, uuid.Data4[1], 2);
  text.push_back(u'-');
  for (size_t i = 2; i < 8; ++i) {
    append_hex(text, uuid.Data4[i], 2);
  }
  return text;
}

std::optional<GUID> uuid_from_text(std::u16string_view text) {
  if (text.size() != kTextLength || text[8] != u'-' || text[13] != u'-' || text[18] != u'-' ||
      text[23] != u'-') {
    return std::nullopt;
  }
  const auto data1 = read_hex(text, 0, 8);
  const auto data2 = read_hex(text, 9, 4);
  const auto data3 = read_hex(text, 14, 4);
  if (!data1 || !data2 || !data3) {
    return std::nullopt;
  }
  GUID uuid{static_cast<uint32_t>(*data1), static_cast<uint16_t>(*data2), static_cast<uint16_t>(*data3), {}};
  constexpr size_t kBytePositions[8] = {19, 21, 24, 26, 28, 30, 32, 34};
  for (size_t i = 0; i < 8; ++i) {
    const auto byte = read_hex(text, kBytePositions[i], 2);
    if (!byte) {
      return std::nullopt;
    }
    uuid.Data4[i] = static_cast<uint8_t>(*byte);
  }
  return uuid;
}

int32_t uuid_from_string(const char16_t* text, GUID* uuid) {
  if (uuid == nullptr) {
    return kRpcInvalidStringUuid;
  }
  if (text == nullptr) {
    *uuid = GUID{};
    return RPC_S_OK;
  }
  const std::optional<GUID> parsed = uuid_from_text(text);
  if (!parsed) {
    return kRpcInvalidStringUuid;
  }
  *uuid = *parsed;
  return RPC_S_OK;
}
