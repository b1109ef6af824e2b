// The WM_APPCOMMAND volume commands the panel sends and the desktops answer.
#pragma once

constexpr int kAppCommandVolumeMute = 8;       // APPCOMMAND_VOLUME_MUTE
constexpr int kAppCommandVolumeDown = 9;       // APPCOMMAND_VOLUME_DOWN
constexpr int kAppCommandVolumeUp = 10;        // APPCOMMAND_VOLUME_UP
constexpr int kAppCommandDeviceMask = 0xF000;  // FAPPCOMMAND_MASK: the device bits of the high word
