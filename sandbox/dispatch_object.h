#pragma once
// The sandbox's automation objects: IDispatch answered from a per-type member table, strict as
// the editor is. A member called with flags, argument counts or argument kinds it does not take
// fails; a failure of the simulated editor comes back as DISP_E_EXCEPTION with its description.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host/text.h"
#include "host/win/com_object.h"
#include "host/win/com_ptr.h"

namespace sandbox {

enum Access : unsigned { kGet = 1, kPut = 2, kPutRef = 4, kMethod = 8 };
enum class Kind { Get, Put, PutRef, Method };

struct MemberSpec {
  const wchar_t* name;
  unsigned access;
  int minArgs;  // positional arguments, not counting the value of a put
  int maxArgs;
};

// One automation type: its members (DISPID = place + 1) and how often it was asked.
struct TypeSpec {
  TypeSpec(const char* typeName, std::vector<MemberSpec> typeMembers)
      : name(typeName), members(std::move(typeMembers)) {}

  const char* name;
  std::vector<MemberSpec> members;
  long namesLookedUp = 0;
  long invokes = 0;
  std::map<std::wstring, long> lookupsByName;  // how often each member's name was asked for
};

// All types the sandbox serves, for the call counts of the transcript.
std::vector<TypeSpec*>& AllTypes();

class Call {
 public:
  Call(DISPPARAMS& params, VARIANT* result, bool hasValue);

  int Count() const { return count_; }
  bool Given(int index) const;  // present and not left out
  LONG Int(int index) const;
  bool Bool(int index) const;
  host::Text Text(int index) const;
  IDispatch* Object(int index) const;  // borrowed
  LONG& IntOut(int index) const;       // a by-reference whole number
  bool IsText(int index) const;

  LONG IntValue() const { return Int(-1); }
  bool BoolValue() const { return Bool(-1); }
  host::Text TextValue() const { return Text(-1); }

  void Return(LONG value);
  void Return(bool value);
  void Return(const host::Text& value);
  void Return(host::win::ComPtr<IDispatch> object);  // null returns Nothing

 private:
  VARIANTARG& Arg(int index) const;  // -1 is the value of a put
  DISPPARAMS& params_;
  VARIANT* result_;
  int count_;
  bool hasValue_;
};

// An argument the member does not take.
struct ArgumentError {
  HRESULT hr;
  int index;
};

template <typename... Extra>
class DispatchObject : public host::win::ComObject<IDispatch, Extra...> {
 public:
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* badArgument) override;

 protected:
  virtual TypeSpec& Type() const = 0;
  // Runs member `index` of the table; throws host::HostError for the editor's own failures.
  virtual void Handle(std::size_t index, Kind kind, Call& call) = 0;
  void* InterfaceFor(REFIID iid) override {
    return iid == IID_IDispatch ? static_cast<IDispatch*>(this) : nullptr;
  }
};

HRESULT LookUpNames(TypeSpec& type, LPOLESTR* names, UINT count, DISPID* ids);
HRESULT InvokeMember(TypeSpec& type, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                     EXCEPINFO* exception, UINT* badArgument,
                     const std::function<void(std::size_t, Kind, Call&)>& handle);

template <typename... Extra>
STDMETHODIMP DispatchObject<Extra...>::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                                     DISPID* ids) {
  return LookUpNames(Type(), names, count, ids);
}

template <typename... Extra>
STDMETHODIMP DispatchObject<Extra...>::Invoke(DISPID id, REFIID, LCID, WORD flags,
                                              DISPPARAMS* params, VARIANT* result,
                                              EXCEPINFO* exception, UINT* badArgument) {
  return InvokeMember(
      Type(), id, flags, params, result, exception, badArgument,
      [this](std::size_t index, Kind kind, Call& call) { Handle(index, kind, call); });
}

}  // namespace sandbox
