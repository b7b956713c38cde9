#pragma once
// The window functions the References watch relies on, as user32 offers them, and the local
// clock. Failures are not reported: a call that fails does nothing and gives 0, as the watch
// expects.

#include <cstdint>
#include <functional>
#include <optional>

#include "host/text.h"

namespace host {

using WindowHandle = std::uintptr_t;  // 0 for none
using TimerId = std::uintptr_t;       // 0 for none

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

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // A thread timer with no window: `tick` runs about every `milliseconds` whenever a message loop
  // of this thread dispatches timer messages. Returns its identifier, 0 on failure.
  virtual TimerId SetTimer(std::uint32_t milliseconds, std::function<void()> tick) = 0;
  virtual void KillTimer(TimerId timer) = 0;
  virtual std::uint32_t GetCurrentProcessId() = 0;
  virtual WindowHandle GetDesktopWindow() = 0;
  // The process that owns the window.
  virtual std::uint32_t GetWindowProcessId(WindowHandle window) = 0;
  // FindWindowEx: the next direct child of `parent` after `after` (0: from the first), in Z order,
  // whose class is `className` (compared without regard to case) and whose whole text is `title`
  // when one is given. 0 when there is none.
  virtual WindowHandle FindChild(WindowHandle parent, WindowHandle after, const Text& className,
                                 const std::optional<Text>& title) = 0;
  // In screen coordinates.
  virtual Rect GetWindowRect(WindowHandle window) = 0;
  virtual Point ScreenToClient(WindowHandle window, Point point) = 0;
  // Moves and sizes a top-level window, bringing it to the top and activating it.
  virtual void SetWindowPos(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t width,
                            std::int32_t height) = 0;
  // Moves and sizes a control, in its parent's client coordinates, and repaints it.
  virtual void MoveWindow(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t width,
                          std::int32_t height) = 0;
  virtual std::int32_t GetWindowStyle(WindowHandle window) = 0;
  virtual void SetWindowStyle(WindowHandle window, std::int32_t style) = 0;
  // Dots per inch of the display the window is on; 96 where the platform cannot tell.
  virtual std::int32_t GetDpiForWindow(WindowHandle window) = 0;
};

// The local date and time as a day count with the time of day as its fraction.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual double Now() = 0;
};

}  // namespace host
