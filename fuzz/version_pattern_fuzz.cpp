// Every file name matches its own version pattern, and the pattern is never malformed.
#include "fuzz/fuzz_input.h"
#include "quillon/bookmark_record.h"
#include "quillon/wildcard.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const host::Text name = fuzz::Units(data, size);
  const host::Text pattern = quillon::VersionPattern(name);
  if (pattern.empty()) return 0;
  FUZZ_REQUIRE(quillon::MatchesWildcard(name, pattern));  // throws on a malformed pattern: a crash
  return 0;
}
