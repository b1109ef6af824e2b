#include "posix/base_board_wmi_port.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "common/guid.h"
#include "text/wide_text.h"

namespace {

constexpr HRESULT RPC_E_TOO_LATE = static_cast<HRESULT>(0x80010119u);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT WBEM_E_NOT_FOUND = static_cast<HRESULT>(0x80041002u);
constexpr HRESULT WBEM_E_INVALID_CLASS = static_cast<HRESULT>(0x80041010u);
constexpr HRESULT WBEM_E_INVALID_NAMESPACE = static_cast<HRESULT>(0x8004100Eu);
constexpr HRESULT WBEM_E_INVALID_QUERY_TYPE = static_cast<HRESULT>(0x80041050u);
constexpr HRESULT WBEM_S_FALSE = 1;
constexpr size_t kPrefixUnits = 2;  // a BSTR's 32-bit byte count sits before its first character
constexpr size_t kBoardInstances = 1;

// WMI's names and WQL keywords compare without regard to case.
bool same_text(const char16_t* text, const char16_t* expected) {
  return text != nullptr && wide_equal_ignoring_case(text, expected);
}

}  // namespace

BaseBoardWmiPort::~BaseBoardWmiPort() = default;

HRESULT BaseBoardWmiPort::CoInitializeEx(void* reserved, DWORD) {
  if (reserved != nullptr) {
    return E_INVALIDARG;
  }
  ++com_initialised_;
  return com_initialised_ == 1 ? S_OK : S_FALSE;  // S_FALSE: already initialised on this thread
}

HRESULT BaseBoardWmiPort::CoInitializeSecurity(void*, LONG, void*, void*, DWORD, DWORD, void*, DWORD, void*) {
  if (com_initialised_ == 0) {
    return CO_E_NOTINITIALIZED;
  }
  if (security_initialised_) {
    return RPC_E_TOO_LATE;  // once per process
  }
  security_initialised_ = true;
  return S_OK;
}

void* BaseBoardWmiPort::create_object(Kind kind) {
  auto object = std::make_unique<ComObject>(ComObject{kind});
  void* pointer = object.get();
  objects_.emplace(pointer, std::move(object));
  return pointer;
}

BaseBoardWmiPort::ComObject* BaseBoardWmiPort::object_of(const void* pointer, Kind kind) {
  const auto found = objects_.find(pointer);
  return found != objects_.end() && found->second->kind == kind ? found->second.get() : nullptr;
}

ULONG BaseBoardWmiPort::release(const void* pointer, Kind kind) {
  ComObject* object = object_of(pointer, kind);
  if (object == nullptr) {
    ++bad_releases_;
    return 0;
  }
  const ULONG remaining = --object->references;
  if (remaining == 0) {
    objects_.erase(pointer);
  }
  return remaining;
}

HRESULT BaseBoardWmiPort::CoCreateInstance(const GUID* class_id, void* outer, DWORD, const GUID* interface_id,
                                           IWbemLocator** locator) {
  if (locator == nullptr) {
    return E_POINTER;
  }
  *locator = nullptr;
  if (com_initialised_ == 0) {
    return CO_E_NOTINITIALIZED;
  }
  if (outer != nullptr || !same_guid(class_id, wbem_ids::CLSID_WbemLocator) ||
      !same_guid(interface_id, wbem_ids::IID_IWbemLocator)) {
    return REGDB_E_CLASSNOTREG;
  }
  *locator = static_cast<IWbemLocator*>(create_object(Kind::locator));
  return S_OK;
}

void BaseBoardWmiPort::CoUninitialize() {
  if (com_initialised_ > 0) {
    --com_initialised_;
  }
}

BSTR BaseBoardWmiPort::SysAllocString(const char16_t* text) {
  if (text == nullptr) {
    return nullptr;
  }
  const size_t length = std::u16string_view(text).size();
  auto block = std::make_unique<char16_t[]>(kPrefixUnits + length + 1);
  const uint32_t bytes = static_cast<uint32_t>(length * sizeof(char16_t));
  std::memcpy(block.get(), &bytes, sizeof bytes);
  std::memcpy(block.get() + kPrefixUnits, text, (length + 1) * sizeof(char16_t));
  BSTR string = reinterpret_cast<BSTR>(block.get() + kPrefixUnits);
  strings_.emplace(block.get() + kPrefixUnits, std::move(block));
  return string;
}

void BaseBoardWmiPort::SysFreeString(BSTR text) {
  if (text != nullptr && strings_.erase(reinterpret_cast<const char16_t*>(text)) != 1) {
    ++bad_releases_;
  }
}

HANDLE BaseBoardWmiPort::CreateEventW(void*, BOOL manual_reset, BOOL initial_state, const char16_t* name) {
  if (name != nullptr) {
    return nullptr;  // named objects are not simulated
  }
  return kernel_.create_event(manual_reset != FALSE, initial_state != FALSE);
}

HANDLE BaseBoardWmiPort::CreateThread(void*, size_t, LPTHREAD_START_ROUTINE start, void* parameter,
                                      DWORD flags, DWORD* thread_id) {
  if (flags != 0) {
    return nullptr;  // threads start at once here
  }
  const HANDLE thread = kernel_.create_thread(start, parameter);
  if (thread != nullptr) {
    ++threads_started_;
    if (thread_id != nullptr) {
      *thread_id = static_cast<DWORD>(reinterpret_cast<uintptr_t>(thread));
    }
  }
  return thread;
}

