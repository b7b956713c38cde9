// Every test binary fails when the simulated editor was handed text the real one does not take as
// documented. ctest runs each test on its own, so the failure names the test that did it.

#include <gtest/gtest.h>

#include "host/sim/fidelity.h"

namespace {

class FidelityCheck : public testing::Environment {
 public:
  void TearDown() override {
    for (const auto& note : host::sim::TakeInfidelities()) ADD_FAILURE() << note;
  }
};

const auto* const kRegistered = testing::AddGlobalTestEnvironment(new FidelityCheck);

}  // namespace
