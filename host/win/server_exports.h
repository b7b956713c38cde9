#pragma once
// What each add-in DLL tells the exports that are written once for both (server_exports.cpp):
// its registration record and its class objects.

#include <windows.h>

#include "host/win/registration.h"

namespace host::win {

// Defined by each DLL.
const ServerRecord& AddinServerRecord();
// The class factory for `clsid`, or CLASS_E_CLASSNOTAVAILABLE.
HRESULT AddinClassObject(REFCLSID clsid, REFIID iid, void** out);

}  // namespace host::win
