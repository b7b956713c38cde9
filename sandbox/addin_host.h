#pragma once
// Loads add-ins as the editor does: found in the add-in key of the sandbox's own bitness, created
// by ProgID, connected and disconnected through IDTExtensibility2.

#include <windows.h>

#include <map>

#include "extensibility.h"
#include "host/text.h"
#include "host/win/com_ptr.h"

namespace sandbox {

struct Outcome {
  HRESULT hr = S_OK;
  host::Text description;  // of a failure
};

class AddinHost {
 public:
  Outcome Connect(const host::Text& progId, IDispatch* application);
  Outcome Disconnect(const host::Text& progId);
  // The editor lets go of the add-in object.
  void Release(const host::Text& progId);
  std::size_t Loaded() const { return addins_.size(); }

 private:
  host::win::ComPtr<IDTExtensibility2> Load(const host::Text& progId);
  std::map<host::Text, host::win::ComPtr<IDTExtensibility2>> addins_;
};

// What a call into an add-in gave; its error info is read only where the add-in sets it.
Outcome OutcomeOf(HRESULT hr, IUnknown* callee, REFIID iid);

}  // namespace sandbox
