#include "host/sim/window_tree.h"

#include <algorithm>

#include "host/sim/ignore_case.h"

namespace host::sim {

namespace {
constexpr WindowHandle kDesktop = 0x10;
}  // namespace

SimWindowTree::SimWindowTree(std::shared_ptr<HostCalls> calls, std::uint32_t processId)
    : calls_(std::move(calls)), processId_(processId) {
  windows_[kDesktop] = SimWindowInfo{u"#32769", u"", 0, 0, {0, 0, 1920, 1080}, {}};
}

TimerId SimWindowTree::SetTimer(std::uint32_t, std::function<void()> tick) {
  if (calls_->Fails("Windows.SetTimer")) return 0;
  timers_[nextTimer_] = std::move(tick);
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
    if (EqualsIgnoringCase(info.className, className) &&
        (!title || EqualsIgnoringCase(info.title, *title)))
      return *it;
  }
  return 0;
}

Point SimWindowTree::ClientOrigin(WindowHandle window) const {
  // Top-level windows are placed on the screen, children in their parent's client area.
  const auto& info = windows_.at(window);
  Point origin{info.rect.left + info.clientOffset.x, info.rect.top + info.clientOffset.y};
  if (info.parent != kDesktop && info.parent != 0) {
    const Point outer = ClientOrigin(info.parent);
    origin = {origin.x + outer.x, origin.y + outer.y};
  }
  return origin;
}

Rect SimWindowTree::GetWindowRect(WindowHandle window) {
  if (calls_->Fails("Windows.GetWindowRect")) return {};
  const auto found = windows_.find(window);
  if (found == windows_.end() || window == kDesktop)
    return found == windows_.end() ? Rect{} : found->second.rect;
  const auto& info = found->second;
  if (info.parent == kDesktop) return info.rect;
  const Point outer = ClientOrigin(info.parent);
  return {info.rect.left + outer.x, info.rect.top + outer.y, info.rect.right + outer.x,
          info.rect.bottom + outer.y};
}

Point SimWindowTree::ScreenToClient(WindowHandle window, Point point) {
  if (calls_->Fails("Windows.ScreenToClient")) return point;
  if (!windows_.count(window) || window == kDesktop) return point;
  const Point origin = ClientOrigin(window);
  return {point.x - origin.x, point.y - origin.y};
}

void SimWindowTree::SetWindowPos(WindowHandle window, std::int32_t x, std::int32_t y,
                                 std::int32_t width, std::int32_t height) {
  if (calls_->Fails("Windows.SetWindowPos")) return;
  const auto found = windows_.find(window);
  if (found == windows_.end()) return;
  found->second.rect = {x, y, x + width, y + height};
  found->second.onTop = true;
}

void SimWindowTree::MoveWindow(WindowHandle window, std::int32_t x, std::int32_t y,
                               std::int32_t width, std::int32_t height) {
  if (calls_->Fails("Windows.MoveWindow")) return;
  const auto found = windows_.find(window);
  if (found == windows_.end()) return;
  found->second.rect = {x, y, x + width, y + height};
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
  return found == windows_.end() ? 96 : found->second.dpi;
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
  info.processId = windows_.at(parent).processId;
  const WindowHandle handle = nextHandle_++;
  windows_[handle] = std::move(info);
  children_[parent].push_back(handle);  // children in the order they were created
  return handle;
}

std::vector<TimerId> SimWindowTree::Timers() const {
  std::vector<TimerId> ids;
  for (const auto& [id, tick] : timers_) ids.push_back(id);
  return ids;
}

void SimWindowTree::FireTimers() {
  for (const TimerId id : Timers()) {
    const auto found = timers_.find(id);
    if (found == timers_.end()) continue;  // killed by an earlier tick
    const auto tick = found->second;
    tick();
  }
}

}  // namespace host::sim
