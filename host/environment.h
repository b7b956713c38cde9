#pragma once
// The process environment, read as the add-ins need it.

#include "host/text.h"

namespace host {

class Environment {
 public:
  virtual ~Environment() = default;
  // The variable's value; empty text when it is not set.
  virtual Text Environ(const Text& name) = 0;
  // The full path of the running program's executable file (the Office application's).
  virtual Text ProgramPath() = 0;
};

}  // namespace host
