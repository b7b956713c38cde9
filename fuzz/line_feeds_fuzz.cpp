// Counting line feeds agrees with the text it counts.
#include <algorithm>

#include "fuzz/fuzz_input.h"
#include "quillon/copy_buffers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const host::Text text = fuzz::Units(data, size);
  const auto feeds = quillon::CountLineFeeds(text);
  FUZZ_REQUIRE(feeds.count == std::count(text.begin(), text.end(), u'\n'));
  FUZZ_REQUIRE(feeds.after >= 0 && static_cast<std::size_t>(feeds.after) <= text.size());
  const auto last = text.rfind(u'\n');
  FUZZ_REQUIRE(static_cast<std::size_t>(feeds.after) == (last == host::Text::npos ? text.size() : text.size() - last - 1));
  return 0;
}
