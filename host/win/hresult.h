#pragma once
// Between HRESULTs and the one host error type.

#include <windows.h>

#include "host/error.h"

namespace host::win {

// A HostError for a failed HRESULT, with the thread's error info when the callee left one.
HostError ErrorFromHresult(HRESULT hr, const std::u16string& what);

inline void Check(HRESULT hr, const std::u16string& what) {
  if (FAILED(hr)) throw ErrorFromHresult(hr, what);
}

// The failure HRESULT that stands for a host error: its code when that is a failure code.
inline HRESULT HresultOf(const HostError& error) {
  const auto hr = static_cast<HRESULT>(error.Code());
  return FAILED(hr) ? hr : E_FAIL;
}

}  // namespace host::win
