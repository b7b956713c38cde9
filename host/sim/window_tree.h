#pragma once
// An in-memory window tree that behaves like user32 for the operations of host::WindowSystem:
// child order, classes compared without regard to case, titles matched whole, client areas inset
// in their windows, mirrored (right-to-left) windows, DPI virtualization between the thread's and
// the windows' DPI awareness, thread timers fired by the test, hooks on windows as a subclass is
// one (sizing and destruction reach them, a sizing border holds the window to their minimum),
// keyboard focus, owners, disabled windows and the thread's key hooks, and a clock the test
// moves. A failure planned for a call makes it do nothing and answer 0, as a
// failing user32 call does.

#include <map>
#include <memory>
#include <vector>

#include "host/key_input.h"
#include "host/sim/host_calls.h"
#include "host/window_system.h"

namespace host::sim {

enum class DpiAwareness { Unaware, SystemAware, PerMonitor };

struct SimWindowInfo {
  Text className;
  Text title;
  std::uint32_t processId = 0;
  WindowHandle parent = 0;
  // In physical pixels. Top-level windows: in screen coordinates. Children: in the parent's
  // client coordinates, which on a mirrored parent run from its client area's right edge.
  Rect rect;
  Point clientOffset;  // where the client area starts inside the window (frame and caption)
  std::int32_t style = 0;
  std::int32_t dpi = 96;  // of the display the window is on
  bool onTop = false;
  DpiAwareness awareness = DpiAwareness::PerMonitor;  // children take their parent's
  bool mirrored = false;                              // WS_EX_LAYOUTRTL
  WindowHandle owner = 0;  // of a top-level window: the window it floats over
  bool enabled = true;
  std::uint32_t threadId = 1;  // the thread that made it; the test's thread is 1
};

// A key message as the focused window got it, past every key hook.
struct ReceivedKey {
  WindowHandle window;
  KeyStroke stroke;
};

inline constexpr std::int32_t kSizingBorder = 0x00040000;  // WS_THICKFRAME

class SimWindowTree : public WindowSystem, public KeyInput {
 public:
  explicit SimWindowTree(std::shared_ptr<HostCalls> calls, std::uint32_t processId = 1000);

  TimerId SetTimer(std::uint32_t milliseconds, std::function<void()> tick) override;
  void KillTimer(TimerId timer) override;
  std::uint32_t GetCurrentProcessId() override;
  WindowHandle GetDesktopWindow() override;
  std::uint32_t GetWindowProcessId(WindowHandle window) override;
  std::uint32_t GetCurrentThreadId() override;
  std::uint32_t GetWindowThreadId(WindowHandle window) override;
  WindowHandle GetOwner(WindowHandle window) override;
  Text WindowText(WindowHandle window) override;
  Text ClassNameOf(WindowHandle window) override;
  WindowHandle FindChild(WindowHandle parent, WindowHandle after, const Text& className,
                         const std::optional<Text>& title) override;
  Rect GetWindowRect(WindowHandle window) override;
  Rect GetClientRect(WindowHandle window) override;
  Rect MapScreenRectToClient(WindowHandle window, Rect rect) override;
  void SetWindowPos(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t width,
                    std::int32_t height) override;
  void MoveWindow(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t width,
                  std::int32_t height) override;
  std::int32_t GetWindowStyle(WindowHandle window) override;
  void SetWindowStyle(WindowHandle window, std::int32_t style) override;
  std::int32_t GetDpiForWindow(WindowHandle window) override;
  void InDpiContextOf(WindowHandle window, const std::function<void()>& work) override;
  void AddSizingBorder(WindowHandle window) override;
  Rect WorkAreaOf(WindowHandle window) override;
  HookId HookWindow(WindowHandle window, WindowHooks hooks) override;
  void UnhookWindow(HookId hook) override;
  HookId HookKeys(std::function<bool(const KeyStroke&)> stroke) override;
  void UnhookKeys(HookId hook) override;
  WindowHandle GetFocus() override;
  WindowHandle ParentOrOwner(WindowHandle window) override;
  bool IsWindowEnabled(WindowHandle window) override;

