// The COM and WMI names the board identity logic uses. On Windows they come from the SDK; elsewhere
// this header declares the same names and values, with the interfaces as types that are never defined.
#pragma once

#include <type_traits>

#include "common/win_types.h"

#ifdef _WIN32
// clang-format off
#include <objbase.h>
#include <oleauto.h>
#include <wbemcli.h>
// clang-format on
#else

using HRESULT = LONG;
using VARTYPE = uint16_t;
using LONGLONG = int64_t;
using BSTR = WCHAR*;

// Only ever handled through pointers.
struct IWbemLocator;
struct IWbemServices;
struct IWbemContext;
struct IEnumWbemClassObject;
struct IWbemClassObject;

// The cases the logic reads; the real record has many more members in the same union.
struct VARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONGLONG llVal;
    LONG lVal;
    BSTR bstrVal;
  };
};

constexpr VARTYPE VT_EMPTY = 0;
constexpr VARTYPE VT_NULL = 1;
constexpr VARTYPE VT_I4 = 3;
constexpr VARTYPE VT_BSTR = 8;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr bool SUCCEEDED(HRESULT result) {
  return result >= 0;
}
constexpr bool FAILED(HRESULT result) {
  return result < 0;
}

#define WINAPI
using LPTHREAD_START_ROUTINE = DWORD (*)(void*);

constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

constexpr DWORD COINIT_MULTITHREADED = 0;
constexpr DWORD CLSCTX_INPROC_SERVER = 1;
constexpr DWORD RPC_C_AUTHN_LEVEL_DEFAULT = 0;
constexpr DWORD RPC_C_AUTHN_LEVEL_CALL = 3;
constexpr DWORD RPC_C_IMP_LEVEL_IMPERSONATE = 3;
constexpr DWORD RPC_C_AUTHN_WINNT = 10;
constexpr DWORD RPC_C_AUTHZ_NONE = 0;
constexpr DWORD EOAC_NONE = 0;

constexpr LONG WBEM_FLAG_RETURN_IMMEDIATELY = 0x10;
constexpr LONG WBEM_FLAG_FORWARD_ONLY = 0x20;
constexpr DWORD WBEM_INFINITE = 0xFFFFFFFF;

#endif  // _WIN32

// The SDK keeps these two in a static library (wbemuuid); declared here, they need no library.
namespace wbem_ids {
// {4590F811-1D3A-11D0-891F-00AA004B2E24}
constexpr GUID CLSID_WbemLocator = {
    0x4590F811, 0x1D3A, 0x11D0, {0x89, 0x1F, 0x00, 0xAA, 0x00, 0x4B, 0x2E, 0x24}};
// {DC12A687-737F-11CF-884D-00AA004B2E24}
constexpr GUID IID_IWbemLocator = {
    0xDC12A687, 0x737F, 0x11CF, {0x88, 0x4D, 0x00, 0xAA, 0x00, 0x4B, 0x2E, 0x24}};
}  // namespace wbem_ids

static_assert(VT_EMPTY == 0 && VT_NULL == 1 && VT_I4 == 3 && VT_BSTR == 8);
static_assert(WAIT_TIMEOUT == 258 && WAIT_OBJECT_0 == 0 && INFINITE == 0xFFFFFFFF);
static_assert((WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY) == 48);
static_assert(static_cast<LONG>(WBEM_INFINITE) == -1);
static_assert(COINIT_MULTITHREADED == 0 && CLSCTX_INPROC_SERVER == 1 && EOAC_NONE == 0);
static_assert(RPC_C_AUTHN_LEVEL_DEFAULT == 0 && RPC_C_AUTHN_LEVEL_CALL == 3);
static_assert(RPC_C_IMP_LEVEL_IMPERSONATE == 3 && RPC_C_AUTHN_WINNT == 10 && RPC_C_AUTHZ_NONE == 0);
static_assert(sizeof(std::remove_pointer_t<BSTR>) == 2);
static_assert(offsetof(VARIANT, vt) == 0 && offsetof(VARIANT, bstrVal) == 8 && offsetof(VARIANT, lVal) == 8);
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(VARIANT) == 16);
#endif
