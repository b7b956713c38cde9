#pragma once
// Runs an action once cleanly to learn the host calls it makes, then once more for each of those
// calls with that one call failing. Only the host's own error may come out of the action (the
// boundary turns it into a failure HRESULT); anything else fails the test where it is thrown.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "host/error.h"
#include "host/sim/host_calls.h"

namespace testing_support {

struct FailedCall {
  std::size_t number;                     // 1-based, within the action
  std::string operation;                  // the call that failed
  const std::vector<std::string>* calls;  // every call of the clean run, in order
  bool threw;                             // the host's error came out of the action
};

// Arrange makes a fresh world and returns a pointer-like owner; Calls gives its HostCalls; Act
// runs the action on it; Check asserts the outcome for one failed call.
template <typename Arrange, typename Calls, typename Act, typename Check>
std::size_t Sweep(const char* action, Arrange arrange, Calls calls, Act act, Check check) {
  auto clean = arrange();
  calls(*clean).ClearLog();
  act(*clean);
  const std::vector<std::string> log = calls(*clean).Log();
  for (std::size_t n = 1; n <= log.size(); ++n) {
    SCOPED_TRACE(std::string(action) + ": call " + std::to_string(n) + ", " + log[n - 1] +
                 ", fails");
    auto world = arrange();
    calls(*world).ClearLog();
    calls(*world).FailCallNumber(n);
    bool threw = false;
    try {
      act(*world);
    } catch (const host::HostError&) {
      threw = true;
    }
    check(*world, FailedCall{n, log[n - 1], &log, threw});
  }
  std::printf("[ sweep    ] %s: %zu host calls, each failed once\n", action, log.size());
  return log.size();
}

}  // namespace testing_support
