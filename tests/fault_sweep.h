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

// A pattern of refusals that a real editor gives: one operation refused from its k-th use on (a
// protected module, a closed workbook), or two different calls each refused once.
struct Refusals {
  std::string what;                       // for the trace: which calls were refused
  std::vector<std::string> operations;    // the operations refused
  const std::vector<std::string>* calls;  // every call of the clean run, in order
  bool threw;                             // the host's error came out of the action
};

namespace detail {
template <typename Arrange, typename Calls, typename Act, typename Check, typename Plan>
void RunRefusals(Arrange& arrange, Calls& calls, Act& act, Check& check,
                 const std::vector<std::string>& log, Refusals refusals, Plan plan) {
  SCOPED_TRACE(refusals.what);
  auto world = arrange();
  calls(*world).ClearLog();
  plan(calls(*world));
  refusals.calls = &log;
  refusals.threw = false;
  try {
    act(*world);
  } catch (const host::HostError&) {
    refusals.threw = true;
  }
  check(*world, refusals);
}

// 1-based occurrence of the call at `index` among the calls of its operation.
inline int Occurrence(const std::vector<std::string>& log, std::size_t index) {
  int n = 0;
  for (std::size_t i = 0; i <= index; ++i) n += log[i] == log[index] ? 1 : 0;
  return n;
}
}  // namespace detail

// Runs the action with each operation of its clean run refused from its k-th use on, for every k
// the clean run reaches, and then with every pair of calls at two different operations refused
// once each. Check sees the operations refused and asserts the outcome.
template <typename Arrange, typename Calls, typename Act, typename Check>
std::size_t SweepRefusals(const char* action, Arrange arrange, Calls calls, Act act, Check check) {
  auto clean = arrange();
  calls(*clean).ClearLog();
  act(*clean);
  const std::vector<std::string> log = calls(*clean).Log();
  std::size_t runs = 0;
  for (std::size_t i = 0; i < log.size(); ++i) {
    const int k = detail::Occurrence(log, i);
    detail::RunRefusals(arrange, calls, act, check, log,
                        {std::string(action) + ": " + log[i] + " refused from use " +
                             std::to_string(k) + " on",
                         {log[i]}},
                        [&](host::sim::HostCalls& c) { c.FailOn(log[i], k, 1 << 30); });
    ++runs;
  }
  for (std::size_t i = 0; i < log.size(); ++i) {
    for (std::size_t j = i + 1; j < log.size(); ++j) {
      if (log[i] == log[j]) continue;
      const int ki = detail::Occurrence(log, i);
      const int kj = detail::Occurrence(log, j);
      detail::RunRefusals(arrange, calls, act, check, log,
                          {std::string(action) + ": " + log[i] + " (use " + std::to_string(ki) +
                               ") and " + log[j] + " (use " + std::to_string(kj) + ") refused",
                           {log[i], log[j]}},
                          [&](host::sim::HostCalls& c) {
                            c.FailOn(log[i], ki, 1);
                            c.FailOn(log[j], kj, 1);
                          });
      ++runs;
    }
  }
  std::printf("[ sweep    ] %s: %zu host calls, %zu refusal patterns\n", action, log.size(), runs);
  return runs;
}

}  // namespace testing_support
