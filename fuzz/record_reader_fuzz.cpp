// Reading a bookmark record back: splitting and the recorded line, on any text at all.
#include "fuzz/fuzz_input.h"
#include "host/error.h"
#include "quillon/bookmark_record.h"
#include "quillon/stored_values.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const host::Text record = fuzz::Units(data, size);
  const auto fields = quillon::SplitRecord(record);
  host::Text joined;
  for (std::size_t i = 0; i < fields.size(); ++i) joined += (i ? u"|" : u"") + fields[i];
  FUZZ_REQUIRE(joined == record);
  try {
    const auto line = quillon::RecordedLine(quillon::Field(fields, 3));
    FUZZ_REQUIRE(quillon::RecordedLine(quillon::FormatWholeNumber(line)) == line);
  } catch (const host::HostError&) {
  }
  return 0;
}
