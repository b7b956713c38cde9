#pragma once
// Fuzzer bytes as the editor's texts: pairs of bytes are UTF-16 code units, so every unit, lone
// surrogates included, can turn up.

#include <cstddef>
#include <cstdint>
#include <utility>

#include "host/text.h"

namespace fuzz {

inline host::Text Units(const std::uint8_t* data, std::size_t size) {
  host::Text text;
  for (std::size_t i = 0; i + 1 < size; i += 2) text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  return text;
}

// Two texts from one input: split at the first unit 0xFFFF, or in the middle.
inline std::pair<host::Text, host::Text> TwoTexts(const std::uint8_t* data, std::size_t size) {
  const host::Text all = Units(data, size);
  const auto cut = all.find(u'\xFFFF');
  if (cut != host::Text::npos) return {all.substr(0, cut), all.substr(cut + 1)};
  return {all.substr(0, all.size() / 2), all.substr(all.size() / 2)};
}

}  // namespace fuzz

// A property that must hold for every input; the fuzzer reports the input that breaks it.
#define FUZZ_REQUIRE(condition) \
  do {                          \
    if (!(condition)) __builtin_trap(); \
  } while (0)
