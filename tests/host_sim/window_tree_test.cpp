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
  EXPECT_EQ(tree.MapScreenRectToClient(dialog, {423, 115, 513, 138}), (Rect{320, 10, 410, 33}));
  tree.SetWindowPos(dialog, 50, 60, 720, 470);
  EXPECT_EQ(tree.GetWindowRect(dialog), (Rect{50, 60, 770, 530}));
  EXPECT_EQ(tree.GetWindowRect(child), (Rect{373, 95, 463, 118})) << "children move with it";
  tree.MoveWindow(child, 0, 0, 10, 10);
  EXPECT_EQ(tree.Info(child).rect, (Rect{0, 0, 10, 10}));
}

TEST(WindowTree, AMirroredWindowsClientCoordinatesRunFromItsRightEdge) {
  SimWindowTree tree(std::make_shared<HostCalls>());
  SimWindowInfo info{u"#32770", u"D", 1000, 0, {100, 80, 530, 410}, {3, 25}};
  info.mirrored = true;
  const auto dialog = tree.AddTopLevel(info);
  // The client area is 424 wide from x = 103: client x 320 to 410 lies 14 to 104 left of 527.
  const auto child = tree.AddChild(dialog, {u"Button", u"OK", 0, 0, {320, 10, 410, 33}});
  EXPECT_EQ(tree.GetWindowRect(child), (Rect{117, 115, 207, 138}));
  EXPECT_EQ(tree.MapScreenRectToClient(dialog, {117, 115, 207, 138}), (Rect{320, 10, 410, 33}))
      << "mapped as a rectangle, the edges come back in order";
}

TEST(WindowTree, CoordinatesAreVirtualizedForAThreadOfAnotherDpiAwareness) {
  SimWindowTree tree(std::make_shared<HostCalls>());
  SimWindowInfo info{u"#32770", u"D", 1000, 0, {96, 48, 1056, 672}, {3, 25}};
  info.dpi = 192;
  const auto dialog = tree.AddTopLevel(info);
  tree.threadAwareness = DpiAwareness::Unaware;
  EXPECT_EQ(tree.GetWindowRect(dialog), (Rect{48, 24, 528, 336}));
  EXPECT_EQ(tree.GetDpiForWindow(dialog), 192) << "the window's own awareness decides";
  tree.SetWindowPos(dialog, 48, 24, 100, 50);
  EXPECT_EQ(tree.Info(dialog).rect, (Rect{96, 48, 296, 148}));
  tree.InDpiContextOf(dialog,
                      [&] { EXPECT_EQ(tree.GetWindowRect(dialog), tree.Info(dialog).rect); });
  EXPECT_EQ(tree.threadAwareness, DpiAwareness::Unaware) << "put back afterwards";
  tree.Info(dialog).awareness = DpiAwareness::Unaware;
  EXPECT_EQ(tree.GetDpiForWindow(dialog), 96);
}

// A hook sees what a subclass sees: sizing (held to its minimum once the window has a sizing
// border, which the user needs to size it at all), and destruction while the window is whole;
// its calls run in the window's DPI awareness and end when it is unhooked.
TEST(WindowTree, HooksSeeSizingAndDestructionInTheWindowsAwareness) {
  SimWindowTree tree(std::make_shared<HostCalls>());
  const auto window =
      tree.AddTopLevel({u"#32770", u"D", 1000, 0, {0, 0, 400, 300}, {3, 25}, 0, 144});
  tree.Info(window).awareness = DpiAwareness::Unaware;
  const auto child = tree.AddChild(window, {u"Button", u"OK", 0, 0, {10, 10, 50, 30}});
  tree.threadAwareness = DpiAwareness::PerMonitor;
  std::vector<std::string> seen;
  const auto hook = tree.HookWindow(
      window, {[] {
                 return Point{300, 200};
               },
               [&] {
                 seen.push_back(tree.threadAwareness == DpiAwareness::Unaware ? "sized, unaware"
                                                                              : "sized, aware");
               },
               [&] { seen.push_back(tree.Exists(child) ? "closing, whole" : "closing, broken"); }});
  ASSERT_NE(hook, 0u);
  EXPECT_FALSE(tree.UserSizes(window, 500, 400)) << "no border, no sizing by the user";
  tree.AddSizingBorder(window);
  EXPECT_TRUE(tree.UserSizes(window, 200, 100));
  EXPECT_EQ(tree.Info(window).rect, (Rect{0, 0, 450, 300})) << "300 x 200 unaware is 450 x 300";
  EXPECT_EQ(tree.threadAwareness, DpiAwareness::PerMonitor) << "put back after the call";
  tree.UserSizes(window, 450, 300);  // the same size: nothing to tell
  tree.DestroyWindow(window);
  EXPECT_EQ(seen, (std::vector<std::string>{"sized, unaware", "closing, whole"}));
  EXPECT_FALSE(tree.Exists(child));
  EXPECT_EQ(tree.HookCount(), 0u);
  EXPECT_EQ(tree.FindChild(tree.GetDesktopWindow(), 0, u"#32770", std::nullopt), 0u);

  const auto other = tree.AddTopLevel({u"#32770", u"E", 1000, 0, {0, 0, 400, 300}});
  tree.AddSizingBorder(other);
  const auto second = tree.HookWindow(other, {{}, [&] { seen.push_back("late"); }, {}});
  tree.UnhookWindow(second);
  tree.UserSizes(other, 500, 400);
  EXPECT_EQ(seen.size(), 2u) << "nothing after unhooking";
}

