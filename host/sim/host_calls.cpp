#include "host/sim/host_calls.h"

#include <algorithm>

#include "host/error.h"
#include "host/text.h"

namespace host::sim {

namespace {
[[noreturn]] void ThrowPlanned(std::string_view operation) {
  throw HostError(codes::kFail, FromUtf8("Simulated failure of " + std::string(operation)));
}
}  // namespace

void HostCalls::Enter(std::string_view operation) {
  if (Fails(operation)) ThrowPlanned(operation);
}

bool HostCalls::Fails(std::string_view operation) {
  log_.emplace_back(operation);
  if (failAtCall_ != 0 && ++callsSinceArmed_ == failAtCall_) {
    failAtCall_ = 0;
    return true;
  }
  const auto plan = plans_.find(operation);
  if (plan == plans_.end()) return false;
  if (plan->second.remaining < 0) return true;
  if (plan->second.remaining > 0) {
    --plan->second.remaining;
    return false;
  }
  if (--plan->second.times == 0) plans_.erase(plan);
  return true;
}

void HostCalls::FailOn(std::string_view operation, int occurrence, int times) {
  plans_[std::string(operation)] = Plan{occurrence <= 0 ? -1 : occurrence - 1, times};
}

void HostCalls::FailCallNumber(std::size_t number) {
  failAtCall_ = number;
  callsSinceArmed_ = 0;
}

void HostCalls::ClearFailures() {
  plans_.clear();
  failAtCall_ = 0;
}

std::size_t HostCalls::Count(std::string_view operation) const {
  return static_cast<std::size_t>(std::count(log_.begin(), log_.end(), operation));
}

}  // namespace host::sim
