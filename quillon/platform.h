#pragma once
// The services of the machine the add-in runs on, other than the editor itself.

#include <memory>

#include "host/environment.h"
#include "host/key_input.h"
#include "host/platform.h"
#include "host/settings.h"

namespace quillon {

struct Platform {
  std::shared_ptr<host::SettingsStore> settings;
  std::shared_ptr<host::Environment> environment;
  std::shared_ptr<host::SoundPlayer> sound;
  std::shared_ptr<host::Keyboard> keyboard;
  std::shared_ptr<host::MessageBoxes> messages;
  std::shared_ptr<host::KeyInput> keys;  // none: the buttons have no keys
};

}  // namespace quillon
