#pragma once
// An in-memory window tree that behaves like user32 for the operations of host::WindowSystem:
// child order, classes compared without regard to case, titles matched whole, client areas inset
// in their windows, thread timers fired by the test, and a clock the test moves. A failure planned
// for a call makes it do nothing and answer 0, as a failing user32 call does.

#include <map>
#include <memory>
#include <vector>

#include "host/sim/host_calls.h"
#include "host/window_system.h"

namespace host::sim {

struct SimWindowInfo {
  Text className;
  Text title;
  std::uint32_t processId = 0;
  WindowHandle parent = 0;
  // Top-level windows: in screen coordinates. Children: in the parent's client coordinates.
  Rect rect;
  Point clientOffset;  // where the client area starts inside the window (frame and caption)
  std::int32_t style = 0;
  std::int32_t dpi = 96;
  bool onTop = false;
};

class SimWindowTree : public WindowSystem {
 public:
  explicit SimWindowTree(std::shared_ptr<HostCalls> calls, std::uint32_t processId = 1000);

  TimerId SetTimer(std::uint32_t milliseconds, std::function<void()> tick) override;
  void KillTimer(TimerId timer) override;
  std::uint32_t GetCurrentProcessId() override;
  WindowHandle GetDesktopWindow() override;
  std::uint32_t GetWindowProcessId(WindowHandle window) override;
  WindowHandle FindChild(WindowHandle parent, WindowHandle after, const Text& className,
                         const std::optional<Text>& title) override;
  Rect GetWindowRect(WindowHandle window) override;
  Point ScreenToClient(WindowHandle window, Point point) override;
  void SetWindowPos(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t width,
                    std::int32_t height) override;
  void MoveWindow(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t width,
                  std::int32_t height) override;
  std::int32_t GetWindowStyle(WindowHandle window) override;
  void SetWindowStyle(WindowHandle window, std::int32_t style) override;
  std::int32_t GetDpiForWindow(WindowHandle window) override;

  // The test's side: windows opened in front of the others, their children, the timers.
  WindowHandle AddTopLevel(SimWindowInfo info);
  WindowHandle AddChild(WindowHandle parent, SimWindowInfo info);
  SimWindowInfo& Info(WindowHandle window) { return windows_.at(window); }
  std::vector<TimerId> Timers() const;
  // Runs one tick of every timer that exists now.
  void FireTimers();

 private:
  Point ClientOrigin(WindowHandle window) const;  // on the screen

  std::shared_ptr<HostCalls> calls_;
  std::uint32_t processId_;
  WindowHandle nextHandle_ = 0x100;
  std::map<WindowHandle, SimWindowInfo> windows_;
  std::map<WindowHandle, std::vector<WindowHandle>> children_;  // in Z order, top first
  std::map<TimerId, std::function<void()>> timers_;
  TimerId nextTimer_ = 1;
};

class SimClock : public Clock {
 public:
  double Now() override { return now; }
  void AdvanceSeconds(double seconds) { now += seconds / 86400.0; }
  double now = 46000.5;  // a day in 2025, at noon
};

}  // namespace host::sim
