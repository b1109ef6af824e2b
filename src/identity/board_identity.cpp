#include "identity/board_identity.h"

#include <cstring>

namespace {

constexpr char16_t kNamespace[] = u"root\\cimv2";
constexpr char16_t kQueryLanguage[] = u"WQL";
constexpr char16_t kQuery[] = u"SELECT * FROM Win32_BaseBoard";
constexpr LONG kQueryFlags = WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY;

// Uninitialises COM for this thread when the query ends after a successful CoInitializeEx.
class ComApartment {
 public:
  explicit ComApartment(WmiPort& wmi) : wmi_(wmi) {}
  ~ComApartment() { wmi_.CoUninitialize(); }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  WmiPort& wmi_;
};

// One reference to a COM object, released when the owner goes.
template <class Interface>
class ComReference {
 public:
  explicit ComReference(WmiPort& wmi) : wmi_(wmi) {}
  ~ComReference() { reset(); }
  ComReference(const ComReference&) = delete;
  ComReference& operator=(const ComReference&) = delete;
  Interface* get() const { return object_; }
  Interface** receive() {
    reset();
    return &object_;
  }
  void reset() {
    if (object_ != nullptr) {
      wmi_.Release(object_);
      object_ = nullptr;
    }
  }

 private:
  WmiPort& wmi_;
  Interface* object_ = nullptr;
};

class SystemString {
 public:
  SystemString(WmiPort& wmi, const char16_t* text) : wmi_(wmi), text_(wmi.SysAllocString(text)) {}
  ~SystemString() { reset(); }
  SystemString(const SystemString&) = delete;
  SystemString& operator=(const SystemString&) = delete;
  BSTR get() const { return text_; }
  bool allocated() const { return text_ != nullptr; }
  void reset() {
    if (text_ != nullptr) {
      wmi_.SysFreeString(text_);
      text_ = nullptr;
    }
  }

 private:
  WmiPort& wmi_;
  BSTR text_;
};

class KernelHandle {
 public:
  KernelHandle(WmiPort& wmi, HANDLE handle) : wmi_(wmi), handle_(handle) {}
  ~KernelHandle() { reset(); }
  KernelHandle(const KernelHandle&) = delete;
  KernelHandle& operator=(const KernelHandle&) = delete;
  HANDLE get() const { return handle_; }
  void reset() {
    if (handle_ != nullptr) {
      wmi_.CloseHandle(handle_);
      handle_ = nullptr;
    }
  }

 private:
  WmiPort& wmi_;
  HANDLE handle_;
};

// The event and the companion thread: started together, and on every way out the event is set,
// the thread joined and both handles closed, event first.
class CompanionThread {
 public:
  explicit CompanionThread(WmiPort& wmi)
      : wmi_(wmi),
        event_(wmi, wmi.CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        companion_{wmi, event_.get()},
        thread_(wmi, wmi.CreateThread(nullptr, 0, run_board_identity_companion, &companion_, 0, nullptr)) {}
  ~CompanionThread() { stop(); }
  CompanionThread(const CompanionThread&) = delete;
  CompanionThread& operator=(const CompanionThread&) = delete;

  void stop() {
    if (event_.get() != nullptr) {
      wmi_.SetEvent(event_.get());
    }
    // The thread reads `companion_`, which lives in this object: it must have ended before it goes.
    if (thread_.get() != nullptr) {
      wmi_.WaitForSingleObject(thread_.get(), INFINITE);
    }
    event_.reset();
    thread_.reset();
  }

 private:
  WmiPort& wmi_;
  KernelHandle event_;
  BoardIdentityCompanion companion_;
  KernelHandle thread_;
};

// The one VARIANT of a property value, cleared when the property has been copied.
class PropertyValue {
 public:
  explicit PropertyValue(WmiPort& wmi) : wmi_(wmi) {
    std::memset(&value_, 0, sizeof value_);
    value_.vt = VT_EMPTY;
  }
  ~PropertyValue() { wmi_.VariantClear(&value_); }
  PropertyValue(const PropertyValue&) = delete;
  PropertyValue& operator=(const PropertyValue&) = delete;
  VARIANT* receive() { return &value_; }
  const VARIANT& get() const { return value_; }

