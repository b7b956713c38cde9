#pragma once
// Every operation of the simulated host passes through here first: the call is logged, and a
// failure planned by a test is thrown, so each failure regime can be exercised on demand.

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace host::sim {

class HostCalls {
 public:
  // Logs the operation and throws host::HostError when a failure is planned for this call.
  void Enter(std::string_view operation);
  // Logs the operation; true when a failure is planned for this call. For operations whose
  // failure the real system reports by doing nothing and answering 0, as user32 does.
  bool Fails(std::string_view operation);

  // Fails the `occurrence`-th call (1-based, counted from now) of `operation` and the `times` - 1
  // calls of it after that one, or every call of it when `occurrence` is 0.
  void FailOn(std::string_view operation, int occurrence = 0, int times = 1);
  // Fails the `number`-th call (1-based, counted from now) of any operation.
  void FailCallNumber(std::size_t number);
  void ClearFailures();

  const std::vector<std::string>& Log() const { return log_; }
  std::size_t Count(std::string_view operation) const;
  void ClearLog() { log_.clear(); }

 private:
  struct Plan {
    int remaining = 0;  // calls still to pass before the failing one; -1 fails every call
    int times = 1;      // calls that fail from there on
  };
  std::vector<std::string> log_;
  std::map<std::string, Plan, std::less<>> plans_;
  std::size_t failAtCall_ = 0;  // 0 = none
  std::size_t callsSinceArmed_ = 0;
};

}  // namespace host::sim
