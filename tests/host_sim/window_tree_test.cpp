// The window tree answers as user32 does: search order, case, whole titles, coordinates.

#include "host/sim/window_tree.h"

#include <gtest/gtest.h>

namespace host::sim {
namespace {

TEST(WindowTree, FindsChildrenInOrderAfterAGivenOneWithClassesIgnoringCase) {
  SimWindowTree tree(std::make_shared<HostCalls>());
  const auto dialog =
      tree.AddTopLevel({u"#32770", u"Dialog", 1000, 0, {10, 20, 210, 220}, {3, 25}});
  const auto a = tree.AddChild(dialog, {u"Button", u"&Help"});
  const auto b = tree.AddChild(dialog, {u"Static", u"x"});
  const auto c = tree.AddChild(dialog, {u"Button", u""});
  EXPECT_EQ(tree.FindChild(dialog, 0, u"button", std::nullopt), a);
  EXPECT_EQ(tree.FindChild(dialog, a, u"BUTTON", std::nullopt), c);
  EXPECT_EQ(tree.FindChild(dialog, c, u"Button", std::nullopt), 0u);
  EXPECT_EQ(tree.FindChild(dialog, 0, u"Button", Text(u"&Help")), a);
  EXPECT_EQ(tree.FindChild(dialog, 0, u"Button", Text(u"&Hel")), 0u) << "whole titles only";
  EXPECT_EQ(tree.FindChild(dialog, 0, u"Static", Text(u"x")), b);
  EXPECT_EQ(tree.FindChild(tree.GetDesktopWindow(), 0, u"#32770", Text(u"Dialog")), dialog);
}

TEST(WindowTree, NewTopLevelWindowsOpenInFront) {
  SimWindowTree tree(std::make_shared<HostCalls>());
  const auto older = tree.AddTopLevel({u"#32770", u"T"});
  const auto newer = tree.AddTopLevel({u"#32770", u"T"});
  EXPECT_EQ(tree.FindChild(tree.GetDesktopWindow(), 0, u"#32770", Text(u"T")), newer);
  EXPECT_EQ(tree.FindChild(tree.GetDesktopWindow(), newer, u"#32770", Text(u"T")), older);
}

TEST(WindowTree, ChildRectanglesRoundTripThroughScreenCoordinates) {
  SimWindowTree tree(std::make_shared<HostCalls>());
  const auto dialog = tree.AddTopLevel({u"#32770", u"D", 1000, 0, {100, 80, 530, 410}, {3, 25}});
  const auto child = tree.AddChild(dialog, {u"Button", u"OK", 0, 0, {320, 10, 410, 33}});
  EXPECT_EQ(tree.GetWindowRect(child), (Rect{423, 115, 513, 138}));
  EXPECT_EQ(tree.ScreenToClient(dialog, {423, 115}), (Point{320, 10}));
  tree.SetWindowPos(dialog, 50, 60, 720, 470);
  EXPECT_EQ(tree.GetWindowRect(dialog), (Rect{50, 60, 770, 530}));
  EXPECT_EQ(tree.GetWindowRect(child), (Rect{373, 95, 463, 118})) << "children move with it";
  tree.MoveWindow(child, 0, 0, 10, 10);
  EXPECT_EQ(tree.Info(child).rect, (Rect{0, 0, 10, 10}));
}

TEST(WindowTree, TimersTickUntilKilled) {
  SimWindowTree tree(std::make_shared<HostCalls>());
  int ticks = 0;
  const auto id = tree.SetTimer(200, [&] { ++ticks; });
  tree.FireTimers();
  tree.FireTimers();
  tree.KillTimer(id);
  tree.FireTimers();
  EXPECT_EQ(ticks, 2);
}

}  // namespace
}  // namespace host::sim
