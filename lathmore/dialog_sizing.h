#pragma once
// DialogSizing: the laid-out References dialog made sizeable by the user. It gets a sizing border;
// a dialog larger than the one the fixed moves were made for grows until every control the layout
// moved is inside it again; the controls the layout moved follow the edges they belong to, the
// ones it did not know stay where they are; it never gets smaller than laid out, at whatever DPI
// it is moved to; and the size the user leaves it at is kept per user and given to the next one,
// within the work area of its monitor.
//
// The hook on the dialog ends when the dialog is destroyed, at End, or with this object,
// whichever comes first: nothing of the add-in runs in the dialog after that.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "host/settings.h"
#include "host/window_system.h"
#include "lathmore/control_moves.h"

namespace lathmore {

using LaidOutControls = std::array<host::WindowHandle, kControlMoves.size()>;

class DialogSizing {
 public:
  DialogSizing(std::shared_ptr<host::WindowSystem> windows,
               std::shared_ptr<host::SettingsStore> settings);
  ~DialogSizing();
  DialogSizing(const DialogSizing&) = delete;
  DialogSizing& operator=(const DialogSizing&) = delete;

  // Right after the layout, in the dialog's DPI awareness: `controls` holds what each move found
  // (0 for none), `dpi` the dialog's, `clientBefore` its client area before the layout (all 0
  // when it could not be read). Ends the hook on an earlier dialog first. A dialog that cannot be
  // hooked stays as laid out, without a border.
  void Begin(host::WindowHandle dialog, const LaidOutControls& controls, std::int32_t dpi,
             const host::Rect& clientBefore);
  // Lets go of the dialog: it keeps its size and border, and nothing follows any more.
  void End();
  bool Hooked() const { return hook_ != 0; }

 private:
  struct Known {
    host::WindowHandle window;
    host::Rect laidOut;  // in the dialog's client coordinates
    const ControlMove* move;
  };

  // Where a control the layout moved ends outside the client area (the sizing border included),
  // the dialog grows by what is missing and the margin that control had from that edge before.
  void GrowToShowEveryControl(const host::Rect& clientBefore);
  void Follow();
  // At a new DPI the laid-out places and size are those of the new DPI.
  void DpiChanged();
  void Remember();
  void Closing();
  // The size kept from last time, as large as laid out at least and within the work area, moved
  // into it where it would stick out; the laid-out rectangle where nothing usable is kept.
  host::Rect Reopened();
  std::optional<std::int32_t> Kept(const char16_t* key);

  std::shared_ptr<host::WindowSystem> windows_;
  std::shared_ptr<host::SettingsStore> settings_;
  host::WindowHandle dialog_ = 0;
  host::HookId hook_ = 0;
  std::int32_t dpi_ = 0;
  host::Rect laidOut_;  // on the screen
  std::vector<Known> known_;
};

}  // namespace lathmore
