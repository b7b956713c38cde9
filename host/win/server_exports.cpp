// The entry points of an in-process COM server that is an editor add-in: the same for both DLLs,
// compiled into each of them.

#include "host/win/server_exports.h"

#include <windows.h>

#include "host/win/boundary.h"
#include "host/win/com_object.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  // Thread notifications stay on: the statically linked runtime frees per-thread data with them.
  if (reason == DLL_PROCESS_ATTACH) host::win::Module::SetInstance(instance);
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return host::win::Boundary<host::win::ErrorInfo::None>([&]() -> HRESULT {
    if (!out) return E_POINTER;
    *out = nullptr;
    return host::win::AddinClassObject(clsid, iid, out);
  });
}

STDAPI DllCanUnloadNow() { return host::win::Module::CanUnloadNow(); }
STDAPI DllRegisterServer() { return host::win::RegisterServer(host::win::AddinServerRecord()); }
STDAPI DllUnregisterServer() { return host::win::UnregisterServer(host::win::AddinServerRecord()); }