// A sizing border is thicker than a dialog's frame: the outer rectangle stays, the client area
// gives up the difference (scaled with the window's DPI).
TEST(WindowTree, ASizingBorderTakesItsPixelsFromTheClientArea) {
  SimWindowTree tree(std::make_shared<HostCalls>());
  const auto window =
      tree.AddTopLevel({u"#32770", u"D", 1000, 0, {0, 0, 400, 300}, {3, 25}, 0, 144});
  EXPECT_EQ(tree.GetClientRect(window), (Rect{0, 0, 394, 272}));
  tree.AddSizingBorder(window);
  tree.AddSizingBorder(window);  // once is all it takes
  EXPECT_EQ(tree.Info(window).rect, (Rect{0, 0, 400, 300}));
  EXPECT_EQ(tree.GetClientRect(window), (Rect{0, 0, 382, 260}));
  tree.threadAwareness = DpiAwareness::Unaware;
  EXPECT_EQ(tree.GetClientRect(window), (Rect{0, 0, 255, 173})) << "as an unaware thread sees it";
}

// Moved to a monitor of another DPI, a per-monitor dialog's frame and controls scale, its hooks
// hear of the DPI, and then it takes the suggested rectangle (its hooks see the size change).
TEST(WindowTree, AMoveToAnotherDpiScalesTheDialogThenTellsItsHooks) {
  SimWindowTree tree(std::make_shared<HostCalls>());
  const auto window = tree.AddTopLevel({u"#32770", u"D", 1000, 0, {0, 0, 400, 300}, {3, 25}});
  const auto child = tree.AddChild(window, {u"Button", u"OK", 0, 0, {10, 10, 50, 30}});
  std::vector<std::string> seen;
  tree.HookWindow(window,
                  {{},
                   [&] { seen.push_back("sized"); },
                   {},
                   [&] { seen.push_back("dpi " + std::to_string(tree.GetDpiForWindow(window))); }});
  tree.MoveToDpi(window, 144, {1920, 0, 2520, 450});
  EXPECT_EQ(tree.Info(window).rect, (Rect{1920, 0, 2520, 450}));
  EXPECT_EQ(tree.Info(child).rect, (Rect{15, 15, 75, 45}));
  EXPECT_EQ(tree.Info(window).clientOffset, (Point{5, 38}));
  EXPECT_EQ(seen, (std::vector<std::string>{"dpi 144", "sized"}));
}

TEST(WindowTree, TimersTickUntilKilled) {
  SimWindowTree tree(std::make_shared<HostCalls>());
  int ticks = 0;
  const auto id = tree.SetTimer(200, [&] { ++ticks; });
  EXPECT_EQ(tree.Interval(id), 200u);
  tree.FireTimers();
  tree.FireTimers();
  tree.KillTimer(id);
  tree.FireTimers();
  EXPECT_EQ(ticks, 2);
}

}  // namespace
}  // namespace host::sim
