// The caption builders: bookmark texts keep their fields, summary captions their length.
#include "fuzz/fuzz_input.h"
#include "quillon/bookmark_record.h"
#include "quillon/copy_buffers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto [first, second] = fuzz::TwoTexts(data, size);
  const std::int32_t number = size >= 4 ? static_cast<std::int32_t>(data[0] | data[1] << 8 | data[2] << 16 |
                                                                     static_cast<std::uint32_t>(data[3]) << 24)
                                        : 0;
  for (const bool severalLines : {false, true}) {
    const auto caption = quillon::SummaryCaption(first, severalLines);
    FUZZ_REQUIRE(caption.size() <= 21);
    FUZZ_REQUIRE(!severalLines || caption.back() == u'\u2026');
  }
  if (first.find(u'|') == host::Text::npos && second.find(u'|') == host::Text::npos) {
    const auto p = quillon::ProcedureBookmark(first, second, u"Main", number);
    const auto fields = quillon::SplitRecord(p.record);
    FUZZ_REQUIRE(fields.size() == 4 && fields[0] == first && fields[1] == second);
    FUZZ_REQUIRE(quillon::RecordedLine(fields[3]) == number);
    FUZZ_REQUIRE(quillon::SplitRecord(quillon::ModuleBookmark(first, second, number).record).size() == 4);
    FUZZ_REQUIRE(quillon::SplitRecord(quillon::DesignerBookmark(first, second).record).size() == 3);
  }
  return 0;
}
