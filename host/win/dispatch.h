#pragma once
// Late binding: calls on an object through IDispatch alone, by member name. Each member's DISPID
// is asked for once per adapter type and kept.

#include <windows.h>

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "host/text.h"
#include "host/win/com_ptr.h"
#include "host/win/unique.h"

namespace host::win {

// The DISPIDs of one type's members, as its objects answered them.
class DispidCache {
 public:
  DISPID Resolve(IDispatch& object, const wchar_t* member);

 private:
  std::map<std::wstring, DISPID, std::less<>> dispids_;
};

// The arguments of one call, in the order the member declares them.
template <typename... Values>
std::vector<Variant> Args(Values... values) {
  std::vector<Variant> args;
  args.reserve(sizeof...(values));
  (args.push_back(std::move(values)), ...);
  return args;
}

class Dispatch {
 public:
  Dispatch(ComPtr<IDispatch> object, DispidCache& cache);

  // Property read, with arguments for indexed properties.
  Variant Get(const wchar_t* member, std::vector<Variant> args = {});
  // Method call; arguments in the order the member declares them.
  Variant Call(const wchar_t* member, std::vector<Variant> args = {});
  // Property write of a value.
  void Put(const wchar_t* member, Variant value);

  IDispatch* Object() const { return object_.Get(); }

 private:
  Variant Invoke(const wchar_t* member, WORD flags, std::vector<Variant>& args, bool put);

  ComPtr<IDispatch> object_;
  DispidCache& cache_;
};

// Results, converted as the editor's language converts them; a value that does not convert is
// a host failure.
std::int32_t ToInt32(Variant& value);
bool ToBool(Variant& value);
host::Text ToText(Variant& value);
// The object a call returned; a missing object is a host failure.
ComPtr<IDispatch> ToObject(Variant& value, const wchar_t* member);
// The same, or null when the call returned nothing.
ComPtr<IDispatch> ToObjectOrNull(Variant& value);

}  // namespace host::win
