#include "sandbox/addin_host.h"

#include "host/error.h"
#include "host/win/hresult.h"
#include "host/win/registration.h"
#include "host/win/unique.h"
#include "sandbox/editor_objects.h"
#include "sandbox/registry.h"

namespace sandbox {

Outcome OutcomeOf(HRESULT hr, IUnknown* callee, REFIID iid) {
  if (SUCCEEDED(hr)) return {hr, {}};
  return {hr, host::win::ErrorFromHresult(hr, u"The call", callee, iid).Description()};
}

host::win::ComPtr<IDTExtensibility2> AddinHost::Load(const host::Text& progId) {
  if (auto found = addins_.find(progId); found != addins_.end()) return found->second;
  if (!RegistryKeyExists(host::Text(kEditorAddinsKey) + u"\\" + progId))
    throw host::HostError(REGDB_E_CLASSNOTREG,
                          progId + u" is not registered as an add-in of this editor.");
  CLSID clsid;
  host::win::Check(CLSIDFromProgID(host::win::Wide(progId), &clsid), u"Finding " + progId);
  host::win::ComPtr<IUnknown> object;
  host::win::Check(
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.PutVoid()),
      u"Creating " + progId);
  auto addin = object.As<IDTExtensibility2>(__uuidof(IDTExtensibility2));
  if (!addin) throw host::HostError(E_NOINTERFACE, progId + u" is not an editor add-in.");
  addins_[progId] = addin;
  return addin;
}

Outcome AddinHost::Connect(const host::Text& progId, IDispatch* application) {
  try {
    auto addin = Load(progId);
    auto addInInst = MakeAddInObject();
    host::win::SafeArray custom(SafeArrayCreateVector(VT_VARIANT, 0, 0));
    SAFEARRAY* array = custom.Get();
    host::win::ClearErrorInfo();
    return OutcomeOf(addin->OnConnection(application, ext_cm_AfterStartup, addInInst.Get(), &array),
                     addin.Get(), __uuidof(IDTExtensibility2));
  } catch (const host::HostError& error) {
    return {static_cast<HRESULT>(error.Code()), error.Description()};
  }
}

Outcome AddinHost::Disconnect(const host::Text& progId) {
  const auto found = addins_.find(progId);
  if (found == addins_.end()) return {E_FAIL, progId + u" is not loaded."};
  host::win::SafeArray custom(SafeArrayCreateVector(VT_VARIANT, 0, 0));
  SAFEARRAY* array = custom.Get();
  host::win::ClearErrorInfo();
  return OutcomeOf(found->second->OnDisconnection(ext_dm_UserClosed, &array), found->second.Get(),
                   __uuidof(IDTExtensibility2));
}

void AddinHost::Release(const host::Text& progId) { addins_.erase(progId); }

}  // namespace sandbox
