#include "lathmore/main_module.h"

#include <map>

#include "host/error.h"
#include "lathmore/control_moves.h"
#include "lathmore/dpi_scale.h"

namespace lathmore {

namespace {

constexpr std::uint32_t kTickMilliseconds = 200;
constexpr std::uint64_t kAllowanceMilliseconds = 10'000;
constexpr char16_t kDialogClass[] = u"#32770";
constexpr char16_t kTitlePrefix[] = u"References - ";

}  // namespace

MMain::MMain(std::shared_ptr<host::WindowSystem> windows, std::shared_ptr<host::Clock> clock,
             std::shared_ptr<host::SettingsStore> settings)
    : windows_(windows), clock_(std::move(clock)), sizing_(windows, std::move(settings)) {}

MMain::~MMain() { StopWatch(); }

void MMain::StartWatch() {
  if (WatchTimerID != 0) windows_->KillTimer(WatchTimerID);
  WatchTimerID = windows_->SetTimer(kTickMilliseconds, [this] { WatchTimerProc(); });
  WatchStart = clock_->Milliseconds();
}

void MMain::StopWatch() {
  if (WatchTimerID == 0) return;
  windows_->KillTimer(WatchTimerID);
  WatchTimerID = 0;
}

void MMain::WatchTimerProc() {
  if (clock_->Milliseconds() - WatchStart > kAllowanceMilliseconds) {
    StopWatch();
    return;
  }
  const auto project = host::Ignore([&] {
    if (!EditorVBE) throw host::HostError(host::codes::kFail, u"No editor.");
    return EditorVBE->ActiveVBProject()->Name();
  });
  DialogHwnd = project ? FindOwnTopWindow(kDialogClass, kTitlePrefix + *project) : 0;
  if (DialogHwnd == 0) return;
  StopWatch();  // the layout runs once per watch
  LayOutDialog();
}

host::WindowHandle MMain::FindOwnTopWindow(const host::Text& className, const host::Text& title) {
  const host::WindowHandle desktop = windows_->GetDesktopWindow();
  const std::uint32_t self = windows_->GetCurrentProcessId();
  host::WindowHandle window = 0;
  do {
    window = windows_->FindChild(desktop, window, className, title);
  } while (window != 0 && windows_->GetWindowProcessId(window) != self);
  return window;
}

host::WindowHandle MMain::MoveChildControl(const char16_t* caption, const host::Text& className,
                                           host::WindowHandle after, std::int32_t dx,
                                           std::int32_t dy, std::int32_t dw, std::int32_t dh) {
  const auto control = windows_->FindChild(
      DialogHwnd, after, className, caption ? std::optional<host::Text>(caption) : std::nullopt);
  if (control == 0) return 0;
  // Moved from a place that could not be read, the control would land outside the dialog: it
  // stays where the editor put it.
  host::Rect rect;
  if (!GetChildRect(DialogHwnd, control, rect)) return control;
  windows_->MoveWindow(control, rect.left + dx, rect.top + dy, (rect.right - rect.left) + dw,
                       (rect.bottom - rect.top) + dh);
  return control;
}

bool MMain::GetChildRect(host::WindowHandle parent, host::WindowHandle child, host::Rect& rect) {
  // The system answers a rectangle it could not read with nothing at all.
  const host::Rect screen = windows_->GetWindowRect(child);
  if (screen == host::Rect{}) return false;
  rect = windows_->MapScreenRectToClient(parent, screen);
  return true;
}

void MMain::LayOutDialog() {
  // In the dialog's own DPI awareness, whatever this thread's: every size read, scaled and written
  // is then in the dialog's pixels, never scaled twice or not at all.
  windows_->InDpiContextOf(DialogHwnd, [this] { LayOutInDialogPixels(); });
}

void MMain::LayOutInDialogPixels() {
  // On a display of more than 96 DPI the editor draws the dialog larger: so are the new size and
  // every offset, so the dialog never comes out smaller than it was.
  const std::int32_t dpi = windows_->GetDpiForWindow(DialogHwnd);
  const auto scaled = [dpi](std::int32_t pixels) { return ScaledToDpi(pixels, dpi); };
  const auto dialog = windows_->GetWindowRect(DialogHwnd);
  // Its client area as the editor made it: the margins its controls had.
  const auto clientBefore = windows_->GetClientRect(DialogHwnd);
  windows_->SetWindowPos(DialogHwnd, dialog.left, dialog.top, scaled(kDialogWidth),
                         scaled(kDialogHeight));

  std::map<Anchor, host::WindowHandle> anchors;
  LaidOutControls controls{};
  for (std::size_t i = 0; i < kControlMoves.size(); ++i) {
    const auto& move = kControlMoves[i];
    const host::WindowHandle after = move.after == Anchor::None ? 0 : anchors[move.after];
    controls[i] = MoveChildControl(move.caption, host::Text(move.className), after, scaled(move.dx),
                                   scaled(move.dy), scaled(move.dw), scaled(move.dh));
    if (move.keepAs != Anchor::None) anchors[move.keepAs] = controls[i];
  }
  // The location wraps at word breaks, so a long one shows on more than one line.
  if (const auto location = anchors[Anchor::LocationValue]; location != 0)
    windows_->SetWindowStyle(location, windows_->GetWindowStyle(location) & ~kWordWrapMask);
  sizing_.Begin(DialogHwnd, controls, dpi, clientBefore);
}

}  // namespace lathmore
