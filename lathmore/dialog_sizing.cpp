#include "lathmore/dialog_sizing.h"

#include <algorithm>
#include <cmath>
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
                         std::int32_t dpi, const host::Rect& clientBefore) {
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
        {controls[i], windows_->MapScreenRectToClient(dialog, screen), &kControlMoves[i]});
  }
  hook_ = windows_->HookWindow(
      dialog, {[this] {
                 return host::Point{Width(laidOut_), Height(laidOut_)};
               },
               [this] { Follow(); }, [this] { Closing(); }, [this] { DpiChanged(); }});
  if (hook_ == 0) return;
  windows_->AddSizingBorder(dialog);
  GrowToShowEveryControl(clientBefore);
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

void DialogSizing::GrowToShowEveryControl(const host::Rect& clientBefore) {
  const host::Rect client = windows_->GetClientRect(dialog_);
  if (client == kUnread) return;  // nothing known to be outside
  const bool before = clientBefore != kUnread;
  std::int32_t dw = 0;
  std::int32_t dh = 0;
  for (const auto& k : known_) {
    const auto scaled = [this](std::int32_t pixels) { return ScaledToDpi(pixels, dpi_); };
    // Its right and bottom edges before its move, and the margins they left.
    const std::int32_t right = k.laidOut.right - scaled(k.move->dx) - scaled(k.move->dw);
    const std::int32_t bottom = k.laidOut.bottom - scaled(k.move->dy) - scaled(k.move->dh);
    const std::int32_t marginRight = before ? std::max(0, clientBefore.right - right) : 0;
    const std::int32_t marginBottom = before ? std::max(0, clientBefore.bottom - bottom) : 0;
    if (k.laidOut.right > client.right)
      dw = std::max(dw, k.laidOut.right - client.right + marginRight);
    if (k.laidOut.bottom > client.bottom)
      dh = std::max(dh, k.laidOut.bottom - client.bottom + marginBottom);
  }
  if (dw == 0 && dh == 0) return;
  // The grown size is the laid-out one from now on: the least size, and where following counts
  // from.
  laidOut_.right += dw;
  laidOut_.bottom += dh;
  windows_->SetWindowPos(dialog_, laidOut_.left, laidOut_.top, Width(laidOut_), Height(laidOut_));
}

void DialogSizing::DpiChanged() {
  windows_->InDpiContextOf(dialog_, [this] {
    const std::int32_t dpi = windows_->GetDpiForWindow(dialog_);
    // The window system always answers a DPI (96 where it cannot tell).
    if (dpi == dpi_) return;
    const auto scaled = [dpi, this](std::int32_t pixels) {
      return static_cast<std::int32_t>(std::lround(static_cast<double>(pixels) * dpi / dpi_));
    };
    const auto scaledRect = [&scaled](const host::Rect& r) {
      return host::Rect{scaled(r.left), scaled(r.top), scaled(r.right), scaled(r.bottom)};
    };
    laidOut_ = {laidOut_.left, laidOut_.top, laidOut_.left + scaled(Width(laidOut_)),
                laidOut_.top + scaled(Height(laidOut_))};
    for (auto& k : known_) k.laidOut = scaledRect(k.laidOut);
    dpi_ = dpi;
  });
  Follow();
}

void DialogSizing::Follow() {
  windows_->InDpiContextOf(dialog_, [this] {
    const host::Rect now = windows_->GetWindowRect(dialog_);
    if (now == kUnread) return;  // the next change of size puts them right
    // Never less than laid out: a dialog made smaller some other way only cuts its controls off.
    const std::int32_t dw = std::max(0, Width(now) - Width(laidOut_));
    const std::int32_t dh = std::max(0, Height(now) - Height(laidOut_));
    for (const auto& k : known_) {
      const auto by = [&k](Follows way, std::int32_t delta) {
        return k.move->follows & way ? delta : 0;
      };
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