 private:
  WmiPort& wmi_;
  VARIANT value_;
};

// At most the first 50 characters of a string value, always terminated; anything else gives "".
void copy_property_text(char16_t (&field)[kBoardTextSize], const VARIANT& value) {
  size_t length = 0;
  if (value.vt == VT_BSTR && value.bstrVal != nullptr) {
    for (; length < kBoardTextLimit && value.bstrVal[length] != 0; ++length) {
      field[length] = static_cast<char16_t>(value.bstrVal[length]);
    }
  }
  field[length] = 0;
}

// A failed Get leaves the VARIANT empty, so its result need not be looked at.
void read_property(WmiPort& wmi, IWbemClassObject* object, const char16_t* name,
                   char16_t (&field)[kBoardTextSize]) {
  PropertyValue value(wmi);
  wmi.Get(object, name, 0, value.receive(), nullptr, nullptr);
  copy_property_text(field, value.get());
}

void read_instances(BoardText& state, WmiPort& wmi, IEnumWbemClassObject* enumerator) {
  for (;;) {
    ComReference<IWbemClassObject> object(wmi);
    ULONG returned = 0;
    wmi.Next(enumerator, static_cast<LONG>(WBEM_INFINITE), 1, object.receive(), &returned);
    if (returned == 0 || object.get() == nullptr) {
      return;
    }
    read_property(wmi, object.get(), u"Manufacturer", state.board_manufacturer);
    read_property(wmi, object.get(), u"Product", state.board_product);
    read_property(wmi, object.get(), u"SerialNumber", state.board_serial_number);
  }
}

}  // namespace

DWORD WINAPI run_board_identity_companion(void* parameter) {
  const auto* companion = static_cast<const BoardIdentityCompanion*>(parameter);
  while (companion->wmi.WaitForSingleObject(companion->event, kCompanionWaitSliceMs) == WAIT_TIMEOUT) {
  }
  return 0;
}

int query_board_identity(BoardText& state, WmiPort& wmi) {
  if (FAILED(wmi.CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {
    return 1;
  }
  // Owners go in reverse order of declaration: the enumerator is released after the locator, and
  // COM is uninitialised last.
  ComApartment apartment(wmi);
  ComReference<IEnumWbemClassObject> enumerator(wmi);
  if (FAILED(wmi.CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                      RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr))) {
    return 1;
  }
  // A success that delivers no object is taken as a failure: the next call would go through it.
  ComReference<IWbemLocator> locator(wmi);
  if (FAILED(wmi.CoCreateInstance(&wbem_ids::CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                  &wbem_ids::IID_IWbemLocator, locator.receive())) ||
      locator.get() == nullptr) {
    return 1;
  }

  ComReference<IWbemServices> services(wmi);
  {
    SystemString namespace_path(wmi, kNamespace);
    if (!namespace_path.allocated()) {
      wmi.write_standard_output("Out of memory\n");
      return 1;
    }
    CompanionThread companion(wmi);
    const HRESULT connected = wmi.ConnectServer(locator.get(), namespace_path.get(), nullptr, nullptr,
                                                nullptr, 0, nullptr, nullptr, services.receive());
    companion.stop();
    namespace_path.reset();
    if (FAILED(connected) || services.get() == nullptr) {
      return 1;
    }
  }

  if (FAILED(wmi.CoSetProxyBlanket(services.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                                   RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                                   EOAC_NONE))) {
    return 1;
  }
  SystemString language(wmi, kQueryLanguage);
  SystemString query(wmi, kQuery);
  if (!language.allocated() || !query.allocated()) {
    return 1;
  }
  if (FAILED(wmi.ExecQuery(services.get(), language.get(), query.get(), kQueryFlags, nullptr,
                           enumerator.receive()))) {
    return 1;
  }
  if (enumerator.get() != nullptr) {
    read_instances(state, wmi, enumerator.get());
  }
  return 0;
}
