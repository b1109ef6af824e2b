#!/usr/bin/python3
"""A described laptop for the end-to-end tests: a umockdev test bed with an energy battery, an AC
supply and a DMI board (--no-battery: without the battery; --devices: with a backlight, a wlan rfkill
switch and an RTC as well; --rtc: with the RTC only). Prints the test bed's root directory, then reads
commands, one a line:
  set DEVICE ATTRIBUTE VALUE   (the attribute file, and for a power supply its uevent property where
                                it has one)
  uevent DEVICE ACTION
and ends at end of input."""
import sys

import gi

gi.require_version("UMockdev", "1.0")
from gi.repository import UMockdev  # noqa: E402

# An ACPI energy battery in the order its kernel writes the uevent; its attribute files hold the same
# values (without the newline a kernel adds), and `alarm` is a file only, never in the uevent.
BATTERY = {
    "name": "BAT0", "type": "Battery", "status": "Discharging", "present": "1", "technology": "Li-ion",
    "cycle_count": "42", "voltage_min_design": "11400000", "voltage_now": "11900000",
    "power_now": "12345000", "energy_full_design": "57000000", "energy_full": "52000000",
    "energy_now": "41690000", "capacity": "80", "capacity_level": "Normal", "model_name": "DELL 7FHHV",
    "manufacturer": "SMP", "serial_number": "1234",
}
BATTERY_FILES_ONLY = {"alarm": "2600000"}
AC = {"name": "AC", "type": "Mains", "online": "0"}
BOARD = {"board_vendor": "Testbed Inc.", "board_name": "TB-1", "board_serial": "SER-42"}
# The attribute files these classes have on a laptop; their uevents carry no properties of their own.
BACKLIGHT = {"type": "raw", "max_brightness": "1000", "brightness": "500", "actual_brightness": "500"}
RFKILL = {"type": "wlan", "name": "phy0", "soft": "0", "hard": "0", "state": "1"}
RTC = {"name": "rtc_cmos", "wakealarm": ""}


def properties(attributes):
    listed = []
    for name, value in attributes.items():
        listed += ["POWER_SUPPLY_" + name.upper(), value]
    return listed


def files(attributes):
    # The kernel names the supply by its folder: there is no `name` file.
    return sum(((name, value) for name, value in attributes.items() if name != "name"), ())


def main():
    bed = UMockdev.Testbed.new()
    devices = {
        "AC": bed.add_device("power_supply", "AC", None, files(AC), properties(AC)),
        "dmi": bed.add_device("dmi", "id", None, sum(BOARD.items(), ()), []),
    }
    if "--devices" in sys.argv[1:]:
        devices["intel_backlight"] = bed.add_device("backlight", "intel_backlight", None,
                                                    sum(BACKLIGHT.items(), ()), [])
        devices["rfkill0"] = bed.add_device("rfkill", "rfkill0", None, sum(RFKILL.items(), ()), [])
    if "--devices" in sys.argv[1:] or "--rtc" in sys.argv[1:]:
        devices["rtc0"] = bed.add_device("rtc", "rtc0", None, sum(RTC.items(), ()), [])
    if "--no-battery" not in sys.argv[1:]:
        devices["BAT0"] = bed.add_device("power_supply", "BAT0", None,
                                         files(BATTERY) + files(BATTERY_FILES_ONLY), properties(BATTERY))
    print(bed.get_root_dir(), flush=True)
    for line in sys.stdin:
        words = line.split()
        if words[:1] == ["set"] and len(words) == 4:
            device = devices[words[1]]
            bed.set_attribute(device, words[2], words[3])
            if words[1] in ("AC", "BAT0") and words[2] not in BATTERY_FILES_ONLY:
                bed.set_property(device, "POWER_SUPPLY_" + words[2].upper(), words[3])
        elif words[:1] == ["uevent"] and len(words) == 3:
            bed.uevent(devices[words[1]], words[2])
        print("done", flush=True)


main()
