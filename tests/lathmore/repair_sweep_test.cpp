// Repair Missing References with the editor refusing calls: each call once, each operation from
// its k-th use on, and every pair of calls. Whatever is refused, no reference that was not broken
// is touched, and each broken one is repaired, left where it was, or named in the message with
// its GUID and version so that it can be added back by hand.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/fault_sweep.h"
#include "tests/lathmore/repair_world.h"

namespace lathmore::testing {
namespace {

using testing_support::FailedCall;
using testing_support::Refusals;
using testing_support::Sweep;
using testing_support::SweepRefusals;

std::unique_ptr<RepairWorld> Ready() {
  auto w = std::make_unique<RepairWorld>();
  w->AddCommand();
  return w;
}

host::sim::HostCalls& Calls(RepairWorld& w) { return *w.host.calls; }
void Click(RepairWorld& w) { w.Command()->Click(); }

bool Has(const std::vector<host::sim::ReferenceShown>& list, const host::sim::ReferenceShown& one) {
  return std::find(list.begin(), list.end(), one) != list.end();
}

void NothingLost(RepairWorld& w, bool messageRefused) {
  const auto after = w.References();
  const std::string message = w.Message();
  // Scripting was not broken: still there, and still before anything added.
  const auto scripting = TypeLib(kScripting, {1, 0}, u"Scripting", false);
  ASSERT_TRUE(Has(after, scripting));
  for (const auto& [guid, version, name] :
       {std::tuple{kOutlook, host::LibraryVersion{9, 6}, u"Outlook"},
        std::tuple{kWord, host::LibraryVersion{8, 7}, u"Word"},
        std::tuple{kVendor, host::LibraryVersion{1, 0}, u"Ledgerline"}}) {
    SCOPED_TRACE(host::ToUtf8(name));
    const bool untouched = Has(after, TypeLib(guid, version, name, true));
    const bool replaced = std::any_of(after.begin(), after.end(),
                                      [&](const auto& r) { return r.guid == guid && !r.broken; });
    const std::string named =
        host::ToUtf8(host::Text(name) + u" " + host::DecimalVersion(version) + u" " + guid);
    const bool lostAndNamed =
        message.find("NOT REPAIRED AND REMOVED: " + named) != std::string::npos;
    EXPECT_TRUE(untouched || replaced || lostAndNamed || messageRefused) << message;
    EXPECT_LE(untouched + replaced, 1) << "never twice";
  }
  // Word and the vendor's library are not installed here: whatever is refused, they stay.
  EXPECT_TRUE(Has(after, TypeLib(kWord, {8, 7}, u"Word", true)));
  EXPECT_TRUE(Has(after, TypeLib(kVendor, {1, 0}, u"Ledgerline", true)));
  // Only Outlook ever moves: the others keep their order.
  std::vector<host::Text> order;
  for (const auto& r : after)
    if (r.guid != kOutlook) order.push_back(r.name);
  EXPECT_THAT(order, ::testing::ElementsAre(u"Word", u"Ledgerline", u"Scripting"));
  if (!messageRefused) {
    EXPECT_EQ(w.host.messages->Shown().size(), 1u);
  }
}

TEST(RepairSweep, EachCallRefusedOnce) {
  const auto calls = Sweep("repair", Ready, Calls, Click, [](RepairWorld& w, const FailedCall& f) {
    EXPECT_FALSE(f.threw) << "nothing escapes the click";
    NothingLost(w, false);
  });
  EXPECT_GE(calls, 20u);
}

TEST(RepairSweep, RefusedFromTheKthUseOnAndInPairs) {
  SweepRefusals("repair", Ready, Calls, Click, [](RepairWorld& w, const Refusals& r) {
    EXPECT_FALSE(r.threw);
    // Only a message box refused every time, unowned too, leaves nothing shown.
    NothingLost(w, r.operations == std::vector<std::string>{"MessageBox.Show"});
  });
}

// Adding the command: whatever is refused, the menu has it whole, or not at all.
TEST(RepairSweep, AddingTheCommand) {
  Sweep(
      "add the command", [] { return std::make_unique<RepairWorld>(); }, Calls,
      [](RepairWorld& w) { w.AddCommand(); },
      [](RepairWorld& w, const FailedCall& f) {
        EXPECT_TRUE(f.threw);
        EXPECT_EQ(w.Tools()->ControlList().size(), 6u) << "no half-made command on the menu";
        EXPECT_EQ(w.repair.Button(), nullptr);
      });
}

}  // namespace
}  // namespace lathmore::testing
