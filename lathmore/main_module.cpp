#include "lathmore/main_module.h"

#include <algorithm>
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
constexpr char16_t kTitleSeparator[] = u" - ";
constexpr int kMostOwners = 8;
constexpr std::int32_t kStaticTypeMask = 0x1F;  // SS_TYPEMASK

}  // namespace

MMain::MMain(std::shared_ptr<host::WindowSystem> windows, std::shared_ptr<host::Clock> clock,
             std::shared_ptr<host::SettingsStore> settings)
    : windows_(windows), clock_(std::move(clock)), sizing_(windows, std::move(settings)) {}

MMain::~MMain() { StopWatch(); }

void MMain::StartWatch() {
  if (WatchTimerID != 0) windows_->KillTimer(WatchTimerID);
  // A dialog of another language is taken only when it appears while the watch runs.
  passedOver_ = OwnDialogs();
  editorWindow_ = 0;
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
  DialogHwnd = 0;
  if (!project) return;
  // The English title first, laid out control by control as the captions find them; then, in any
  // display language, a dialog whose every control is recognised, or none.
  std::optional<LaidOutControls> recognised;
  DialogHwnd = FindOwnTopWindow(kDialogClass, kTitlePrefix + *project);
  if (DialogHwnd == 0) DialogHwnd = FindTranslatedDialog(*project, recognised);
  if (DialogHwnd == 0) return;
  StopWatch();  // the layout runs once per watch
  LayOutDialog(recognised);
}

std::vector<host::WindowHandle> MMain::OwnDialogs() {
  const host::WindowHandle desktop = windows_->GetDesktopWindow();
  const std::uint32_t process = windows_->GetCurrentProcessId();
  const std::uint32_t thread = windows_->GetCurrentThreadId();
  std::vector<host::WindowHandle> dialogs;
  for (host::WindowHandle window = windows_->FindChild(desktop, 0, kDialogClass, std::nullopt);
       window != 0; window = windows_->FindChild(desktop, window, kDialogClass, std::nullopt)) {
    if (windows_->GetWindowProcessId(window) == process &&
        windows_->GetWindowThreadId(window) == thread)
      dialogs.push_back(window);
  }
  return dialogs;
}

host::WindowHandle MMain::FindTranslatedDialog(const host::Text& project,
                                               std::optional<LaidOutControls>& recognised) {
  const host::Text ending = kTitleSeparator + project;
  for (const host::WindowHandle dialog : OwnDialogs()) {
    // One there before the watch, or one already found not to be the dialog, is not read again.
    if (std::find(passedOver_.begin(), passedOver_.end(), dialog) != passedOver_.end()) continue;
    const host::Text title = windows_->WindowText(dialog);
    if (title.size() <= ending.size() ||
        title.compare(title.size() - ending.size(), ending.size(), ending) != 0 ||
        !OwnedByEditor(dialog))
      continue;
    windows_->InDpiContextOf(dialog, [&] { recognised = RecogniseControls(Children(dialog)); });
    if (recognised) return dialog;
    passedOver_.push_back(dialog);
  }
  return 0;
}

bool MMain::OwnedByEditor(host::WindowHandle dialog) {
  // Asked of the editor once a watch.
  if (editorWindow_ == 0)
    editorWindow_ = host::Ignore([&] { return EditorVBE->MainWindowHandle(); }).value_or(0);
  const host::WindowHandle main = editorWindow_;
  if (main == 0) return false;
  // Over the editor's main window, or over one of its tool windows that floats over it.
  host::WindowHandle owner = windows_->GetOwner(dialog);
  for (int step = 0; owner != 0 && step < kMostOwners; ++step) {
    if (owner == main) return true;
    owner = windows_->GetOwner(owner);
  }
  return false;
}

std::vector<ChildControl> MMain::Children(host::WindowHandle dialog) {
  std::vector<ChildControl> children;
  for (host::WindowHandle child = windows_->FindChild(dialog, 0, host::Text(), std::nullopt);
       child != 0; child = windows_->FindChild(dialog, child, host::Text(), std::nullopt)) {
    host::Rect rect;
    // A control whose place cannot be read cannot be told apart: then none is.
    if (!GetChildRect(dialog, child, rect)) return {};
    children.push_back({child, windows_->ClassNameOf(child), windows_->WindowText(child),
                        windows_->GetWindowStyle(child), rect});
  }
  return children;
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

void MMain::MoveControl(host::WindowHandle control, std::int32_t dx, std::int32_t dy,
                        std::int32_t dw, std::int32_t dh) {
  if (control == 0) return;
  // Moved from a place that could not be read, the control would land outside the dialog: it
  // stays where the editor put it.
  host::Rect rect;
  if (!GetChildRect(DialogHwnd, control, rect)) return;
  windows_->MoveWindow(control, rect.left + dx, rect.top + dy, (rect.right - rect.left) + dw,
                       (rect.bottom - rect.top) + dh);
}

bool MMain::GetChildRect(host::WindowHandle parent, host::WindowHandle child, host::Rect& rect) {
  // The system answers a rectangle it could not read with nothing at all.
  const host::Rect screen = windows_->GetWindowRect(child);
  if (screen == host::Rect{}) return false;
  rect = windows_->MapScreenRectToClient(parent, screen);
  return true;
}

void MMain::LayOutDialog(const std::optional<LaidOutControls>& recognised) {
  // In the dialog's own DPI awareness, whatever this thread's: every size read, scaled and written
  // is then in the dialog's pixels, never scaled twice or not at all.
  windows_->InDpiContextOf(DialogHwnd, [&] { LayOutInDialogPixels(recognised); });
}

void MMain::LayOutInDialogPixels(const std::optional<LaidOutControls>& recognised) {
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
    controls[i] = recognised
                      ? (*recognised)[i]
                      : windows_->FindChild(
                            DialogHwnd, after, host::Text(move.className),
                            move.caption ? std::optional<host::Text>(move.caption) : std::nullopt);
    MoveControl(controls[i], scaled(move.dx), scaled(move.dy), scaled(move.dw), scaled(move.dh));
    if (move.keepAs != Anchor::None) anchors[move.keepAs] = controls[i];
  }
  // The location wraps at word breaks, so a long one shows on more than one line.
  // A location recognised by its place is changed only when it is the kind of static that wraps
  // no words: on another kind the bits would mean something else.
  if (const auto location = anchors[Anchor::LocationValue]; location != 0) {
    const std::int32_t style = windows_->GetWindowStyle(location);
    if (!recognised || (style & kStaticTypeMask) == kWordWrapMask)
      windows_->SetWindowStyle(location, style & ~kWordWrapMask);
  }
  sizing_.Begin(DialogHwnd, controls, dpi, clientBefore);
}

}  // namespace lathmore
