#pragma once
// MMain: the watch for the References dialog. A click on Tools > References starts a 200 ms
// window timer; the first tick that finds the dialog stops it and lays the dialog out; after more
// than 10 seconds without a dialog the timer stops and nothing else happens. The laid-out dialog
// is then the user's to size (DialogSizing).

#include <cstdint>
#include <memory>
#include <optional>

#include "host/editor.h"
#include "host/settings.h"
#include "host/window_system.h"
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
  // Finds a direct child of DialogHwnd after `after` (0: from the first) and moves and resizes it
  // by the offsets; its handle, or 0 when there is none.
  host::WindowHandle MoveChildControl(const char16_t* caption, const host::Text& className,
                                      host::WindowHandle after, std::int32_t dx, std::int32_t dy,
                                      std::int32_t dw, std::int32_t dh);
  // The child's window rectangle in the parent's client coordinates; false, `rect` untouched,
  // when the system could not read it.
  bool GetChildRect(host::WindowHandle parent, host::WindowHandle child, host::Rect& rect);

  std::shared_ptr<host::VBE> EditorVBE;
  host::TimerId WatchTimerID = 0;
  std::uint64_t WatchStart = 0;  // on the clock that never goes back, in milliseconds
  host::WindowHandle DialogHwnd = 0;

 private:
  void LayOutDialog();
  void LayOutInDialogPixels();

  std::shared_ptr<host::WindowSystem> windows_;
  std::shared_ptr<host::Clock> clock_;
  DialogSizing sizing_;
};

}  // namespace lathmore
