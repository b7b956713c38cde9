#include "host/win/window_system.h"

#include <windows.h>

#include <map>

#include "host/win/boundary.h"
#include "host/win/unique.h"

namespace host::win {

namespace {

HWND Hwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
WindowHandle Handle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

// The ticks of this DLL's timers, by timer identifier.
std::map<UINT_PTR, std::function<void()>>& Ticks() {
  static std::map<UINT_PTR, std::function<void()>> ticks;
  return ticks;
}

void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  Boundary([id] {
    const auto found = Ticks().find(id);
    if (found == Ticks().end()) return;
    const auto tick = found->second;  // the tick may kill its own timer
    tick();
  });
}

class User32 : public WindowSystem {
 public:
  TimerId SetTimer(std::uint32_t milliseconds, std::function<void()> tick) override {
    const UINT_PTR id = ::SetTimer(nullptr, 0, milliseconds, TimerProc);
    if (id != 0) Ticks()[id] = std::move(tick);
    return id;
  }
  void KillTimer(TimerId timer) override {
    ::KillTimer(nullptr, timer);
    Ticks().erase(timer);
  }
  std::uint32_t GetCurrentProcessId() override { return ::GetCurrentProcessId(); }
  WindowHandle GetDesktopWindow() override { return Handle(::GetDesktopWindow()); }
  std::uint32_t GetWindowProcessId(WindowHandle window) override {
    DWORD process = 0;
    GetWindowThreadProcessId(Hwnd(window), &process);
    return process;
  }
  WindowHandle FindChild(WindowHandle parent, WindowHandle after, const Text& className,
                         const std::optional<Text>& title) override {
    return Handle(
        FindWindowExW(Hwnd(parent), Hwnd(after), Wide(className), title ? Wide(*title) : nullptr));
  }
  Rect GetWindowRect(WindowHandle window) override {
    RECT r{};
    ::GetWindowRect(Hwnd(window), &r);
    return {r.left, r.top, r.right, r.bottom};
  }
  Point ScreenToClient(WindowHandle window, Point point) override {
    POINT p{point.x, point.y};
    ::ScreenToClient(Hwnd(window), &p);
    return {p.x, p.y};
  }
  void SetWindowPos(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t width,
                    std::int32_t height) override {
    ::SetWindowPos(Hwnd(window), HWND_TOP, x, y, width, height, 0);
  }
  void MoveWindow(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t width,
                  std::int32_t height) override {
    ::MoveWindow(Hwnd(window), x, y, width, height, TRUE);
  }
  std::int32_t GetWindowStyle(WindowHandle window) override {
    return static_cast<std::int32_t>(GetWindowLongW(Hwnd(window), GWL_STYLE));
  }
  void SetWindowStyle(WindowHandle window, std::int32_t style) override {
    SetWindowLongW(Hwnd(window), GWL_STYLE, style);
  }
  std::int32_t GetDpiForWindow(WindowHandle window) override {
    // Windows 10 1607 and later know each window's DPI; before, the screen's tells.
    using Query = UINT(WINAPI*)(HWND);
    static const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (query) {
      const UINT dpi = query(Hwnd(window));
      if (dpi != 0) return static_cast<std::int32_t>(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
  }
};

class Local : public Clock {
 public:
  double Now() override {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    FILETIME file{};
    SystemTimeToFileTime(&local, &file);
    const auto ticks =
        (static_cast<unsigned long long>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
    // 100-nanosecond ticks since 1601-01-01, to days since 1899-12-30.
    constexpr double kTicksPerDay = 864e9;
    constexpr double kDaysFrom1601To1899 = 109205.0;
    return static_cast<double>(ticks) / kTicksPerDay - kDaysFrom1601To1899;
  }
};

}  // namespace

std::shared_ptr<WindowSystem> User32Windows() { return std::make_shared<User32>(); }
std::shared_ptr<Clock> LocalClock() { return std::make_shared<Local>(); }

}  // namespace host::win
