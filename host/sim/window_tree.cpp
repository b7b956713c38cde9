#include "host/sim/window_tree.h"

#include <algorithm>
#include <cmath>

#include "host/sim/ignore_case.h"

namespace host::sim {

namespace {
constexpr WindowHandle kDesktop = 0x10;
}  // namespace

SimWindowTree::SimWindowTree(std::shared_ptr<HostCalls> calls, std::uint32_t processId)
    : calls_(std::move(calls)), processId_(processId) {
  windows_[kDesktop] = SimWindowInfo{u"#32769", u"", 0, 0, {0, 0, 1920, 1080}, {}};
}

TimerId SimWindowTree::SetTimer(std::uint32_t milliseconds, std::function<void()> tick) {
  if (calls_->Fails("Windows.SetTimer")) return 0;
  timers_[nextTimer_] = {milliseconds, std::move(tick)};
  return nextTimer_++;
}

void SimWindowTree::KillTimer(TimerId timer) {
  if (calls_->Fails("Windows.KillTimer")) return;
  timers_.erase(timer);
}

std::uint32_t SimWindowTree::GetCurrentProcessId() {
  if (calls_->Fails("Windows.GetCurrentProcessId")) return 0;
  return processId_;
}

WindowHandle SimWindowTree::GetDesktopWindow() {
  if (calls_->Fails("Windows.GetDesktopWindow")) return 0;
  return kDesktop;
}

std::uint32_t SimWindowTree::GetWindowProcessId(WindowHandle window) {
  if (calls_->Fails("Windows.GetWindowThreadProcessId")) return 0;
  const auto found = windows_.find(window);
  return found == windows_.end() ? 0 : found->second.processId;
}

std::uint32_t SimWindowTree::GetCurrentThreadId() { return 1; }

std::uint32_t SimWindowTree::GetWindowThreadId(WindowHandle window) {
  if (calls_->Fails("Windows.GetWindowThreadProcessId")) return 0;
  const auto found = windows_.find(window);
  return found == windows_.end() ? 0 : found->second.threadId;
}

WindowHandle SimWindowTree::GetOwner(WindowHandle window) {
  if (calls_->Fails("Windows.GetWindow")) return 0;
  const auto found = windows_.find(window);
  return found == windows_.end() || found->second.parent != kDesktop ? 0 : found->second.owner;
}

Text SimWindowTree::WindowText(WindowHandle window) {
  if (calls_->Fails("Windows.GetWindowText")) return {};
  const auto found = windows_.find(window);
  return found == windows_.end() ? Text() : found->second.title;
}

Text SimWindowTree::ClassNameOf(WindowHandle window) {
  if (calls_->Fails("Windows.GetClassName")) return {};
  const auto found = windows_.find(window);
  return found == windows_.end() ? Text() : found->second.className;
}

WindowHandle SimWindowTree::FindChild(WindowHandle parent, WindowHandle after,
                                      const Text& className, const std::optional<Text>& title) {
  if (calls_->Fails("Windows.FindWindowEx")) return 0;
  const auto found = children_.find(parent);
  if (found == children_.end()) return 0;
  const auto& order = found->second;
  auto it = order.begin();
  if (after != 0) {
    it = std::find(order.begin(), order.end(), after);
    if (it == order.end()) return 0;  // not a child of this parent
    ++it;
  }
  for (; it != order.end(); ++it) {
    const auto& info = windows_.at(*it);
    if ((className.empty() || EqualsIgnoringCase(info.className, className)) &&
        (!title || EqualsIgnoringCase(info.title, *title)))
      return *it;
  }
  return 0;
}

Point SimWindowTree::ClientOrigin(WindowHandle window) const {
  // Top-level windows are placed on the screen, children in their parent's client area.
  const Rect screen = ScreenRect(window);
  const auto& info = windows_.at(window);
  return {screen.left + info.clientOffset.x, screen.top + info.clientOffset.y};
}

Rect SimWindowTree::ScreenRect(WindowHandle window) const {
  const auto& info = windows_.at(window);
  if (info.parent == kDesktop || info.parent == 0) return info.rect;
  const Point outer = ClientOrigin(info.parent);
  const auto& parent = windows_.at(info.parent);
  if (!parent.mirrored)
    return {info.rect.left + outer.x, info.rect.top + outer.y, info.rect.right + outer.x,
            info.rect.bottom + outer.y};
  // A mirrored parent's client x runs leftwards from the right edge of its client area.
  const std::int32_t right =
      outer.x + (parent.rect.right - parent.rect.left) - 2 * parent.clientOffset.x;
  return {right - info.rect.right, info.rect.top + outer.y, right - info.rect.left,
          info.rect.bottom + outer.y};
}

double SimWindowTree::ThreadScale(WindowHandle window) const {
  const auto found = windows_.find(window);
  const std::int32_t dpi = found == windows_.end() ? 96 : found->second.dpi;
  switch (threadAwareness) {
    case DpiAwareness::Unaware:
      return 96.0 / dpi;
    case DpiAwareness::SystemAware:
      return static_cast<double>(systemDpi) / dpi;
    case DpiAwareness::PerMonitor:
      break;
  }
  return 1.0;
}

std::int32_t SimWindowTree::ToThread(WindowHandle window, std::int32_t physical) const {
  return static_cast<std::int32_t>(std::lround(physical * ThreadScale(window)));
}

std::int32_t SimWindowTree::ToPhysical(WindowHandle window, std::int32_t seen) const {
  return static_cast<std::int32_t>(std::lround(seen / ThreadScale(window)));
}

Rect SimWindowTree::GetWindowRect(WindowHandle window) {
  if (calls_->Fails("Windows.GetWindowRect")) return {};
  if (!windows_.count(window)) return {};
  const Rect r = ScreenRect(window);
  return {ToThread(window, r.left), ToThread(window, r.top), ToThread(window, r.right),
          ToThread(window, r.bottom)};
}

Rect SimWindowTree::GetClientRect(WindowHandle window) {
  if (calls_->Fails("Windows.GetClientRect")) return {};
  if (!windows_.count(window)) return {};
  const auto& info = windows_.at(window);
  // The frame is as thick at the bottom as at the sides.
  const std::int32_t width = (info.rect.right - info.rect.left) - 2 * info.clientOffset.x;
  const std::int32_t height =
      (info.rect.bottom - info.rect.top) - info.clientOffset.y - info.clientOffset.x;
  return {0, 0, ToThread(window, width), ToThread(window, height)};
}

Rect SimWindowTree::MapScreenRectToClient(WindowHandle window, Rect rect) {
  if (calls_->Fails("Windows.MapWindowPoints")) return rect;
  if (!windows_.count(window) || window == kDesktop) return rect;
  const auto& info = windows_.at(window);
  const Point origin = ClientOrigin(window);
  const auto client = [&](std::int32_t seen, std::int32_t from) {
    return ToPhysical(window, seen) - from;
  };
  Rect r{client(rect.left, origin.x), client(rect.top, origin.y), client(rect.right, origin.x),
         client(rect.bottom, origin.y)};
  if (info.mirrored) {
    const std::int32_t width = (info.rect.right - info.rect.left) - 2 * info.clientOffset.x;
    r = {width - r.right, r.top, width - r.left, r.bottom};
  }
  return {ToThread(window, r.left), ToThread(window, r.top), ToThread(window, r.right),
          ToThread(window, r.bottom)};
}

void SimWindowTree::SetWindowPos(WindowHandle window, std::int32_t x, std::int32_t y,
                                 std::int32_t width, std::int32_t height) {
  if (calls_->Fails("Windows.SetWindowPos")) return;
  const auto found = windows_.find(window);
  if (found == windows_.end()) return;
  const auto physical = [&](std::int32_t seen) { return ToPhysical(window, seen); };
  found->second.onTop = true;
  Resize(window, {physical(x), physical(y), physical(x + width), physical(y + height)});
}

template <typename Work>
void SimWindowTree::InOwnAwareness(WindowHandle window, Work work) {
  // As a window procedure runs: in the window's awareness, and nothing thrown gets out.
  const DpiAwareness before = threadAwareness;
  threadAwareness = windows_.at(window).awareness;
  try {
    work();
  } catch (...) {
  }
  threadAwareness = before;
}

void SimWindowTree::Resize(WindowHandle window, Rect physical) {
  auto& info = windows_.at(window);
  std::vector<WindowHooks> told;
  for (const auto& [id, hook] : hooks_) {
    if (hook.window != window) continue;
    told.push_back(hook.hooks);
    if (!(info.style & kSizingBorder)) continue;
    // The hook's minimum is in the window's own pixels; user32 holds the window to it.
    if (!hook.hooks.minimumSize) continue;
    InOwnAwareness(window, [&] {
      const Point least = hook.hooks.minimumSize();
      physical.right = std::max(physical.right, physical.left + ToPhysical(window, least.x));
      physical.bottom = std::max(physical.bottom, physical.top + ToPhysical(window, least.y));
    });
  }
  const bool resized = (physical.right - physical.left) != (info.rect.right - info.rect.left) ||
                       (physical.bottom - physical.top) != (info.rect.bottom - info.rect.top);
  info.rect = physical;
  if (!resized) return;
  for (const auto& hooks : told)
    if (hooks.sized) InOwnAwareness(window, hooks.sized);
}

void SimWindowTree::MoveWindow(WindowHandle window, std::int32_t x, std::int32_t y,
                               std::int32_t width, std::int32_t height) {
  if (calls_->Fails("Windows.MoveWindow")) return;
  const auto found = windows_.find(window);
  if (found == windows_.end()) return;
  const auto physical = [&](std::int32_t seen) { return ToPhysical(window, seen); };
  found->second.rect = {physical(x), physical(y), physical(x + width), physical(y + height)};
}

std::int32_t SimWindowTree::GetWindowStyle(WindowHandle window) {
  if (calls_->Fails("Windows.GetWindowLong")) return 0;
  const auto found = windows_.find(window);
  return found == windows_.end() ? 0 : found->second.style;
}

void SimWindowTree::SetWindowStyle(WindowHandle window, std::int32_t style) {
  if (calls_->Fails("Windows.SetWindowLong")) return;
  const auto found = windows_.find(window);
  if (found != windows_.end()) found->second.style = style;
}

std::int32_t SimWindowTree::GetDpiForWindow(WindowHandle window) {
  if (calls_->Fails("Windows.GetDpiForWindow")) return 96;
  const auto found = windows_.find(window);
  if (found == windows_.end()) return 96;
  switch (found->second.awareness) {
    case DpiAwareness::Unaware:
      return 96;
    case DpiAwareness::SystemAware:
      return systemDpi;
    case DpiAwareness::PerMonitor:
      break;
  }
  return found->second.dpi;
}

void SimWindowTree::InDpiContextOf(WindowHandle window, const std::function<void()>& work) {
  const auto found = windows_.find(window);
  if (!dpiContexts || calls_->Fails("Windows.SetThreadDpiAwarenessContext") ||
      found == windows_.end()) {
    work();
    return;
  }
  const DpiAwareness before = threadAwareness;
  threadAwareness = found->second.awareness;
  try {
    work();
  } catch (...) {
    threadAwareness = before;
    throw;
  }
  threadAwareness = before;
}

void SimWindowTree::AddSizingBorder(WindowHandle window) {
  if (calls_->Fails("Windows.SetWindowLong")) return;
  const auto found = windows_.find(window);
  if (found == windows_.end() || (found->second.style & kSizingBorder)) return;
  auto& info = found->second;
  info.style |= kSizingBorder;
  // The outer rectangle stays: the thicker border takes its pixels from the client area.
  const std::int32_t extra =
      static_cast<std::int32_t>(std::lround(sizingBorderExtra * info.dpi / 96.0));
  info.clientOffset = {info.clientOffset.x + extra, info.clientOffset.y + extra};
}

Rect SimWindowTree::WorkAreaOf(WindowHandle window) {
  if (calls_->Fails("Windows.GetMonitorInfo")) return {};
  return {ToThread(window, workArea.left), ToThread(window, workArea.top),
          ToThread(window, workArea.right), ToThread(window, workArea.bottom)};
}

HookId SimWindowTree::HookWindow(WindowHandle window, WindowHooks hooks) {
  if (calls_->Fails("Windows.SetWindowSubclass")) return 0;
  if (!windows_.count(window)) return 0;
  hooks_[nextHook_] = {window, std::move(hooks)};
  return nextHook_++;
}

void SimWindowTree::UnhookWindow(HookId hook) {
  // A removal the system refuses still ends the hook's calls; the Windows side keeps its module
  // loaded for what is left in the window.
  calls_->Fails("Windows.RemoveWindowSubclass");
  hooks_.erase(hook);
}

void SimWindowTree::MoveToDpi(WindowHandle window, std::int32_t dpi, Rect suggested) {
  auto& info = windows_.at(window);
  const double factor = static_cast<double>(dpi) / info.dpi;
  const auto scaled = [factor](std::int32_t v) {
    return static_cast<std::int32_t>(std::lround(v * factor));
  };
  info.dpi = dpi;
  info.clientOffset = {scaled(info.clientOffset.x), scaled(info.clientOffset.y)};
  if (const auto kids = children_.find(window); kids != children_.end()) {
    for (const WindowHandle child : kids->second) {
      auto& c = windows_.at(child);
      c.dpi = dpi;
      c.rect = {scaled(c.rect.left), scaled(c.rect.top), scaled(c.rect.right),
                scaled(c.rect.bottom)};
    }
  }
  std::vector<std::function<void()>> told;
  for (const auto& [id, hook] : hooks_)
    if (hook.window == window && hook.hooks.dpiChanged) told.push_back(hook.hooks.dpiChanged);
  for (const auto& changed : told) InOwnAwareness(window, changed);
  Resize(window, suggested);
}

bool SimWindowTree::UserSizes(WindowHandle window, std::int32_t width, std::int32_t height) {
  auto& info = windows_.at(window);
  if (!(info.style & kSizingBorder)) return false;
  Resize(window, {info.rect.left, info.rect.top, info.rect.left + width, info.rect.top + height});
  return true;
}

void SimWindowTree::DestroyWindow(WindowHandle window) {
  std::vector<HookId> ids;
  for (const auto& [id, hook] : hooks_)
    if (hook.window == window) ids.push_back(id);
  for (const HookId id : ids) {
    const auto found = hooks_.find(id);
    if (found == hooks_.end()) continue;  // ended by an earlier one
    const auto closing = found->second.hooks.closing;
    hooks_.erase(found);
    if (closing) InOwnAwareness(window, closing);
  }
  if (const auto kids = children_.find(window); kids != children_.end()) {
    for (const WindowHandle child : std::vector<WindowHandle>(kids->second)) DestroyWindow(child);
    children_.erase(window);
  }
  if (focus_ == window) focus_ = 0;
  auto& siblings = children_[windows_.at(window).parent];
  siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
  windows_.erase(window);
}

HookId SimWindowTree::HookKeys(std::function<bool(const KeyStroke&)> stroke) {
  if (calls_->Fails("Windows.SetWindowsHookEx")) return 0;
  keyHooks_[nextHook_] = std::move(stroke);
  return nextHook_++;
}

void SimWindowTree::UnhookKeys(HookId hook) {
  if (calls_->Fails("Windows.UnhookWindowsHookEx")) return;
  keyHooks_.erase(hook);
}

WindowHandle SimWindowTree::GetFocus() {
  if (calls_->Fails("Windows.GetFocus")) return 0;
  return focus_;
}

WindowHandle SimWindowTree::ParentOrOwner(WindowHandle window) {
  if (calls_->Fails("Windows.GetAncestor")) return 0;
  const auto found = windows_.find(window);
  if (found == windows_.end()) return 0;
  return found->second.parent == kDesktop ? found->second.owner : found->second.parent;
}

bool SimWindowTree::IsWindowEnabled(WindowHandle window) {
  if (calls_->Fails("Windows.IsWindowEnabled")) return false;
  const auto found = windows_.find(window);
  return found != windows_.end() && found->second.enabled;
}

bool SimWindowTree::Key(KeyStroke stroke) {
  std::vector<HookId> newestFirst;
  for (const auto& [id, hook] : keyHooks_) newestFirst.insert(newestFirst.begin(), id);
  for (const HookId id : newestFirst) {
    const auto found = keyHooks_.find(id);
    if (found == keyHooks_.end()) continue;  // removed by a newer one
    const auto run = found->second;          // it may remove itself
    if (run(stroke)) return true;
  }
  if (focus_ != 0) received_.push_back({focus_, stroke});
  return false;
}

WindowHandle SimWindowTree::AddTopLevel(SimWindowInfo info) {
  info.parent = kDesktop;
  const WindowHandle handle = nextHandle_++;
  windows_[handle] = std::move(info);
  auto& order = children_[kDesktop];
  order.insert(order.begin(), handle);  // a new window opens in front
  return handle;
}

WindowHandle SimWindowTree::AddChild(WindowHandle parent, SimWindowInfo info) {
  info.parent = parent;
  const auto& outer = windows_.at(parent);
  info.processId = outer.processId;
  info.dpi = outer.dpi;
  info.awareness = outer.awareness;
  const WindowHandle handle = nextHandle_++;
  windows_[handle] = std::move(info);
  children_[parent].push_back(handle);  // children in the order they were created
  return handle;
}

std::vector<TimerId> SimWindowTree::Timers() const {
  std::vector<TimerId> ids;
  for (const auto& [id, timer] : timers_) ids.push_back(id);
  return ids;
}

void SimWindowTree::FireTimers() {
  for (const TimerId id : Timers()) {
    const auto found = timers_.find(id);
    if (found == timers_.end()) continue;  // killed by an earlier tick
    const auto tick = found->second.tick;
    tick();
  }
}

}  // namespace host::sim
