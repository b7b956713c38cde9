#pragma once
// MMain: the watch for the References dialog. A click on Tools > References starts a 200 ms
// window timer; the first tick that finds the dialog stops it and lays the dialog out; after more
// than 10 seconds without a dialog the timer stops and nothing else happens. The laid-out dialog
// is then the user's to size (DialogSizing).

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "host/editor.h"
#include "host/settings.h"
#include "host/window_system.h"
#include "lathmore/control_roles.h"
#include "lathmore/dialog_sizing.h"

namespace lathmore {

class MMain {
 public:
  MMain(std::shared_ptr<host::WindowSystem> windows, std::shared_ptr<host::Clock> clock,
        std::shared_ptr<host::SettingsStore> settings);
  // No tick and no hook on a dialog may run after the module is gone.
  ~MMain();
  MMain(const MMain&) = delete;
  MMain& operator=(const MMain&) = delete;

  // Starts the watch, or restarts it with a fresh allowance: one timer at a time.
  void StartWatch();
  // One tick. Nothing escapes it: a failure to read the project's name is a tick without dialog.
  void WatchTimerProc();
  // Ends a running watch (at disconnection and unloading).
  void StopWatch();
  // Lets go of a dialog being sized (at disconnection): it stays as it is, nothing follows.
  void LetGoOfDialog() { sizing_.End(); }
  bool SizingDialog() const { return sizing_.Hooked(); }

  // The first top-level window of this process with that class and that whole title, or 0.
  host::WindowHandle FindOwnTopWindow(const host::Text& className, const host::Text& title);
  // Moves and resizes a control of DialogHwnd by the offsets; none (0) stays none.
  void MoveControl(host::WindowHandle control, std::int32_t dx, std::int32_t dy, std::int32_t dw,
                   std::int32_t dh);
  // The child's window rectangle in the parent's client coordinates; false, `rect` untouched,
  // when the system could not read it.
  bool GetChildRect(host::WindowHandle parent, host::WindowHandle child, host::Rect& rect);

  std::shared_ptr<host::VBE> EditorVBE;
  host::TimerId WatchTimerID = 0;
  std::uint64_t WatchStart = 0;  // on the clock that never goes back, in milliseconds
  host::WindowHandle DialogHwnd = 0;

 private:
  // The dialogs of this process and thread, of the dialog class.
  std::vector<host::WindowHandle> OwnDialogs();
  // A dialog that appeared since the watch started, titled "<anything> - <project>", over one of
  // the editor's windows, whose every control is recognised (`recognised`); 0 when there is none.
  host::WindowHandle FindTranslatedDialog(const host::Text& project,
                                          std::optional<LaidOutControls>& recognised);
  bool OwnedByEditor(host::WindowHandle dialog);
  // Its direct children as they stand, in the dialog's client coordinates; none when one
  // cannot be read.
  std::vector<ChildControl> Children(host::WindowHandle dialog);
  // With the controls recognised, or, given none, each found by its English caption.
  void LayOutDialog(const std::optional<LaidOutControls>& recognised);
  void LayOutInDialogPixels(const std::optional<LaidOutControls>& recognised);

  std::shared_ptr<host::WindowSystem> windows_;
  std::shared_ptr<host::Clock> clock_;
  DialogSizing sizing_;
  // Dialogs not to take in this watch: there before it, or found not to be the References dialog.
  std::vector<host::WindowHandle> passedOver_;
  host::WindowHandle editorWindow_ = 0;  // the editor's main window, once asked in this watch
};

}  // namespace lathmore
