#include "lathmore/dialog_sizing.h"

#include <algorithm>
#include <string>

#include "host/error.h"
#include "lathmore/dpi_scale.h"
#include "lathmore/settings_keys.h"

namespace lathmore {

namespace {

constexpr std::size_t kMostDigits = 5;
constexpr host::Rect kUnread{};  // what a window call that failed gives

std::int32_t Width(const host::Rect& r) { return r.right - r.left; }
std::int32_t Height(const host::Rect& r) { return r.bottom - r.top; }

// `first` moved into [low, high - size] where it fits, to `low` where it does not.
std::int32_t Within(std::int32_t first, std::int32_t size, std::int32_t low, std::int32_t high) {
  return std::max(low, std::min(first, high - size));
}

}  // namespace

DialogSizing::DialogSizing(std::shared_ptr<host::WindowSystem> windows,
                           std::shared_ptr<host::SettingsStore> settings)
    : windows_(std::move(windows)), settings_(std::move(settings)) {}

DialogSizing::~DialogSizing() { End(); }

void DialogSizing::Begin(host::WindowHandle dialog, const LaidOutControls& controls,
                         std::int32_t dpi) {
  End();
  laidOut_ = windows_->GetWindowRect(dialog);
  if (laidOut_ == kUnread) return;  // nothing to size from
  dialog_ = dialog;
  dpi_ = dpi;
  known_.clear();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    // One not found, or whose place cannot be read, stays where it is, as an unknown one does.
    const host::Rect screen = windows_->GetWindowRect(controls[i]);
    if (screen == kUnread) continue;
    known_.push_back(
        {controls[i], windows_->MapScreenRectToClient(dialog, screen), kControlMoves[i].follows});
  }
  hook_ = windows_->HookWindow(
      dialog, {{Width(laidOut_), Height(laidOut_)}, [this] { Follow(); }, [this] { Closing(); }});
  if (hook_ == 0) return;
  windows_->AddSizingBorder(dialog);
  const host::Rect reopened = Reopened();
  if (reopened != laidOut_)
    windows_->SetWindowPos(dialog, reopened.left, reopened.top, Width(reopened), Height(reopened));
}

void DialogSizing::End() {
  if (hook_ == 0) return;
  const host::HookId hook = hook_;
  hook_ = 0;
  windows_->UnhookWindow(hook);
}

void DialogSizing::Follow() {
  windows_->InDpiContextOf(dialog_, [this] {
    const host::Rect now = windows_->GetWindowRect(dialog_);
    if (now == kUnread) return;  // the next change of size puts them right
    // Never less than laid out: a dialog made smaller some other way only cuts its controls off.
    const std::int32_t dw = std::max(0, Width(now) - Width(laidOut_));
    const std::int32_t dh = std::max(0, Height(now) - Height(laidOut_));
    for (const auto& k : known_) {
      const auto by = [&k](Follows way, std::int32_t delta) { return k.follows & way ? delta : 0; };
      windows_->MoveWindow(k.window, k.laidOut.left + by(kMovesRight, dw),
                           k.laidOut.top + by(kMovesDown, dh), Width(k.laidOut) + by(kWidens, dw),
                           Height(k.laidOut) + by(kGrowsTaller, dh));
    }
  });
}

void DialogSizing::Remember() {
  windows_->InDpiContextOf(dialog_, [this] {
    const host::Rect now = windows_->GetWindowRect(dialog_);
    if (now == kUnread) return;
    // Kept failures are ignored: the next dialog then opens as this one did.
    for (const auto& [key, pixels] :
         {std::pair{kWidthKey, Width(now)}, {kHeightKey, Height(now)}}) {
      const auto text = std::to_string(ScaledFromDpi(pixels, dpi_));
      host::Ignore([&] {
        settings_->SaveSetting(kSettingsApplication, kReferencesSection, key,
                               host::Text(text.begin(), text.end()));
      });
    }
  });
}

void DialogSizing::Closing() {
  hook_ = 0;  // the window system lets go of it after this
  Remember();
}

std::optional<std::int32_t> DialogSizing::Kept(const char16_t* key) {
  const auto text =
      host::Ignore([&] {
        return settings_->GetSetting(kSettingsApplication, kReferencesSection, key, host::Text());
      }).value_or(host::Text());
  if (text.empty() || text.size() > kMostDigits) return std::nullopt;
  std::int32_t value = 0;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
  }
  if (value == 0) return std::nullopt;
  return ScaledToDpi(value, dpi_);
}

host::Rect DialogSizing::Reopened() {
  const auto width = Kept(kWidthKey);
  const auto height = Kept(kHeightKey);
  if (!width || !height) return laidOut_;
  const host::Rect area = windows_->WorkAreaOf(dialog_);
  if (area == kUnread) return laidOut_;  // nowhere known to fit it
  const std::int32_t w = std::max(Width(laidOut_), std::min(*width, Width(area)));
  const std::int32_t h = std::max(Height(laidOut_), std::min(*height, Height(area)));
  const std::int32_t left = Within(laidOut_.left, w, area.left, area.right);
  const std::int32_t top = Within(laidOut_.top, h, area.top, area.bottom);
  return {left, top, left + w, top + h};
}

}  // namespace lathmore
