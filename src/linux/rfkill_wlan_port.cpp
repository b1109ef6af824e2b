#include "linux/rfkill_wlan_port.h"

#include "common/guid.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <new>

#include "posix/owned_descriptor.h"
#include "posix/uuid_text.h"

using namespace native_wifi;

namespace {

constexpr DWORD kErrorNotEnoughMemory = 8;
constexpr DWORD kErrorNotFound = 1168;
constexpr uint8_t kRfkillTypeWlan = 1;
constexpr uint8_t kRfkillOpChange = 2;

// struct rfkill_event, the first version: the kernel takes this size from every writer.
struct RfkillEvent {
  uint32_t idx;
  uint8_t type;
  uint8_t op;
  uint8_t soft;
  uint8_t hard;
};
static_assert(sizeof(RfkillEvent) == 8);

std::string trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
    text.pop_back();
  }
  return text;
}

bool flag(SysfsFiles& files, const std::string& path) {
  return trimmed(files.read(path, 16).value_or("0")) == "1";
}

}  // namespace

std::vector<RfkillSwitch> wlan_switches(SysfsFiles& files, const std::string& rfkill_root) {
  std::vector<RfkillSwitch> switches;
  for (const std::string& entry : files.list(rfkill_root)) {
    uint32_t index = 0;
    const char* digits = entry.c_str() + 6;
    if (entry.rfind("rfkill", 0) != 0 ||
        std::from_chars(digits, entry.c_str() + entry.size(), index).ec != std::errc()) {
      continue;
    }
    const std::string directory = rfkill_root + "/" + entry;
    if (trimmed(files.read(directory + "/type", 32).value_or("")) != "wlan") {
      continue;
    }
    switches.push_back({index, trimmed(files.read(directory + "/name", 64).value_or("")),
                        flag(files, directory + "/soft"), flag(files, directory + "/hard")});
  }
  std::sort(switches.begin(), switches.end(),
            [](const RfkillSwitch& a, const RfkillSwitch& b) { return a.index < b.index; });
  return switches;
}

std::vector<std::string> wireless_interfaces(SysfsFiles& files, const std::string& net_root) {
  std::vector<std::string> names;
  for (const std::string& name : files.list(net_root)) {
    if (!files.list(net_root + "/" + name + "/wireless").empty() ||
        files.read(net_root + "/" + name + "/phy80211/name", 64)) {
      names.push_back(name);
    }
  }
  return names;
}

GUID interface_guid(const std::string& name) {
  // FNV-1a over the name, spread over the GUID's bytes; marked as a name-based (version 5 style) GUID.
  uint64_t hash = 14695981039346656037u;
  uint64_t second = 1099511628211u;
  for (char c : name) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
    second = (second ^ hash) * 14695981039346656037u;
  }
  GUID guid{};
  guid.Data1 = static_cast<uint32_t>(hash >> 32);
  guid.Data2 = static_cast<uint16_t>(hash >> 16);
  guid.Data3 = static_cast<uint16_t>((hash & 0x0FFF) | 0x5000);
  for (int i = 0; i < 8; ++i) {
    guid.Data4[i] = static_cast<unsigned char>(second >> (8 * i));
  }
  guid.Data4[0] = static_cast<unsigned char>((guid.Data4[0] & 0x3F) | 0x80);
  return guid;
}

RfkillWlanPort::~RfkillWlanPort() {
  for (void* block : blocks_) {
    std::free(block);
  }
}

void* RfkillWlanPort::hand_out(size_t size) {
  void* block = std::calloc(1, size);
  if (block != nullptr) {
    blocks_.insert(block);
  }
  return block;
}

bool RfkillWlanPort::known_interface(const GUID* guid) {
  if (guid == nullptr) {
    return false;
  }
  for (const std::string& name : wireless_interfaces(files_, paths_.net_root)) {
    if (same_guid(guid, interface_guid(name))) {
      return true;
    }
  }
  return false;
}

DWORD RfkillWlanPort::WlanOpenHandle(DWORD client_version, void*, DWORD* negotiated_version, HANDLE* client) {
  if (client == nullptr || negotiated_version == nullptr || (client_version != 1 && client_version != 2)) {
    return ERROR_INVALID_PARAMETER;
  }
  *negotiated_version = client_version;
  *client = reinterpret_cast<HANDLE>(next_client_++);
  clients_.insert(*client);
  return ERROR_SUCCESS;
}

