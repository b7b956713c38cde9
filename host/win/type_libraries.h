#pragma once
// The type libraries registered on this computer, read from HKEY_CLASSES_ROOT\TypeLib as this
// process sees it.

#include <memory>

#include "host/type_libraries.h"

namespace host::win {

std::shared_ptr<TypeLibraries> RegistryTypeLibraries();

}  // namespace host::win
