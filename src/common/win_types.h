// The Windows names the logic uses. On Windows they come from the SDK; elsewhere this header
// defines the same names, values and 32-bit layouts, so the logic reads the same on both.
#pragma once

#include <cstddef>
#include <cstdint>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// clang-format off
#include <setupapi.h>
#include <winioctl.h>
// clang-format on
#else

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using ULONG = uint32_t;
using UINT = uint32_t;
using LONG = int32_t;
using BOOL = int;
using BOOLEAN = uint8_t;
using WCHAR = char16_t;
using UCHAR = uint8_t;
using ULONGLONG = uint64_t;
// Pointer-sized on Windows; only ever a message argument or an opaque field here.
using UINT_PTR = uintptr_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using INT_PTR = intptr_t;
using HANDLE = void*;
using HDEVINFO = void*;
struct HWND__;
using HWND = HWND__*;
struct HKEY__;
using HKEY = HKEY__*;
using HLOCAL = void*;
using EXECUTION_STATE = DWORD;

union LARGE_INTEGER {
  struct {
    DWORD LowPart;
    LONG HighPart;
  } u;
  int64_t QuadPart;
};

struct LUID {
  DWORD LowPart;
  LONG HighPart;
};

struct LUID_AND_ATTRIBUTES {
  LUID Luid;
  DWORD Attributes;
};

struct TOKEN_PRIVILEGES {
  DWORD PrivilegeCount;
  LUID_AND_ATTRIBUTES Privileges[1];
};

#define TRUE 1
#define FALSE 0
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))

struct GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
};

struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};

// The 32-bit layout: Reserved is a ULONG_PTR there, four bytes.
struct SP_DEVICE_INTERFACE_DATA {
  DWORD cbSize;
  GUID InterfaceClassGuid;
  DWORD Flags;
  uint32_t Reserved;
};

#pragma pack(push, 1)
struct SP_DEVICE_INTERFACE_DETAIL_DATA_W {
  DWORD cbSize;
  WCHAR DevicePath[1];
};
#pragma pack(pop)

// Window messages
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_POWERBROADCAST = 0x0218;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_APPCOMMAND = 0x0319;
constexpr WPARAM SC_MONITORPOWER = 0xF170;

// Keyboard input, in the 32-bit layout the shipped program uses (dwExtraInfo is pointer-sized there).
constexpr DWORD INPUT_KEYBOARD = 1;
constexpr DWORD KEYEVENTF_KEYUP = 0x2;
constexpr WORD VK_LWIN = 0x5B;

struct KEYBDINPUT {
  WORD wVk;
  WORD wScan;
  DWORD dwFlags;
  DWORD time;
  uint32_t dwExtraInfo;
};

struct MOUSEINPUT {
  LONG dx;
  LONG dy;
  DWORD mouseData;
  DWORD dwFlags;
  DWORD time;
  uint32_t dwExtraInfo;
};

struct INPUT {
  DWORD type;
  union {
    MOUSEINPUT mi;
    KEYBDINPUT ki;
  };
};

// SetupAPI
constexpr DWORD DIGCF_PRESENT = 0x02;
constexpr DWORD DIGCF_DEVICEINTERFACE = 0x10;

// Files
constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD FILE_SHARE_READ = 0x1;
constexpr DWORD FILE_SHARE_WRITE = 0x2;
constexpr DWORD FILE_ALL_ACCESS = 0x1F01FF;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

constexpr UINT BST_CHECKED = 1;

// System error codes
constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_TOO_MANY_OPEN_FILES = 4;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_GEN_FAILURE = 31;
constexpr DWORD ERROR_NOT_SUPPORTED = 50;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_DISK_FULL = 112;
constexpr DWORD ERROR_CALL_NOT_IMPLEMENTED = 120;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;
constexpr DWORD ERROR_FILENAME_EXCED_RANGE = 206;
constexpr DWORD ERROR_FILE_TOO_LARGE = 223;
constexpr DWORD ERROR_MR_MID_NOT_FOUND = 317;
constexpr DWORD ERROR_INVALID_FLAGS = 1004;
constexpr DWORD ERROR_SERVICE_NOT_ACTIVE = 1062;

// Power and tokens
constexpr DWORD TOKEN_QUERY = 0x0008;
constexpr DWORD TOKEN_ADJUST_PRIVILEGES = 0x0020;
constexpr DWORD SE_PRIVILEGE_ENABLED = 0x2;
constexpr UINT EWX_SHUTDOWN = 0x1;
constexpr UINT EWX_FORCE = 0x4;
constexpr EXECUTION_STATE ES_CONTINUOUS = 0x80000000;

