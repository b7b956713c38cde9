// Lathmore.dll as a COM server: its registration record and its class.

#include "host/win/server_exports.h"
#include "lathmore/win/connect_object.h"
#include "vodavove.h"

namespace host::win {

const ServerRecord& AddinServerRecord() {
  static const ServerRecord record{
      &LIBID_Vodavove,
      1,
      0,
      {{&CLSID_Connect, u"Vodavove.Connect"}},
      {u"Vodavove.Connect", u"Vodavove",
       u"COM Addin enlarging the VBE's Tools, References dialog to allow reading long text.", 1, 0},
  };
  return record;
}

HRESULT AddinClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (clsid == CLSID_Connect) return GetFactory<lathmore::win::ConnectObject>(iid, out);
  return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace host::win
