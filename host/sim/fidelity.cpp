#include "host/sim/fidelity.h"

#include <mutex>
#include <utility>

namespace host::sim {

namespace {
std::mutex& Guard() {
  static std::mutex guard;
  return guard;
}
std::vector<std::string>& Notes() {
  static std::vector<std::string> notes;
  return notes;
}
}  // namespace

void CheckLineBreaks(const char* operation, const Text& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\n' || (i > 0 && text[i - 1] == u'\r')) continue;
    const std::lock_guard lock(Guard());
    Notes().push_back(std::string(operation) + " was handed a line feed without a carriage return: \"" +
                      ToUtf8(text) + "\"");
    return;
  }
}

std::vector<std::string> TakeInfidelities() {
  const std::lock_guard lock(Guard());
  return std::exchange(Notes(), {});
}

}  // namespace host::sim
