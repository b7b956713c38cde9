// Failures planned by a test happen exactly where planned, and every call is logged.

#include "host/sim/host_calls.h"

#include <gtest/gtest.h>

#include "host/error.h"

namespace host::sim {
namespace {

TEST(HostCalls, FailsTheNthCallOfAnOperationOnce) {
  HostCalls calls;
  calls.FailOn("X.Op", 2);
  EXPECT_NO_THROW(calls.Enter("X.Op"));
  EXPECT_NO_THROW(calls.Enter("Y.Op"));
  EXPECT_THROW(calls.Enter("X.Op"), HostError);
  EXPECT_NO_THROW(calls.Enter("X.Op"));
  EXPECT_EQ(calls.Count("X.Op"), 3u);
  EXPECT_EQ(calls.Log().size(), 4u);
}

TEST(HostCalls, FailsSeveralCallsInARowFromTheNth) {
  HostCalls calls;
  calls.FailOn("X.Op", 2, 2);
  EXPECT_NO_THROW(calls.Enter("X.Op"));
  EXPECT_THROW(calls.Enter("X.Op"), HostError);
  EXPECT_NO_THROW(calls.Enter("Y.Op"));
  EXPECT_THROW(calls.Enter("X.Op"), HostError);
  EXPECT_NO_THROW(calls.Enter("X.Op"));
}

TEST(HostCalls, FailsEveryCallUntilCleared) {
  HostCalls calls;
  calls.FailOn("X.Op");
  EXPECT_THROW(calls.Enter("X.Op"), HostError);
  EXPECT_THROW(calls.Enter("X.Op"), HostError);
  calls.ClearFailures();
  EXPECT_NO_THROW(calls.Enter("X.Op"));
}

TEST(HostCalls, FailsTheNthCallOfAnyOperation) {
  HostCalls calls;
  calls.Enter("Before");
  calls.FailCallNumber(3);
  EXPECT_NO_THROW(calls.Enter("A"));
  EXPECT_NO_THROW(calls.Enter("B"));
  try {
    calls.Enter("C");
    ADD_FAILURE();
  } catch (const HostError& e) {
    EXPECT_STREQ(e.what(), "Simulated failure of C");
  }
  EXPECT_NO_THROW(calls.Enter("D"));
}

TEST(IgnoredStatements, SkipHostFailuresOnlyAndKeepTheStartingValue) {
  int ran = 0;
  host::Ignore([&] {
    ++ran;
    throw HostError(codes::kFail, u"x");
  });
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(host::Ignore([]() -> int { throw HostError(codes::kFail, u"x"); }), std::nullopt);
  EXPECT_EQ(host::Ignore([] { return 5; }), 5);
  EXPECT_THROW(host::Ignore([] { throw std::bad_alloc(); }), std::bad_alloc);
}

}  // namespace
}  // namespace host::sim
