#include "host/win/key_input.h"

#include <windows.h>

#include <map>
#include <mutex>
#include <vector>

#include "host/win/boundary.h"

namespace host::win {

namespace {

HWND Hwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
WindowHandle Handle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

// One system hook per thread, whatever number of hooks this DLL has on it: the hook procedure
// cannot tell which of several system hooks it was called for.
struct ThreadHook {
  HHOOK system = nullptr;
  std::map<HookId, std::function<bool(const KeyStroke&)>> strokes;  // the oldest first
};
std::map<DWORD, ThreadHook>& ThreadHooks() {
  static std::map<DWORD, ThreadHook> hooks;
  return hooks;
}
// The host may let go of the add-in on another thread than the one whose keys it hooked.
std::mutex& ThreadHooksLock() {
  static std::mutex lock;
  return lock;
}

constexpr LPARAM kWasDown = LPARAM{1} << 30;
constexpr LPARAM kGoingUp = LPARAM{1} << 31;

LRESULT CALLBACK KeyProc(int code, WPARAM virtualKey, LPARAM flags) {
  // HC_NOREMOVE: the message was only peeked at; it comes again as HC_ACTION when it is taken.
  if (code == HC_ACTION) {
    bool swallowed = false;
    Boundary<ErrorInfo::None>([&] {
      std::vector<std::function<bool(const KeyStroke&)>> newestFirst;
      {
        const std::lock_guard<std::mutex> held(ThreadHooksLock());
        const auto found = ThreadHooks().find(GetCurrentThreadId());
        if (found == ThreadHooks().end()) return;
        // Copies, run unlocked: a stroke may remove its own hook.
        for (const auto& [id, stroke] : found->second.strokes)
          newestFirst.insert(newestFirst.begin(), stroke);
      }
      const KeyStroke stroke{static_cast<std::int32_t>(virtualKey), (flags & kGoingUp) == 0,
                             (flags & kWasDown) != 0};
      for (const auto& run : newestFirst)
        if (run(stroke)) {
          swallowed = true;
          return;
        }
    });
    if (swallowed) return 1;
  }
  return CallNextHookEx(nullptr, code, virtualKey, flags);
}

class User32Input : public KeyInput {
 public:
  HookId HookKeys(std::function<bool(const KeyStroke&)> stroke) override {
    static HookId last = 0;
    const std::lock_guard<std::mutex> held(ThreadHooksLock());
    auto& thread = ThreadHooks()[GetCurrentThreadId()];
    if (!thread.system) {
      // A hook of this thread only: no other program's keys, no DLL loaded into another process.
      thread.system = SetWindowsHookExW(WH_KEYBOARD, KeyProc, nullptr, GetCurrentThreadId());
      if (!thread.system) {
        ThreadHooks().erase(GetCurrentThreadId());
        return 0;
      }
    }
    thread.strokes[++last] = std::move(stroke);
    return last;
  }
  void UnhookKeys(HookId hook) override {
    const std::lock_guard<std::mutex> held(ThreadHooksLock());
    for (auto it = ThreadHooks().begin(); it != ThreadHooks().end(); ++it) {
      if (it->second.strokes.erase(hook) == 0) continue;
      if (it->second.strokes.empty()) {
        UnhookWindowsHookEx(it->second.system);
        ThreadHooks().erase(it);
      }
      return;
    }
  }
  WindowHandle GetFocus() override { return Handle(::GetFocus()); }
  WindowHandle ParentOrOwner(WindowHandle window) override {
    const HWND parent = GetAncestor(Hwnd(window), GA_PARENT);
    if (parent && parent != GetDesktopWindow()) return Handle(parent);
    return Handle(GetWindow(Hwnd(window), GW_OWNER));
  }
  bool IsWindowEnabled(WindowHandle window) override {
    return ::IsWindowEnabled(Hwnd(window)) != FALSE;
  }
};

}  // namespace

std::shared_ptr<KeyInput> User32Keys() { return std::make_shared<User32Input>(); }

}  // namespace host::win
