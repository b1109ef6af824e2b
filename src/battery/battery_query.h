// Finding the battery and reading it into a snapshot.
#pragma once

#include "battery/battery_snapshot.h"
#include "ports/battery_port.h"

// Discovery: 1 when the enumeration ran (also when it found nothing), -1 without a device set.
int find_battery_path(BatterySnapshot& snapshot, BatteryPort& port);

// 1 on success; -1 when the device does not open, -2 without a battery tag, -3 without the static
// information. Numbers and flags change only on success.
int query_battery(BatterySnapshot& snapshot, BatteryPort& port);
