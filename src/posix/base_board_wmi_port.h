// WMI on the simulated laptop: COM, one namespace with one Win32_BaseBoard instance that says it is
// simulated, real BSTRs and VARIANTs, and events and threads on POSIX threads. Everything handed out
// is counted, so a caller that leaks shows.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "ports/wmi_port.h"
#include "posix/kernel_objects.h"

constexpr const char16_t* kSimulatedBoardManufacturer = u"Chargewright Simulated Laptop";
constexpr const char16_t* kSimulatedBoardProduct = u"Stand-in Board";
constexpr const char16_t* kSimulatedBoardSerialNumber = u"SIM-0001";

// The one Win32_BaseBoard instance's three properties.
struct BaseBoardRecord {
  std::u16string manufacturer = kSimulatedBoardManufacturer;
  std::u16string product = kSimulatedBoardProduct;
  std::u16string serial_number = kSimulatedBoardSerialNumber;
};

class BaseBoardWmiPort final : public WmiPort {
 public:
  BaseBoardWmiPort() = default;
  // The same COM and WMI describing another board (the real laptop's, from its firmware tables).
  explicit BaseBoardWmiPort(BaseBoardRecord board) : board_(std::move(board)) {}
  ~BaseBoardWmiPort() override;
  BaseBoardWmiPort(const BaseBoardWmiPort&) = delete;
  BaseBoardWmiPort& operator=(const BaseBoardWmiPort&) = delete;

  HRESULT CoInitializeEx(void* reserved, DWORD concurrency) override;
  HRESULT CoInitializeSecurity(void* security_descriptor, LONG auth_service_count, void* auth_services,
                               void* reserved1, DWORD authn_level, DWORD imp_level, void* auth_list,
                               DWORD capabilities, void* reserved3) override;
  HRESULT CoCreateInstance(const GUID* class_id, void* outer, DWORD context, const GUID* interface_id,
                           IWbemLocator** locator) override;
  void CoUninitialize() override;
  BSTR SysAllocString(const char16_t* text) override;
  void SysFreeString(BSTR text) override;
  HANDLE CreateEventW(void* attributes, BOOL manual_reset, BOOL initial_state, const char16_t* name) override;
  HANDLE CreateThread(void* attributes, size_t stack_size, LPTHREAD_START_ROUTINE start, void* parameter,
                      DWORD flags, DWORD* thread_id) override;
  BOOL SetEvent(HANDLE event) override;
  DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) override;
  BOOL CloseHandle(HANDLE handle) override;
  HRESULT ConnectServer(IWbemLocator* locator, BSTR network_resource, BSTR user, BSTR password, BSTR locale,
                        LONG security_flags, BSTR authority, IWbemContext* context,
                        IWbemServices** services) override;
  HRESULT CoSetProxyBlanket(IWbemServices* proxy, DWORD authn_service, DWORD authz_service,
                            char16_t* principal_name, DWORD authn_level, DWORD imp_level, void* auth_info,
                            DWORD capabilities) override;
  HRESULT ExecQuery(IWbemServices* services, BSTR language, BSTR query, LONG flags, IWbemContext* context,
                    IEnumWbemClassObject** enumerator) override;
  HRESULT Next(IEnumWbemClassObject* enumerator, LONG timeout, ULONG count, IWbemClassObject** objects,
               ULONG* returned) override;
  HRESULT Get(IWbemClassObject* object, const char16_t* name, LONG flags, VARIANT* value, LONG* type,
              LONG* flavor) override;
  HRESULT VariantClear(VARIANT* value) override;
  ULONG Release(IWbemLocator* locator) override;
  ULONG Release(IWbemServices* services) override;
  ULONG Release(IEnumWbemClassObject* enumerator) override;
  ULONG Release(IWbemClassObject* object) override;
  void write_standard_output(const char* text) override;

  // What is still held; each is 0 once a caller has given everything back.
  int com_initialised() const { return com_initialised_; }
  int live_objects() const { return static_cast<int>(objects_.size()); }
  int live_strings() const { return static_cast<int>(strings_.size()); }
  int open_handles() const { return kernel_.open_handles(); }
  int running_threads() const { return kernel_.running_threads(); }
  int bad_releases() const { return bad_releases_; }
  int threads_started() const { return threads_started_; }

 private:
  enum class Kind { locator, services, enumerator, board };
  struct ComObject {
    Kind kind;
    ULONG references = 1;
    size_t delivered = 0;  // an enumerator's instances handed out so far
  };

  void* create_object(Kind kind);
  // The object behind an interface pointer, if it is live and of that kind.
  ComObject* object_of(const void* pointer, Kind kind);
  ULONG release(const void* pointer, Kind kind);

  BaseBoardRecord board_;
  KernelObjects kernel_;
  std::map<const void*, std::unique_ptr<ComObject>> objects_;
  std::map<const char16_t*, std::unique_ptr<char16_t[]>> strings_;
  int com_initialised_ = 0;
  bool security_initialised_ = false;
  int bad_releases_ = 0;
  int threads_started_ = 0;
};
