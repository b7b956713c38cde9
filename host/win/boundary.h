#pragma once
// The error boundary: every place where the editor calls into an add-in (exports, class factory,
// add-in methods, event sinks, timer callbacks) runs its body through here. Nothing escapes:
// every failure becomes an HRESULT, with error info describing it.

#include <windows.h>

#include <exception>
#include <new>

#include "host/error.h"
#include "host/text.h"
#include "host/win/hresult.h"

namespace host::win {

// Records the description as the thread's error info for the caller to read.
void SetErrorDescription(const std::u16string& description) noexcept;

template <typename Body>
HRESULT Boundary(Body&& body) noexcept {
  try {
    if constexpr (std::is_same_v<decltype(body()), HRESULT>) {
      return body();
    } else {
      body();
      return S_OK;
    }
  } catch (const HostError& error) {
    SetErrorDescription(error.Description());
    return HresultOf(error);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const std::exception& error) {
    SetErrorDescription(host::FromUtf8(error.what()));
    return E_FAIL;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace host::win
