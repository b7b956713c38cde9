#pragma once
// Names the editor and Office look up without regard to case: identifiers, bar names, settings
// keys. ASCII letters only, as they fold them.

#include "host/text.h"

namespace host::sim {

inline char16_t FoldCase(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

inline bool EqualsIgnoringCase(const Text& a, const Text& b) {
  return EqualsIgnoringAsciiCase(a, b);
}

inline Text FoldedCopy(Text text) {
  for (auto& c : text) c = FoldCase(c);
  return text;
}

}  // namespace host::sim
