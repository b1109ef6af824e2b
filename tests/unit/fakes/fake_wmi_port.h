// A WMI service with a scripted set of baseboards. It logs every call with its arguments, counts
// what is live (COM, objects, strings, handles) and can refuse any step. The companion thread runs
// when it is joined, in the joining thread, as if it got no processor before.
#pragma once

#include <cstring>
#include <deque>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "ports/wmi_port.h"

class FakeWmiPort : public WmiPort {
 public:
  using Unit = std::remove_pointer_t<BSTR>;

  struct Property {
    enum class Kind { text, null, number, null_string, unreadable } kind = Kind::text;
    std::u16string text;
  };
  static Property text(std::u16string value) { return {Property::Kind::text, std::move(value)}; }
  struct Board {
    Property manufacturer, product, serial_number;
  };

  std::vector<Board> boards;
  std::vector<std::string> calls;
  std::set<std::string> refused;  // "CoCreateInstance", "SysAllocString WQL", ...
  int event_timeouts = 0;         // waits on the event that time out although it may be set
  std::string standard_output;
  LPTHREAD_START_ROUTINE thread_start = nullptr;

  // What is live: each must be zero when a query has returned.
  int com_initialized = 0, live_objects = 0, live_handles = 0, bad_releases = 0;
  int live_strings() const { return static_cast<int>(strings_.size()); }

  HRESULT CoInitializeEx(void* reserved, DWORD concurrency) override {
    log("CoInitializeEx " + null_or(reserved) + " " + std::to_string(concurrency));
    if (refuses("CoInitializeEx")) {
      return E_FAIL;
    }
    ++com_initialized;
    return S_OK;
  }
  HRESULT CoInitializeSecurity(void* descriptor, LONG service_count, void* services, void* reserved1,
                               DWORD authn_level, DWORD imp_level, void* auth_list, DWORD capabilities,
                               void* reserved3) override {
    log("CoInitializeSecurity " + null_or(descriptor) + " " + std::to_string(service_count) + " " +
        null_or(services) + " " + null_or(reserved1) + " " + std::to_string(authn_level) + " " +
        std::to_string(imp_level) + " " + null_or(auth_list) + " " + std::to_string(capabilities) + " " +
        null_or(reserved3));
    return refuses("CoInitializeSecurity") ? E_FAIL : S_OK;
  }
  HRESULT CoCreateInstance(const GUID* class_id, void* outer, DWORD context, const GUID* interface_id,
                           IWbemLocator** locator) override {
    log("CoCreateInstance " + guid_text(*class_id) + " " + null_or(outer) + " " + std::to_string(context) +
        " " + guid_text(*interface_id));
    *locator = nullptr;
    if (refuses("CoCreateInstance")) {
      return E_FAIL;
    }
    ++live_objects;
    *locator = reinterpret_cast<IWbemLocator*>(&locator_);
    return S_OK;
  }
  void CoUninitialize() override {
    log("CoUninitialize");
    --com_initialized;
  }

  BSTR SysAllocString(const char16_t* text) override {
    log("SysAllocString " + narrow(text));
    return refuses("SysAllocString " + narrow(text)) ? nullptr : allocate(text);
  }
  void SysFreeString(BSTR text) override {
    log("SysFreeString " + narrow(text));
    release_string(text);
  }

