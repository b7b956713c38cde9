#pragma once
// The window functions the References watch relies on, as user32 offers them, and a clock that
// only goes forward. Failures are not reported: a call that fails does nothing and gives 0, as the
// watch expects.

#include <cstdint>
#include <functional>
#include <optional>

#include "host/text.h"

namespace host {

using WindowHandle = std::uintptr_t;  // 0 for none
using TimerId = std::uintptr_t;       // 0 for none
using HookId = std::uintptr_t;        // 0 for none

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  bool operator==(const Rect&) const = default;
};

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const Point&) const = default;
};

// What a hook on a top-level window does with its messages. Each runs on the window's thread, in
// the window's own DPI awareness; nothing thrown escapes into the window.
struct WindowHooks {
  // The smallest outer size the user can give it, asked each time it is needed.
  std::function<Point()> minimumSize;
  std::function<void()> sized;    // after its size changed, unless it was minimized
  std::function<void()> closing;  // as it is destroyed, still whole; the hook is gone after it
  // When it has moved to another DPI, before it takes the rectangle the system suggests there
  // (which the minimum size must already allow).
  std::function<void()> dpiChanged;
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // A thread timer with no window: `tick` runs about every `milliseconds` whenever a message loop
  // of this thread dispatches timer messages. Returns its identifier, 0 on failure.
  // Coordinates below are in the DPI awareness of the calling thread (see InDpiContextOf).
  virtual TimerId SetTimer(std::uint32_t milliseconds, std::function<void()> tick) = 0;
  virtual void KillTimer(TimerId timer) = 0;
  virtual std::uint32_t GetCurrentProcessId() = 0;
  virtual WindowHandle GetDesktopWindow() = 0;
  // The process that owns the window.
  virtual std::uint32_t GetWindowProcessId(WindowHandle window) = 0;
  virtual std::uint32_t GetCurrentThreadId() = 0;
  // The thread that created the window; 0 when it cannot be told.
  virtual std::uint32_t GetWindowThreadId(WindowHandle window) = 0;
  // The window a top-level window floats over (GetWindow GW_OWNER); 0 for none.
  virtual WindowHandle GetOwner(WindowHandle window) = 0;
  // Its whole text and its class name; empty when they cannot be read.
  virtual Text WindowText(WindowHandle window) = 0;
  virtual Text ClassNameOf(WindowHandle window) = 0;
  // FindWindowEx: the next direct child of `parent` after `after` (0: from the first), in Z order,
  // whose class is `className` (compared without regard to case; empty: any class) and whose
  // whole text is `title` when one is given. 0 when there is none.
  virtual WindowHandle FindChild(WindowHandle parent, WindowHandle after, const Text& className,
                                 const std::optional<Text>& title) = 0;
  // In screen coordinates.
  virtual Rect GetWindowRect(WindowHandle window) = 0;
  // The client area, in the window's own client coordinates: 0, 0, its width and height.
  virtual Rect GetClientRect(WindowHandle window) = 0;
  // A rectangle in screen coordinates mapped into the window's client coordinates, as
  // MapWindowPoints maps one: on a mirrored (right-to-left) window the edges come back in order.
  virtual Rect MapScreenRectToClient(WindowHandle window, Rect rect) = 0;
  // Moves and sizes a top-level window, bringing it to the top and activating it.
  virtual void SetWindowPos(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t width,
                            std::int32_t height) = 0;
  // Moves and sizes a control, in its parent's client coordinates, and repaints it.
  virtual void MoveWindow(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t width,
                          std::int32_t height) = 0;
  virtual std::int32_t GetWindowStyle(WindowHandle window) = 0;
  virtual void SetWindowStyle(WindowHandle window, std::int32_t style) = 0;
  // Gives a top-level window a sizing border, its outer rectangle kept.
  virtual void AddSizingBorder(WindowHandle window) = 0;
  // The work area (the screen less the task bar) of the monitor the window is mostly on.
  virtual Rect WorkAreaOf(WindowHandle window) = 0;
  // Puts the hooks between the window and its own handling of its messages, until UnhookWindow
  // or the window's destruction. 0 when the window cannot be hooked.
  virtual HookId HookWindow(WindowHandle window, WindowHooks hooks) = 0;
  // After this no hook of that identifier runs again; a hook already gone is no failure.
  virtual void UnhookWindow(HookId hook) = 0;
  // Dots per inch of the window as its own DPI awareness sees it; 96 where the platform cannot
  // tell.
  virtual std::int32_t GetDpiForWindow(WindowHandle window) = 0;
  // Runs `work` with this thread's DPI awareness set to the window's own and puts it back after,
  // so that sizes read, scaled by GetDpiForWindow and written all mean the window's pixels. Just
  // runs `work` where the system has no such setting.
  virtual void InDpiContextOf(WindowHandle window, const std::function<void()>& work) = 0;
};

// Milliseconds from some fixed start; never goes back, whatever the date and time do.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint64_t Milliseconds() = 0;
};

}  // namespace host