  // The test's side: windows opened in front of the others, their children, the timers.
  WindowHandle AddTopLevel(SimWindowInfo info);
  WindowHandle AddChild(WindowHandle parent, SimWindowInfo info);
  SimWindowInfo& Info(WindowHandle window) { return windows_.at(window); }
  std::vector<TimerId> Timers() const;
  std::uint32_t Interval(TimerId timer) const { return timers_.at(timer).milliseconds; }
  // Runs one tick of every timer that exists now.
  void FireTimers();
  // The user drags the window's sizing border to that outer size, in physical pixels: nothing
  // happens without a border, and a hook's minimum holds. Whether it has a border.
  bool UserSizes(WindowHandle window, std::int32_t width, std::int32_t height);
  // The window and its children go, their hooks told first.
  void DestroyWindow(WindowHandle window);
  // The user drags the window to a monitor of another DPI, as a per-monitor aware dialog sees it:
  // its frame and children scale with the DPI, its hooks are told, then it takes the rectangle
  // the system suggests (physical pixels).
  void MoveToDpi(WindowHandle window, std::int32_t dpi, Rect suggested);
  bool Exists(WindowHandle window) const { return windows_.count(window) != 0; }
  // The keyboard focus moves to the window (0: none of this thread's windows).
  void Focus(WindowHandle window) { focus_ = window; }
  // One key message on this thread: the key hooks see it, the newest first, and the first that
  // answers true ends it there; otherwise the focused window gets it. Whether one ended it.
  bool Key(KeyStroke stroke);
  const std::vector<ReceivedKey>& Received() const { return received_; }
  std::size_t KeyHookCount() const { return keyHooks_.size(); }
  std::size_t HookCount() const { return hooks_.size(); }

  // The calling thread's DPI awareness, the system's DPI, and whether the system can switch the
  // thread's awareness (Windows 10 1607 and later).
  DpiAwareness threadAwareness = DpiAwareness::PerMonitor;
  std::int32_t systemDpi = 96;
  bool dpiContexts = true;
  Rect workArea{0, 0, 1920, 1040};  // physical: one monitor, the task bar at the bottom
  // How much thicker a sizing border is than a dialog's frame, at 96 DPI, on every side but the
  // caption's.
  std::int32_t sizingBorderExtra = 4;

 private:
  Point ClientOrigin(WindowHandle window) const;  // on the screen, physical
  Rect ScreenRect(WindowHandle window) const;     // physical
  // Physical pixels as the calling thread sees them near `window`, and back.
  double ThreadScale(WindowHandle window) const;
  std::int32_t ToThread(WindowHandle window, std::int32_t physical) const;
  std::int32_t ToPhysical(WindowHandle window, std::int32_t seen) const;
  // Resizes in physical pixels, held to a bordered window's minimum, and tells its hooks.
  void Resize(WindowHandle window, Rect physical);
  template <typename Work>
  void InOwnAwareness(WindowHandle window, Work work);

  std::shared_ptr<HostCalls> calls_;
  std::uint32_t processId_;
  WindowHandle nextHandle_ = 0x100;
  std::map<WindowHandle, SimWindowInfo> windows_;
  std::map<WindowHandle, std::vector<WindowHandle>> children_;  // in Z order, top first
  struct Timer {
    std::uint32_t milliseconds;
    std::function<void()> tick;
  };
  std::map<TimerId, Timer> timers_;
  TimerId nextTimer_ = 1;
  struct Hook {
    WindowHandle window;
    WindowHooks hooks;
  };
  std::map<HookId, Hook> hooks_;
  HookId nextHook_ = 1;
  std::map<HookId, std::function<bool(const KeyStroke&)>> keyHooks_;
  WindowHandle focus_ = 0;
  std::vector<ReceivedKey> received_;
};

class SimClock : public Clock {
 public:
  std::uint64_t Milliseconds() override { return now; }
  void AdvanceSeconds(double seconds) { now += static_cast<std::uint64_t>(seconds * 1000 + 0.5); }
  std::uint64_t now = 3'600'000;  // an hour after the system started
};

}  // namespace host::sim