  HANDLE CreateEventW(void* attributes, BOOL manual_reset, BOOL initial_state,
                      const char16_t* name) override {
    log("CreateEventW " + null_or(attributes) + " " + std::to_string(manual_reset) + " " +
        std::to_string(initial_state) + " " + null_or(name));
    ++live_handles;
    event_set_ = initial_state != FALSE;
    return &event_;
  }
  HANDLE CreateThread(void* attributes, size_t stack_size, LPTHREAD_START_ROUTINE start, void* parameter,
                      DWORD flags, DWORD* thread_id) override {
    log("CreateThread " + null_or(attributes) + " " + std::to_string(stack_size) + " " +
        std::to_string(flags) + " " + null_or(thread_id));
    ++live_handles;
    thread_start = start;
    thread_parameter_ = parameter;
    thread_ended_ = false;
    return &thread_;
  }
  BOOL SetEvent(HANDLE event) override {
    log("SetEvent " + handle_name(event));
    event_set_ = event == &event_;
    return event_set_ ? TRUE : FALSE;
  }
  DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) override {
    log("WaitForSingleObject " + handle_name(handle) + " " +
        (milliseconds == INFINITE ? std::string("INFINITE") : std::to_string(milliseconds)));
    if (handle == &thread_) {
      if (!thread_ended_) {
        thread_exit_code = thread_start(thread_parameter_);
        thread_ended_ = true;
      }
      return WAIT_OBJECT_0;
    }
    if (handle != &event_) {
      return WAIT_FAILED;
    }
    if (event_timeouts > 0) {
      --event_timeouts;
      return WAIT_TIMEOUT;
    }
    // An event nobody sets would keep a real thread waiting for ever; here it ends the wait loop.
    return event_set_ ? WAIT_OBJECT_0 : WAIT_FAILED;
  }
  BOOL CloseHandle(HANDLE handle) override {
    log("CloseHandle " + handle_name(handle));
    --live_handles;
    return TRUE;
  }

  HRESULT ConnectServer(IWbemLocator* locator, BSTR network_resource, BSTR user, BSTR password, BSTR locale,
                        LONG security_flags, BSTR authority, IWbemContext* context,
                        IWbemServices** services) override {
    log("ConnectServer " + object_name(locator) + " " + narrow(network_resource) + " " + narrow(user) + " " +
        narrow(password) + " " + narrow(locale) + " " + std::to_string(security_flags) + " " +
        narrow(authority) + " " + null_or(context));
    *services = nullptr;
    if (refuses("ConnectServer")) {
      return E_FAIL;
    }
    ++live_objects;
    *services = reinterpret_cast<IWbemServices*>(&services_);
    return S_OK;
  }
  HRESULT CoSetProxyBlanket(IWbemServices* proxy, DWORD authn_service, DWORD authz_service,
                            char16_t* principal_name, DWORD authn_level, DWORD imp_level, void* auth_info,
                            DWORD capabilities) override {
    log("CoSetProxyBlanket " + object_name(proxy) + " " + std::to_string(authn_service) + " " +
        std::to_string(authz_service) + " " + null_or(principal_name) + " " + std::to_string(authn_level) +
        " " + std::to_string(imp_level) + " " + null_or(auth_info) + " " + std::to_string(capabilities));
    return refuses("CoSetProxyBlanket") ? E_FAIL : S_OK;
  }
  HRESULT ExecQuery(IWbemServices* services, BSTR language, BSTR query, LONG flags, IWbemContext* context,
                    IEnumWbemClassObject** enumerator) override {
    log("ExecQuery " + object_name(services) + " " + narrow(language) + " " + narrow(query) + " " +
        std::to_string(flags) + " " + null_or(context));
    *enumerator = nullptr;
    if (refuses("ExecQuery")) {
      return E_FAIL;
    }
    ++live_objects;
    next_board_ = 0;
    *enumerator = reinterpret_cast<IEnumWbemClassObject*>(&enumerator_);
    return S_OK;
  }
  HRESULT Next(IEnumWbemClassObject* enumerator, LONG timeout, ULONG count, IWbemClassObject** objects,
               ULONG* returned) override {
    log("Next " + object_name(enumerator) + " " + std::to_string(timeout) + " " + std::to_string(count));
    if (next_board_ >= boards.size()) {
      *returned = 0;
      return S_FALSE;
    }
    ++live_objects;
    instances_.push_back(static_cast<int>(next_board_++));
    objects[0] = reinterpret_cast<IWbemClassObject*>(&instances_.back());
    *returned = 1;
    return S_OK;
  }
  HRESULT Get(IWbemClassObject* object, const char16_t* name, LONG flags, VARIANT* value, LONG* type,
              LONG* flavor) override {
    log("Get " + object_name(object) + " " + narrow(name) + " " + std::to_string(flags) + " " +
        null_or(type) + " " + null_or(flavor));
    const Property* property = find(object, narrow(name));
    if (property == nullptr || property->kind == Property::Kind::unreadable) {
      return E_FAIL;  // WMI leaves the VARIANT alone
    }
    std::memset(value, 0, sizeof *value);
    switch (property->kind) {
      case Property::Kind::text:
        value->vt = VT_BSTR;
        value->bstrVal = allocate(property->text.c_str());
        break;
      case Property::Kind::null:
        value->vt = VT_NULL;
        break;
      case Property::Kind::number:
        value->vt = VT_I4;
        value->lVal = 42;
        break;
      default:
        value->vt = VT_BSTR;
        value->bstrVal = nullptr;
        break;
    }
    return S_OK;
  }
  HRESULT VariantClear(VARIANT* value) override {
    log("VariantClear");
    if (value->vt == VT_BSTR) {
      release_string(value->bstrVal);
    }
    value->vt = VT_EMPTY;
    return S_OK;
  }

  ULONG Release(IWbemLocator* locator) override { return release(object_name(locator)); }
  ULONG Release(IWbemServices* services) override { return release(object_name(services)); }
  ULONG Release(IEnumWbemClassObject* enumerator) override { return release(object_name(enumerator)); }
  ULONG Release(IWbemClassObject* object) override { return release(object_name(object)); }

  void write_standard_output(const char* text) override { standard_output += text; }

  DWORD thread_exit_code = 0xDEAD;

 private:
  bool refuses(const std::string& step) const { return refused.count(step) != 0; }
  void log(std::string call) { calls.push_back(std::move(call)); }

  BSTR allocate(const char16_t* text) {
    auto copy = std::make_unique<std::basic_string<Unit>>();
    for (; *text != 0; ++text) {
      copy->push_back(static_cast<Unit>(*text));
    }
    strings_.push_back(std::move(copy));
    return strings_.back()->data();
  }
  void release_string(BSTR text) {
    if (text == nullptr) {
      return;
    }
    for (auto it = strings_.begin(); it != strings_.end(); ++it) {
      if ((*it)->data() == text) {
        strings_.erase(it);
        return;
      }
    }
    ++bad_releases;  // freed twice, or never allocated here
  }
  ULONG release(const std::string& name) {
    log("Release " + name);
    if (name == "?") {
      ++bad_releases;
      return 0;
    }
    --live_objects;
    return 0;
  }

  const Property* find(IWbemClassObject* object, const std::string& name) const {
    for (const int& instance : instances_) {
      if (reinterpret_cast<const void*>(&instance) != object) {
        continue;
      }
      const Board& board = boards[static_cast<size_t>(instance)];
      if (name == "Manufacturer") {
        return &board.manufacturer;
      }
      if (name == "Product") {
        return &board.product;
      }
      return name == "SerialNumber" ? &board.serial_number : nullptr;
    }
    return nullptr;
  }

  std::string object_name(const void* object) const {
    if (object == &locator_) {
      return "locator";
    }
    if (object == &services_) {
      return "services";
    }
    if (object == &enumerator_) {
      return "enumerator";
    }
    for (const int& instance : instances_) {
      if (object == &instance) {
        return "object" + std::to_string(instance + 1);
      }
    }
    return "?";
  }
  std::string handle_name(HANDLE handle) const {
    return handle == &event_ ? "event" : handle == &thread_ ? "thread" : "?";
  }
  static std::string null_or(const void* pointer) { return pointer == nullptr ? "null" : "set"; }
  template <class Char>
  static std::string narrow(const Char* text) {
    if (text == nullptr) {
      return "null";
    }
    std::string result;
    for (; *text != 0; ++text) {
      result += *text < 0x80 ? static_cast<char>(*text) : '?';
    }
    return result;
  }
  static std::string guid_text(const GUID& guid) {
    const auto hex = [](uint32_t value, int digits) {
      std::string text;
      for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
        text += "0123456789ABCDEF"[(value >> shift) & 0xF];
      }
      return text;
    };
    std::string text = "{" + hex(guid.Data1, 8) + "-" + hex(guid.Data2, 4) + "-" + hex(guid.Data3, 4) + "-";
    for (int i = 0; i < 8; ++i) {
      text += (i == 2 ? "-" : "") + hex(guid.Data4[i], 2);
    }
    return text + "}";
  }

  std::vector<std::unique_ptr<std::basic_string<Unit>>> strings_;
  std::deque<int> instances_;  // one per delivered class object; stable addresses
  size_t next_board_ = 0;
  int locator_ = 0, services_ = 0, enumerator_ = 0, event_ = 0, thread_ = 0;
  bool event_set_ = false, thread_ended_ = true;
  void* thread_parameter_ = nullptr;
};
