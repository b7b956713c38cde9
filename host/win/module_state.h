#pragma once
// An add-in's module-level state in its loaded DLL: made on first use, shared by every COM object
// of the DLL that holds it, and gone when the last of them lets go, taking its event bindings and
// timers with it, so that the DLL can unload with nothing pointing into it.

#include <memory>

namespace host::win {

template <typename State>
std::shared_ptr<State> AcquireModuleState() {
  static std::weak_ptr<State> current;
  auto state = current.lock();
  if (!state) {
    state = std::make_shared<State>();
    current = state;
  }
  return state;
}

}  // namespace host::win
