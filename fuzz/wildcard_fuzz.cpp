// The matcher on any name and pattern: an answer or a malformed-pattern error, never more; and a
// literal pattern matches exactly its own text.
#include "fuzz/fuzz_input.h"
#include "host/error.h"
#include "quillon/wildcard.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto [name, pattern] = fuzz::TwoTexts(data, size);
  try {
    quillon::MatchesWildcard(name, pattern);
  } catch (const host::HostError&) {
  }
  const host::Text literal = quillon::LiteralPattern(name);
  FUZZ_REQUIRE(quillon::MatchesWildcard(name, literal));
  FUZZ_REQUIRE(!quillon::MatchesWildcard(name + u"x", literal));
  FUZZ_REQUIRE(quillon::MatchesWildcard(pattern + name, u"*" + literal));
  return 0;
}
