#pragma once
// Between HRESULTs and the one host error type.

#include <windows.h>

#include "host/error.h"

namespace host::win {

// A HostError for a failed HRESULT. The thread's error info describes it only where `callee` says
// through ISupportErrorInfo that it sets error info for `iid`; otherwise `what` and the code do.
HostError ErrorFromHresult(HRESULT hr, const std::u16string& what, IUnknown* callee = nullptr,
                           REFIID iid = IID_NULL);

// Before an outgoing call: no error info an earlier failure left may pass for this call's.
inline void ClearErrorInfo() noexcept { SetErrorInfo(0, nullptr); }

inline void Check(HRESULT hr, const std::u16string& what) {
  if (FAILED(hr)) throw ErrorFromHresult(hr, what);
}

// The failure HRESULT that stands for a host error: its code when that is a failure code.
inline HRESULT HresultOf(const HostError& error) {
  const auto hr = static_cast<HRESULT>(error.Code());
  return FAILED(hr) ? hr : E_FAIL;
}

}  // namespace host::win
