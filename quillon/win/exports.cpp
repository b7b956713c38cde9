// Quillon.dll as a COM server: its registration record and its two classes.

#include "host/win/server_exports.h"
#include "quillon.h"
#include "quillon/win/addin_object.h"
#include "quillon/win/events_object.h"

namespace host::win {

const ServerRecord& AddinServerRecord() {
  static const ServerRecord record{
      &LIBID_Quillon,
      1,
      0,
      {{&CLSID_dsrQuillon, u"Quillon.dsrQuillon"},
       {&CLSID_clsVBE_Events, u"Quillon.clsVBE_Events"}},
      {u"Quillon.dsrQuillon", u"Quillon", u"Quillon", 1, 0},
  };
  return record;
}

HRESULT AddinClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (clsid == CLSID_dsrQuillon) return GetFactory<quillon::win::AddinObject>(iid, out);
  if (clsid == CLSID_clsVBE_Events) return GetFactory<quillon::win::EventsObject>(iid, out);
  return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace host::win
