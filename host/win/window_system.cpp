#include "host/win/window_system.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <map>
#include <vector>

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
  Boundary<ErrorInfo::None>([id] {
    const auto found = Ticks().find(id);
    if (found == Ticks().end()) return;
    const auto tick = found->second;  // the tick may kill its own timer
    tick();
  });
}

// The hooks of this DLL on windows, by subclass identifier. A hook's record goes when it ends; its
// subclass may stay a little longer, passing every message on.
struct Hook {
  HWND window;
  WindowHooks hooks;
};
std::map<UINT_PTR, Hook>& Hooks() {
  static std::map<UINT_PTR, Hook> hooks;
  return hooks;
}

void RunHook(UINT_PTR id, std::function<void()> WindowHooks::*which) {
  Boundary<ErrorInfo::None>([id, which] {
    const auto found = Hooks().find(id);
    if (found == Hooks().end()) return;
    const auto run = found->second.hooks.*which;  // it may end its own hook
    if (run) run();
  });
}

// How many calls of HookProc are under way on this thread: while one is, its return leads back
// into this DLL.
int& HooksRunning() {
  static int running = 0;
  return running;
}

LRESULT CALLBACK HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                          DWORD_PTR) {
  struct Running {
    Running() { ++HooksRunning(); }
    ~Running() { --HooksRunning(); }
  } running;
  switch (message) {
    case WM_GETMINMAXINFO: {
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      const auto found = Hooks().find(id);
      if (found != Hooks().end()) {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        Boundary<ErrorInfo::None>([&] {
          if (!found->second.hooks.minimumSize) return;
          const Point least = found->second.hooks.minimumSize();
          limits->ptMinTrackSize.x = std::max<LONG>(limits->ptMinTrackSize.x, least.x);
          limits->ptMinTrackSize.y = std::max<LONG>(limits->ptMinTrackSize.y, least.y);
        });
      }
      return result;
    }
    case WM_DPICHANGED: {
      // The hook first, so that the minimum size is the new DPI's; then the dialog's own
      // handling (it scales its fonts and controls where it can); then the rectangle the system
      // suggests for the new DPI.
      const bool hooked = Hooks().count(id) != 0;
      if (hooked) RunHook(id, &WindowHooks::dpiChanged);
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      if (hooked && IsWindow(window)) {
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(window, nullptr, suggested->left, suggested->top,
                       suggested->right - suggested->left, suggested->bottom - suggested->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
      }
      return result;
    }
    case WM_SIZE: {
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      if (wParam != SIZE_MINIMIZED) RunHook(id, &WindowHooks::sized);
      return result;
    }
    case WM_DESTROY:
      RunHook(id, &WindowHooks::closing);
      Hooks().erase(id);
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, HookProc, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

// A subclass that could not be removed still calls into this DLL, and one removed from under a
// message it is handling still returns into it: the DLL then stays loaded for as long as the
// process runs.
void KeepThisDllLoaded() {
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(&HookProc)), &self);
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
  std::uint32_t GetCurrentThreadId() override { return ::GetCurrentThreadId(); }
  std::uint32_t GetWindowThreadId(WindowHandle window) override {
    return GetWindowThreadProcessId(Hwnd(window), nullptr);
  }
  WindowHandle GetOwner(WindowHandle window) override {
    return Handle(::GetWindow(Hwnd(window), GW_OWNER));
  }
  Text WindowText(WindowHandle window) override {
    const int length = GetWindowTextLengthW(Hwnd(window));
    if (length <= 0) return {};
    std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1);
    const int read = ::GetWindowTextW(Hwnd(window), text.data(), length + 1);
    return FromWide(std::wstring_view(text.data(), static_cast<std::size_t>(std::max(read, 0))));
  }
  Text ClassNameOf(WindowHandle window) override {
    wchar_t name[257] = {};  // a class name has at most 256 characters
    const int read = ::GetClassNameW(Hwnd(window), name, 257);
    return FromWide(std::wstring_view(name, static_cast<std::size_t>(std::max(read, 0))));
  }
  WindowHandle FindChild(WindowHandle parent, WindowHandle after, const Text& className,
                         const std::optional<Text>& title) override {
    return Handle(FindWindowExW(Hwnd(parent), Hwnd(after),
                                className.empty() ? nullptr : Wide(className),
                                title ? Wide(*title) : nullptr));
  }
  Rect GetWindowRect(WindowHandle window) override {
    RECT r{};
    ::GetWindowRect(Hwnd(window), &r);
    return {r.left, r.top, r.right, r.bottom};
  }
  Rect GetClientRect(WindowHandle window) override {
    RECT r{};
    ::GetClientRect(Hwnd(window), &r);
    return {r.left, r.top, r.right, r.bottom};
  }
  Rect MapScreenRectToClient(WindowHandle window, Rect rect) override {
    // Two points make a rectangle: on a mirrored window MapWindowPoints swaps their x back.
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    MapWindowPoints(HWND_DESKTOP, Hwnd(window), corners, 2);
    return {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
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
  void AddSizingBorder(WindowHandle window) override {
    const LONG_PTR style = GetWindowLongPtrW(Hwnd(window), GWL_STYLE);
    if (style == 0) return;
    SetWindowLongPtrW(Hwnd(window), GWL_STYLE, style | WS_THICKFRAME);
    ::SetWindowPos(Hwnd(window), nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  Rect WorkAreaOf(WindowHandle window) override {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromWindow(Hwnd(window), MONITOR_DEFAULTTONEAREST), &info))
      return {};
    return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
  }
  HookId HookWindow(WindowHandle window, WindowHooks hooks) override {
    static UINT_PTR last = 0;
    const UINT_PTR id = ++last;
    Hooks()[id] = {Hwnd(window), std::move(hooks)};
    if (SetWindowSubclass(Hwnd(window), HookProc, id, 0)) return id;
    Hooks().erase(id);
    return 0;
  }
  void UnhookWindow(HookId hook) override {
    const auto found = Hooks().find(hook);
    if (found == Hooks().end()) return;  // gone with its window
    const HWND window = found->second.window;
    Hooks().erase(found);
    const bool removed = RemoveWindowSubclass(window, HookProc, hook);
    if ((!removed && IsWindow(window)) || HooksRunning() > 0) KeepThisDllLoaded();
  }
  void InDpiContextOf(WindowHandle window, const std::function<void()>& work) override {
    // Windows 10 1607 and later; before, every thread of a process shares one awareness.
    using Context = void*;
    using OfWindow = Context(WINAPI*)(HWND);
    using SetForThread = Context(WINAPI*)(Context);
    static const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    static const auto ofWindow = reinterpret_cast<OfWindow>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
    static const auto setForThread = reinterpret_cast<SetForThread>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SetThreadDpiAwarenessContext")));
    const Context wanted = ofWindow && setForThread ? ofWindow(Hwnd(window)) : nullptr;
    const Context before = wanted ? setForThread(wanted) : nullptr;
    struct Restore {
      SetForThread set;
      Context context;
      ~Restore() {
        if (context) set(context);
      }
    } restore{setForThread, before};
    work();
  }
};

class Steady : public Clock {
 public:
  std::uint64_t Milliseconds() override { return GetTickCount64(); }
};

}  // namespace

std::shared_ptr<WindowSystem> User32Windows() { return std::make_shared<User32>(); }
std::shared_ptr<Clock> SteadyClock() { return std::make_shared<Steady>(); }

}  // namespace host::win
