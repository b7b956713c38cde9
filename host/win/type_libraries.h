#pragma once
// The type libraries registered on this computer, read from HKEY_CLASSES_ROOT\TypeLib as this
// process sees it.

#include <memory>

#include "host/type_libraries.h"

namespace host::win {

std::shared_ptr<TypeLibraries> RegistryTypeLibraries();

// The bitness of this process, and so of the editor that loaded it and of the type libraries
// that editor loads.
inline constexpr Bitness kOwnBitness = sizeof(void*) == 8 ? Bitness::Win64 : Bitness::Win32;

}  // namespace host::win
