// Reading a value that grows while it is read: what another program writes between the size
// and the read is read whole, never cut off and never taken for an absent value.

#include "host/growing_read.h"

#include <gtest/gtest.h>

#include <cstring>

namespace host {
namespace {

// A value the size of `values[i]` at the i-th read, answered like the registry: the text with
// its length when it fits, else the characters it needs.
struct GrowingValue {
  std::vector<std::u16string> values;
  std::size_t reads = 0;
  ReadResult operator()(char16_t* buffer, std::size_t capacity) {
    const auto& value = values[std::min(reads++, values.size() - 1)];
    if (value.size() > capacity) return {ReadOutcome::MoreData, value.size()};
    std::memcpy(buffer, value.data(), value.size() * sizeof(char16_t));
    return {ReadOutcome::Done, value.size()};
  }
};

TEST(ReadGrowing, AValueThatGrewAfterItsSizeWasAskedIsReadAgainWhole) {
  // Five characters guessed; 22 needed at the first read, 33 by the second.
  GrowingValue value{{u"grown to a longer text", u"and longer still, past both sizes"}};
  EXPECT_EQ(ReadGrowing<char16_t>(5, std::ref(value)), u"and longer still, past both sizes");
  EXPECT_EQ(value.reads, 3u);
}

TEST(ReadGrowing, AnUnknownNeedDoublesTheBuffer) {
  std::vector<std::size_t> capacities;
  const auto read = [&](char16_t* buffer, std::size_t capacity) {
    capacities.push_back(capacity);
    if (capacity < 40) return ReadResult{ReadOutcome::MoreData, 0};
    buffer[0] = u'x';
    return ReadResult{ReadOutcome::Done, 1};
  };
  EXPECT_EQ(ReadGrowing<char16_t>(10, read), u"x");
  EXPECT_EQ(capacities, (std::vector<std::size_t>{10, 20, 40}));
}

TEST(ReadGrowing, AFailedReadOrAValueThatNeverStopsGrowingGivesNothing) {
  EXPECT_EQ(ReadGrowing<char16_t>(4,
                                  [](char16_t*, std::size_t) {
                                    return ReadResult{ReadOutcome::Failed, 0};
                                  }),
            std::nullopt);
  std::size_t reads = 0;
  const auto ever = [&](char16_t*, std::size_t capacity) {
    ++reads;
    return ReadResult{ReadOutcome::MoreData, capacity + 1};
  };
  EXPECT_EQ(ReadGrowing<char16_t>(1, ever), std::nullopt);
  EXPECT_EQ(reads, static_cast<std::size_t>(kReadAttempts));
}

TEST(ReadGrowing, AFiveThousandCharacterValueAndAnEmptyOne) {
  GrowingValue big{{std::u16string(5000, u'a')}};
  EXPECT_EQ(ReadGrowing<char16_t>(256, std::ref(big)), std::u16string(5000, u'a'));
  GrowingValue empty{{u""}};
  EXPECT_EQ(ReadGrowing<char16_t>(0, std::ref(empty)), u"");
}

}  // namespace
}  // namespace host
