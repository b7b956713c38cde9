// Simulated command bars: lookups, places, deletion, and click events reaching only live bindings.

#include <gtest/gtest.h>

#include "host/error.h"
#include "host/sim/builder.h"

namespace host::sim {
namespace {

TEST(SimBars, AddRefusesASecondBarOfTheSameNameAndItemFindsByName) {
  const auto host = SimHostBuilder().Build();
  const auto bars = host.editor->CommandBars();
  const auto bar = bars->Add(u"Tools2", kBarTop, false, true);
  EXPECT_THROW(bars->Add(u"tools2", kBarTop, false, true), HostError);
  EXPECT_EQ(bars->Item(u"TOOLS2"), bar);
  EXPECT_THROW(bars->Item(u"Nothing"), HostError);
  EXPECT_FALSE(bar->Visible()) << "a new bar is hidden until shown";
}

TEST(SimBars, ADeletedBarAndItsControlsFail) {
  const auto host = SimHostBuilder().Build();
  const auto bar = host.editor->CommandBars()->Add(u"B", kBarTop, false, true);
  const auto controls = bar->Controls();
  const auto button = controls->Add(kControlButton, kCustomControlId)->AsButton();
  bar->Delete();
  EXPECT_THROW(bar->Position(), HostError);
  EXPECT_THROW(bar->SetVisible(true), HostError);
  EXPECT_THROW(button->Caption(), HostError);
  EXPECT_THROW(controls->Add(kControlButton, kCustomControlId), HostError);
  EXPECT_THROW(host.editor->CommandBars()->Item(u"B"), HostError);
}

TEST(SimBars, ControlsKnowTheirPlaceAndRefuseUnknownValues) {
  const auto host = SimHostBuilder().Build();
  const auto controls = host.editor->CommandBars()->Add(u"B", kBarTop, false, true)->Controls();
  for (int i = 0; i < 3; ++i) controls->Add(kControlButton, kCustomControlId);
  const auto third = controls->Item(3)->AsButton();
  EXPECT_EQ(third->Index(), 3);
  EXPECT_THROW(controls->Item(4), HostError);
  EXPECT_THROW(controls->Item(0), HostError);
  EXPECT_THROW(third->SetState(1), HostError);
  third->SetState(kStateDown);
  EXPECT_EQ(third->State(), kStateDown);
  EXPECT_THROW(controls->Add(99, 1), HostError);
  EXPECT_THROW(controls->Add(kControlPopup, 1)->AsButton(), HostError);
}

TEST(SimBars, PositionAcceptsOnlyDockedSidesAndFloating) {
  const auto bar = SimHostBuilder().Build().editor->CommandBars()->Add(u"B", kBarTop, false, true);
  bar->SetPosition(kBarFloating);
  EXPECT_THROW(bar->SetPosition(5), HostError);
  EXPECT_THROW(bar->SetPosition(-1), HostError);
  EXPECT_EQ(bar->Position(), kBarFloating);
}

TEST(SimBars, FindControlFindsTheFirstWithThatIdVisibleOrNot) {
  const auto host = SimHostBuilder()
                        .ExistingBar(u"Menu Bar")
                        .ExistingButton(30001, u"&File")
                        .ExistingBar(u"Hidden")
                        .ExistingButton(942, u"&References...")
                        .ExistingBar(u"Tools")
                        .ExistingButton(942, u"References again")
                        .Build();
  host.Bar(u"Hidden")->Place().visible = false;
  const auto found = host.editor->CommandBars()->FindControl(942);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found, host.Control(u"Hidden", 1));
  EXPECT_EQ(host.editor->CommandBars()->FindControl(12345), nullptr);
}

TEST(SimEvents, ClickReachesLiveBindingsOnly) {
  const auto host = SimHostBuilder().ExistingBar(u"B").ExistingButton(1, u"Go").Build();
  const auto control = host.Control(u"B", 1);
  auto source = host.editor->Events()->CommandBarEvents(control);
  int clicks = 0;
  std::shared_ptr<CommandBarControl> seen;
  auto binding = source->AdviseClick([&](const auto& ctrl, bool& handled, bool&) {
    ++clicks;
    seen = ctrl;
    handled = true;
  });
  EXPECT_TRUE(control->Click().handled);
  EXPECT_EQ(seen, control);
  binding.reset();
  control->Click();
  EXPECT_EQ(clicks, 1) << "a released binding is not reached";

  auto again = source->AdviseClick([&](const auto&, bool&, bool&) { ++clicks; });
  std::weak_ptr<CommandBarEvents> weak = source;
  source.reset();
  control->Click();
  EXPECT_EQ(clicks, 1) << "a source nobody holds raises nothing";
  EXPECT_TRUE(weak.expired());
}

TEST(SimEvents, TheButtonsOwnClickComesFirstAndCanCancelTheDefault) {
  const auto host = SimHostBuilder().ExistingBar(u"B").ExistingButton(942, u"Refs").Build();
  const auto control = host.Control(u"B", 1);
  std::vector<std::string> order;
  auto own = control->AdviseClick([&](const auto&, bool& cancel) {
    order.push_back("button");
    cancel = true;
  });
  const auto source = host.editor->Events()->CommandBarEvents(control);
  auto editor = source->AdviseClick([&](const auto&, bool&, bool& cancel) {
    order.push_back(cancel ? "editor saw cancel" : "editor");
  });
  EXPECT_TRUE(control->Click().cancelDefault);
  EXPECT_EQ(order, (std::vector<std::string>{"button", "editor saw cancel"}));
}

TEST(SimEvents, ADeletedControlRaisesNothing) {
  const auto host = SimHostBuilder().ExistingBar(u"B").ExistingButton(1, u"Go").Build();
  const auto control = host.Control(u"B", 1);
  const auto source = host.editor->Events()->CommandBarEvents(control);
  int clicks = 0;
  auto binding = source->AdviseClick([&](const auto&, bool&, bool&) { ++clicks; });
  host.Bar(u"B")->Remove();
  control->Click();
  EXPECT_EQ(clicks, 0);
  EXPECT_THROW(host.editor->Events()->CommandBarEvents(control), HostError);
}

}  // namespace
}  // namespace host::sim
