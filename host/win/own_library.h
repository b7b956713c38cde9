#pragma once
// This DLL's own file and the type library embedded in it.

#include <windows.h>

#include <oleauto.h>

#include <string>

#include "host/win/com_ptr.h"

namespace host::win {

// The full path of this DLL, however long.
std::u16string OwnPath();

// The type library embedded in this DLL, loaded without registering it. A path too long for the
// type-library loader is retried by its short form. Throws host::HostError.
ComPtr<ITypeLib> OwnTypeLibrary();

}  // namespace host::win