BOOL BaseBoardWmiPort::SetEvent(HANDLE event) {
  return kernel_.set_event(event) ? TRUE : FALSE;
}

DWORD BaseBoardWmiPort::WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  return kernel_.wait(handle, milliseconds);
}

BOOL BaseBoardWmiPort::CloseHandle(HANDLE handle) {
  return kernel_.close(handle) ? TRUE : FALSE;
}

HRESULT BaseBoardWmiPort::ConnectServer(IWbemLocator* locator, BSTR network_resource, BSTR, BSTR, BSTR, LONG,
                                        BSTR, IWbemContext*, IWbemServices** services) {
  if (services == nullptr) {
    return E_POINTER;
  }
  *services = nullptr;
  if (object_of(locator, Kind::locator) == nullptr) {
    return E_INVALIDARG;
  }
  if (!same_text(reinterpret_cast<const char16_t*>(network_resource), u"root\\cimv2")) {
    return WBEM_E_INVALID_NAMESPACE;
  }
  *services = static_cast<IWbemServices*>(create_object(Kind::services));
  return S_OK;
}

HRESULT BaseBoardWmiPort::CoSetProxyBlanket(IWbemServices* proxy, DWORD, DWORD, char16_t*, DWORD, DWORD,
                                            void*, DWORD) {
  return object_of(proxy, Kind::services) != nullptr ? S_OK : E_INVALIDARG;
}

HRESULT BaseBoardWmiPort::ExecQuery(IWbemServices* services, BSTR language, BSTR query, LONG, IWbemContext*,
                                    IEnumWbemClassObject** enumerator) {
  if (enumerator == nullptr) {
    return E_POINTER;
  }
  *enumerator = nullptr;
  if (object_of(services, Kind::services) == nullptr) {
    return E_INVALIDARG;
  }
  if (!same_text(reinterpret_cast<const char16_t*>(language), u"WQL")) {
    return WBEM_E_INVALID_QUERY_TYPE;
  }
  // The one class this machine describes.
  if (!same_text(reinterpret_cast<const char16_t*>(query), u"SELECT * FROM Win32_BaseBoard")) {
    return WBEM_E_INVALID_CLASS;
  }
  *enumerator = static_cast<IEnumWbemClassObject*>(create_object(Kind::enumerator));
  return S_OK;
}

HRESULT BaseBoardWmiPort::Next(IEnumWbemClassObject* enumerator, LONG, ULONG count,
                               IWbemClassObject** objects, ULONG* returned) {
  if (objects == nullptr || returned == nullptr) {
    return E_POINTER;
  }
  *returned = 0;
  ComObject* source = object_of(enumerator, Kind::enumerator);
  if (source == nullptr) {
    return E_INVALIDARG;
  }
  while (*returned < count && source->delivered < kBoardInstances) {
    objects[*returned] = static_cast<IWbemClassObject*>(create_object(Kind::board));
    ++*returned;
    ++source->delivered;
  }
  return *returned == count ? S_OK : WBEM_S_FALSE;
}

HRESULT BaseBoardWmiPort::Get(IWbemClassObject* object, const char16_t* name, LONG, VARIANT* value,
                              LONG* type, LONG* flavor) {
  if (object_of(object, Kind::board) == nullptr || name == nullptr) {
    return E_INVALIDARG;
  }
  const char16_t* text = nullptr;
  if (same_text(name, u"Manufacturer")) {
    text = board_.manufacturer.c_str();
  } else if (same_text(name, u"Product")) {
    text = board_.product.c_str();
  } else if (same_text(name, u"SerialNumber")) {
    text = board_.serial_number.c_str();
  } else {
    return WBEM_E_NOT_FOUND;
  }
  if (value != nullptr) {
    std::memset(value, 0, sizeof *value);
    value->vt = VT_BSTR;
    value->bstrVal = SysAllocString(text);
  }
  if (type != nullptr) {
    *type = VT_BSTR;  // CIM_STRING
  }
  if (flavor != nullptr) {
    *flavor = 0;
  }
  return S_OK;
}

HRESULT BaseBoardWmiPort::VariantClear(VARIANT* value) {
  if (value == nullptr) {
    return E_INVALIDARG;
  }
  if (value->vt == VT_BSTR) {
    SysFreeString(value->bstrVal);
  }
  value->vt = VT_EMPTY;
  return S_OK;
}

ULONG BaseBoardWmiPort::Release(IWbemLocator* locator) {
  return release(locator, Kind::locator);
}

ULONG BaseBoardWmiPort::Release(IWbemServices* services) {
  return release(services, Kind::services);
}

ULONG BaseBoardWmiPort::Release(IEnumWbemClassObject* enumerator) {
  return release(enumerator, Kind::enumerator);
}

ULONG BaseBoardWmiPort::Release(IWbemClassObject* object) {
  return release(object, Kind::board);
}

void BaseBoardWmiPort::write_standard_output(const char* text) {
  // The terminal belongs to curses; standard error reaches the user after the program has ended.
  std::fputs(text, stderr);
}
