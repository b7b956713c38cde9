// Lathmore.dll's entry points: the four exports of an in-process COM server.

#include <windows.h>

#include "host/win/boundary.h"
#include "host/win/com_object.h"
#include "host/win/registration.h"
#include "lathmore/win/connect_object.h"
#include "vodavove.h"

namespace {

const host::win::ServerRecord& Record() {
  static const host::win::ServerRecord record{
      &LIBID_Vodavove,
      1,
      0,
      {{&CLSID_Connect, u"Vodavove.Connect"}},
      {u"Vodavove.Connect", u"Vodavove",
       u"COM Addin enlarging the VBE's Tools, References dialog to allow reading long text.", 1, 0},
  };
  return record;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    host::win::Module::SetInstance(instance);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return host::win::Boundary([&]() -> HRESULT {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (clsid == CLSID_Connect)
      return host::win::GetFactory<lathmore::win::ConnectObject>(iid, out);
    return CLASS_E_CLASSNOTAVAILABLE;
  });
}

STDAPI DllCanUnloadNow() { return host::win::Module::CanUnloadNow(); }
STDAPI DllRegisterServer() { return host::win::RegisterServer(Record()); }
STDAPI DllUnregisterServer() { return host::win::UnregisterServer(Record()); }