DWORD RfkillWlanPort::WlanCloseHandle(HANDLE client, void*) {
  return clients_.erase(client) != 0 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

DWORD RfkillWlanPort::WlanEnumInterfaces(HANDLE client, void*, WLAN_INTERFACE_INFO_LIST** list) {
  if (!known_client(client) || list == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  const std::vector<std::string> names = wireless_interfaces(files_, paths_.net_root);
  const size_t count = names.empty() ? 1 : names.size();
  auto* answer = static_cast<WLAN_INTERFACE_INFO_LIST*>(
      hand_out(offsetof(WLAN_INTERFACE_INFO_LIST, InterfaceInfo) + count * sizeof(WLAN_INTERFACE_INFO)));
  if (answer == nullptr) {
    return kErrorNotEnoughMemory;
  }
  answer->dwNumberOfItems = static_cast<DWORD>(names.size());
  WLAN_INTERFACE_INFO* info = answer->InterfaceInfo;
  for (size_t i = 0; i < names.size(); ++i) {
    info[i].InterfaceGuid = interface_guid(names[i]);
    for (size_t c = 0; c < names[i].size() && c < 255; ++c) {
      info[i].strInterfaceDescription[c] = static_cast<WCHAR>(static_cast<unsigned char>(names[i][c]));
    }
    info[i].isState = 0;  // wlan_interface_state_not_ready: rfkill knows the radio, not the connection
  }
  *list = answer;
  return ERROR_SUCCESS;
}

DWORD RfkillWlanPort::WlanQueryInterface(HANDLE client, const GUID* guid, DWORD opcode, void*,
                                         DWORD* data_size, void** data, int32_t* value_type) {
  if (!known_client(client) || data_size == nullptr || data == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  *data_size = 0;
  *data = nullptr;
  if (!known_interface(guid)) {
    return kErrorNotFound;
  }
  if (opcode != wlan_intf_opcode_radio_state) {
    return ERROR_NOT_SUPPORTED;
  }
  const std::vector<RfkillSwitch> switches = wlan_switches(files_, paths_.rfkill_root);
  if (switches.empty()) {
    problem_ = "no wlan switch under " + paths_.rfkill_root;
    return ERROR_NOT_SUPPORTED;
  }
  auto* state = static_cast<WLAN_RADIO_STATE*>(hand_out(sizeof(WLAN_RADIO_STATE)));
  if (state == nullptr) {
    return kErrorNotEnoughMemory;
  }
  const size_t count = switches.size() < 64 ? switches.size() : 64;
  state->dwNumberOfPhys = static_cast<DWORD>(count);
  for (size_t i = 0; i < count; ++i) {
    state->PhyRadioState[i] = {static_cast<DWORD>(i),
                               switches[i].soft_blocked ? dot11_radio_state_off : dot11_radio_state_on,
                               switches[i].hard_blocked ? dot11_radio_state_off : dot11_radio_state_on};
  }
  *data_size = sizeof(WLAN_RADIO_STATE);
  *data = state;
  if (value_type != nullptr) {
    *value_type = 0;  // wlan_opcode_value_type_query_only
  }
  return ERROR_SUCCESS;
}

DWORD RfkillWlanPort::WlanGetInterfaceCapability(HANDLE client, const GUID* guid, void*,
                                                 WLAN_INTERFACE_CAPABILITY** capability) {
  if (!known_client(client) || capability == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  *capability = nullptr;
  if (!known_interface(guid)) {
    return kErrorNotFound;
  }
  auto* answer = static_cast<WLAN_INTERFACE_CAPABILITY*>(hand_out(sizeof(WLAN_INTERFACE_CAPABILITY)));
  if (answer == nullptr) {
    return kErrorNotEnoughMemory;
  }
  const size_t count = wlan_switches(files_, paths_.rfkill_root).size();
  answer->dwNumberOfSupportedPhys = static_cast<DWORD>(count < 64 ? count : 64);
  *capability = answer;
  return ERROR_SUCCESS;
}

DWORD RfkillWlanPort::WlanSetInterface(HANDLE client, const GUID* guid, DWORD opcode, DWORD data_size,
                                       const void* data, void*) {
  if (!known_client(client) || data == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (!known_interface(guid)) {
    return kErrorNotFound;
  }
  if (opcode != wlan_intf_opcode_radio_state || data_size != sizeof(WLAN_PHY_RADIO_STATE)) {
    return ERROR_INVALID_PARAMETER;
  }
  WLAN_PHY_RADIO_STATE wanted{};
  std::memcpy(&wanted, data, sizeof wanted);
  const std::vector<RfkillSwitch> switches = wlan_switches(files_, paths_.rfkill_root);
  if (wanted.dwPhyIndex >= switches.size() || (wanted.dot11SoftwareRadioState != dot11_radio_state_on &&
                                               wanted.dot11SoftwareRadioState != dot11_radio_state_off)) {
    return ERROR_INVALID_PARAMETER;
  }
  const RfkillEvent event{switches[wanted.dwPhyIndex].index, kRfkillTypeWlan, kRfkillOpChange,
                          static_cast<uint8_t>(wanted.dot11SoftwareRadioState == dot11_radio_state_off), 0};
  // Appending, so that a test's plain file keeps every event; the device itself ignores the flag.
  auto fd = owned_descriptor(::open(paths_.control.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
  if (fd.get() < 0) {
    problem_ = paths_.control + ": " + std::strerror(errno);
    return ERROR_ACCESS_DENIED;
  }
  const ssize_t written = ::write(fd.get(), &event, sizeof event);
  const int write_error = errno;
  fd.reset();
  if (written != static_cast<ssize_t>(sizeof event)) {
    problem_ = paths_.control + ": " + std::strerror(written < 0 ? write_error : EIO);
    return ERROR_GEN_FAILURE;
  }
  problem_.clear();
  ++radio_sets_;
  return ERROR_SUCCESS;
}

void RfkillWlanPort::WlanFreeMemory(void* memory) {
  if (blocks_.erase(memory) != 0) {
    std::free(memory);
  }
}

int32_t RfkillWlanPort::UuidToStringW(const GUID* uuid, char16_t** text) {
  if (uuid == nullptr || text == nullptr) {
    return kRpcInvalidStringUuid;
  }
  const std::u16string converted = uuid_to_text(*uuid);
  *text = new (std::nothrow) char16_t[converted.size() + 1];
  if (*text == nullptr) {
    return kErrorNotEnoughMemory;
  }
  std::memcpy(*text, converted.c_str(), (converted.size() + 1) * sizeof(char16_t));
  return RPC_S_OK;
}

int32_t RfkillWlanPort::RpcStringFreeW(char16_t** text) {
  if (text == nullptr) {
    return kRpcInvalidStringUuid;
  }
  delete[] * text;
  *text = nullptr;
  return RPC_S_OK;
}

int32_t RfkillWlanPort::UuidFromStringW(const char16_t* text, GUID* uuid) {
  return uuid_from_string(text, uuid);
}
