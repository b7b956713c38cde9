#pragma once
// A value read from the system whose size can change between asking for it and reading it: a
// registry value that another Office application writes meanwhile, a path longer than guessed.
// The buffer grows to what the last read said it needs and the read is tried again, a bounded
// number of times.

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace host {

enum class ReadOutcome { Done, MoreData, Failed };

struct ReadResult {
  ReadOutcome outcome;
  // Done: the value's length in characters. MoreData: the characters it needs, 0 when unknown.
  std::size_t length;
};

inline constexpr int kReadAttempts = 8;

// `read(buffer, capacity)` reads the value into `buffer`, which holds `capacity` characters.
// Nullopt when a read failed, or the value grew at every attempt.
template <typename Char, typename Read>
std::optional<std::basic_string<Char>> ReadGrowing(std::size_t firstCapacity, Read read) {
  std::vector<Char> buffer(std::max<std::size_t>(firstCapacity, 1));
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    const ReadResult result = read(buffer.data(), buffer.size());
    switch (result.outcome) {
      case ReadOutcome::Done:
        return std::basic_string<Char>(buffer.data(), std::min(result.length, buffer.size()));
      case ReadOutcome::Failed:
        return std::nullopt;
      case ReadOutcome::MoreData:
        buffer.resize(std::max(result.length, buffer.size() * 2));
        break;
    }
  }
  return std::nullopt;
}

}  // namespace host