constexpr UINT MB_OK = 0x0;
constexpr UINT MB_ICONERROR = 0x10;
constexpr UINT MB_ICONWARNING = 0x30;

#endif  // _WIN32

// The battery class driver's interface. The SDK keeps it in the driver kit's batclass.h, which not
// every toolchain ships, so it is declared here for every platform.
namespace battery_class {

constexpr GUID GUID_DEVICE_BATTERY = {
    0x72631E54, 0x78A4, 0x11D0, {0xBC, 0xF7, 0x00, 0xAA, 0x00, 0xB7, 0xB3, 0x2A}};

constexpr DWORD IOCTL_BATTERY_QUERY_TAG = 0x294040;
constexpr DWORD IOCTL_BATTERY_QUERY_INFORMATION = 0x294044;
constexpr DWORD IOCTL_BATTERY_QUERY_STATUS = 0x29404C;

constexpr ULONG BATTERY_TAG_INVALID = 0;

constexpr ULONG BATTERY_POWER_ON_LINE = 0x1;
constexpr ULONG BATTERY_DISCHARGING = 0x2;
constexpr ULONG BATTERY_CHARGING = 0x4;
constexpr ULONG BATTERY_CRITICAL = 0x8;

constexpr ULONG BATTERY_UNKNOWN_CAPACITY = 0xFFFFFFFF;
constexpr ULONG BATTERY_UNKNOWN_VOLTAGE = 0xFFFFFFFF;
constexpr LONG BATTERY_UNKNOWN_RATE = static_cast<LONG>(0x80000000u);

enum BATTERY_QUERY_INFORMATION_LEVEL : int32_t {
  BatteryInformation = 0,
  BatteryGranularityInformation = 1,
  BatteryTemperature = 2,
  BatteryEstimatedTime = 3,
  BatteryDeviceName = 4,
  BatteryManufactureDate = 5,
  BatteryManufactureName = 6,
  BatteryUniqueID = 7,
  BatterySerialNumber = 8,
};

struct BATTERY_QUERY_INFORMATION {
  ULONG BatteryTag;
  BATTERY_QUERY_INFORMATION_LEVEL InformationLevel;
  LONG AtRate;
};

struct BATTERY_INFORMATION {
  ULONG Capabilities;
  UCHAR Technology;
  UCHAR Reserved[3];
  UCHAR Chemistry[4];
  ULONG DesignedCapacity;
  ULONG FullChargedCapacity;
  ULONG DefaultAlert1;
  ULONG DefaultAlert2;
  ULONG CriticalBias;
  ULONG CycleCount;
};

struct BATTERY_WAIT_STATUS {
  ULONG BatteryTag;
  ULONG Timeout;
  ULONG PowerState;
  ULONG LowCapacity;
  ULONG HighCapacity;
};

struct BATTERY_STATUS {
  ULONG PowerState;
  ULONG Capacity;
  ULONG Voltage;
  LONG Rate;
};

}  // namespace battery_class

static_assert(sizeof(GUID) == 16);
static_assert(sizeof(LARGE_INTEGER) == 8);
static_assert(sizeof(TOKEN_PRIVILEGES) == 16);
static_assert(sizeof(SYSTEMTIME) == 16);
static_assert(offsetof(SYSTEMTIME, wHour) == 8 && offsetof(SYSTEMTIME, wSecond) == 12);
static_assert(offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath) == 4);
static_assert(sizeof(battery_class::BATTERY_QUERY_INFORMATION) == 12);
static_assert(sizeof(battery_class::BATTERY_INFORMATION) == 36);
static_assert(offsetof(battery_class::BATTERY_INFORMATION, Chemistry) == 8);
static_assert(offsetof(battery_class::BATTERY_INFORMATION, DesignedCapacity) == 12);
static_assert(offsetof(battery_class::BATTERY_INFORMATION, CycleCount) == 32);
static_assert(sizeof(battery_class::BATTERY_WAIT_STATUS) == 20);
static_assert(sizeof(battery_class::BATTERY_STATUS) == 16);
static_assert(offsetof(battery_class::BATTERY_STATUS, Rate) == 12);
static_assert(sizeof(WCHAR) == 2);
#if !defined(_WIN32) || !defined(_WIN64)
static_assert(sizeof(INPUT) == 28);
#endif
#if !defined(_WIN32) || !defined(_WIN64)
static_assert(sizeof(SP_DEVICE_INTERFACE_DATA) == 28);
#endif
