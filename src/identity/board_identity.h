// The baseboard's manufacturer, product and serial number, read once through WMI for the status line.
#pragma once

#include "ports/wmi_port.h"

constexpr int kBoardTextSize = 100;  // of which at most 50 characters and a terminator are stored

struct BoardText {
  char16_t board_manufacturer[kBoardTextSize] = {};
  char16_t board_product[kBoardTextSize] = {};
  char16_t board_serial_number[kBoardTextSize] = {};
};

constexpr size_t kBoardTextLimit = 50;  // characters kept of each property
static_assert(kBoardTextLimit < kBoardTextSize);

// Fills the three board fields from the Win32_BaseBoard instances (the last one wins). Returns 0 when
// the enumeration ran, whether or not it found an instance, and 1 when a step before it failed; the
// fields change only when an instance is delivered. A property that is null, not a string or not
// readable leaves its field empty.
int query_board_identity(BoardText& state, WmiPort& wmi);

// What the companion thread gets: the event that ends it and the port it waits through.
struct BoardIdentityCompanion {
  WmiPort& wmi;
  HANDLE event;
};

constexpr DWORD kCompanionWaitSliceMs = 300;

// The thread that lives while the WMI connection is made: waits on the event in slices for as long
// as the waits time out, then ends with 0. `parameter` is a BoardIdentityCompanion.
DWORD WINAPI run_board_identity_companion(void* parameter);
