// The Native Wi-Fi port over rfkill: one interface per wireless network interface (a /sys/class/net
// entry with a "wireless" directory), its PHYs the rfkill switches of type wlan in index order, the
// software radio state their soft block. States are read from sysfs; a set is an rfkill event written
// to /dev/rfkill (a path a test can point at a file).
#pragma once

#include <set>
#include <string>
#include <vector>

#include "linux/sysfs_files.h"
#include "ports/wlan_port.h"

struct RfkillPaths {
  std::string net_root = "/sys/class/net";
  std::string rfkill_root = "/sys/class/rfkill";
  std::string control = "/dev/rfkill";
};

struct RfkillSwitch {
  uint32_t index = 0;  // the N of rfkillN
  std::string name;    // phy0, ideapad_wlan ...
  bool soft_blocked = false;
  bool hard_blocked = false;
};

// The wlan switches, in index order.
std::vector<RfkillSwitch> wlan_switches(SysfsFiles& files, const std::string& rfkill_root);
// The wireless network interfaces, sorted by name.
std::vector<std::string> wireless_interfaces(SysfsFiles& files, const std::string& net_root);
// A GUID for an interface name that stays the same from run to run.
GUID interface_guid(const std::string& name);

class RfkillWlanPort final : public WlanPort {
 public:
  RfkillWlanPort(SysfsFiles& files, RfkillPaths paths = {}) : files_(files), paths_(std::move(paths)) {}
  ~RfkillWlanPort() override;
  RfkillWlanPort(const RfkillWlanPort&) = delete;
  RfkillWlanPort& operator=(const RfkillWlanPort&) = delete;

  DWORD WlanOpenHandle(DWORD client_version, void* reserved, DWORD* negotiated_version,
                       HANDLE* client) override;
  DWORD WlanCloseHandle(HANDLE client, void* reserved) override;
  DWORD WlanEnumInterfaces(HANDLE client, void* reserved,
                           native_wifi::WLAN_INTERFACE_INFO_LIST** list) override;
  DWORD WlanQueryInterface(HANDLE client, const GUID* interface_guid, DWORD opcode, void* reserved,
                           DWORD* data_size, void** data, int32_t* value_type) override;
  DWORD WlanGetInterfaceCapability(HANDLE client, const GUID* interface_guid, void* reserved,
                                   native_wifi::WLAN_INTERFACE_CAPABILITY** capability) override;
  DWORD WlanSetInterface(HANDLE client, const GUID* interface_guid, DWORD opcode, DWORD data_size,
                         const void* data, void* reserved) override;
  void WlanFreeMemory(void* memory) override;
  int32_t UuidToStringW(const GUID* uuid, char16_t** text) override;
  int32_t RpcStringFreeW(char16_t** text) override;
  int32_t UuidFromStringW(const char16_t* text, GUID* uuid) override;

  // For the status strip.
  std::vector<RfkillSwitch> switches() { return wlan_switches(files_, paths_.rfkill_root); }
  const std::string& problem() const { return problem_; }
  // Radio states this port has set so far: the strip reads the switches again after one.
  long radio_sets() const { return radio_sets_; }
  int outstanding() const { return static_cast<int>(clients_.size() + blocks_.size()); }

 private:
  bool known_client(HANDLE client) const { return clients_.count(client) != 0; }
  bool known_interface(const GUID* guid);
  void* hand_out(size_t size);

  SysfsFiles& files_;
  RfkillPaths paths_;
  std::set<HANDLE> clients_;
  std::set<void*> blocks_;
  uintptr_t next_client_ = 0x5000;
  std::string problem_;
  long radio_sets_ = 0;
};
