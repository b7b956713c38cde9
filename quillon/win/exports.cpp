// Quillon.dll's entry points: the four exports of an in-process COM server.

#include <windows.h>

#include "host/win/boundary.h"
#include "host/win/com_object.h"
#include "host/win/registration.h"
#include "quillon.h"
#include "quillon/win/addin_object.h"
#include "quillon/win/events_object.h"

namespace {

const host::win::ServerRecord& Record() {
  static const host::win::ServerRecord record{
      &LIBID_Quillon,
      1,
      0,
      {{&CLSID_dsrQuillon, u"Quillon.dsrQuillon"},
       {&CLSID_clsVBE_Events, u"Quillon.clsVBE_Events"}},
      {u"Quillon.dsrQuillon", u"Quillon", u"Quillon", 1, 0},
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
    if (clsid == CLSID_dsrQuillon)
      return host::win::GetFactory<quillon::win::AddinObject>(iid, out);
    if (clsid == CLSID_clsVBE_Events)
      return host::win::GetFactory<quillon::win::EventsObject>(iid, out);
    return CLASS_E_CLASSNOTAVAILABLE;
  });
}

STDAPI DllCanUnloadNow() { return host::win::Module::CanUnloadNow(); }
STDAPI DllRegisterServer() { return host::win::RegisterServer(Record()); }
STDAPI DllUnregisterServer() { return host::win::UnregisterServer(Record()); }
