#pragma once
// The editor's References dialog: a real modal dialog of class "#32770" titled
// "References - <project>" (in English), with the controls the editor's has, in its child order.
// The sandbox opens it as the editor does and watches it until it is laid out or a limit passes.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/text.h"

namespace sandbox {

struct ControlReport {
  std::string name;
  RECT before;  // in the dialog's client coordinates
  RECT after;
  LONG styleBefore;
  LONG styleAfter;
};

struct DialogReport {
  RECT before;  // on the screen
  RECT after;
  RECT clientAfter;          // its client area, in its own client coordinates
  RECT workArea;             // of its monitor, when it closed
  long laidOutAfterMs = -1;  // -1: its size never changed while it was open
  std::vector<ControlReport> controls;
};

// The editor's display language, which translates the title's first word and every caption.
enum class DialogLanguage { English, German, Pseudo };

// What happens to the dialog besides opening and closing.
struct DialogPlan {
  DialogLanguage language = DialogLanguage::English;
  bool withoutHelp = false;   // one control fewer than the layout knows: another structure
  std::wstring titleProject;  // another project's name in the title; empty: the project's own
  HWND owner = nullptr;       // the editor's window it is shown over, as the editor shows it
  bool mirrored = false;      // laid out right to left, as Hebrew and Arabic Office show it
  // 36 pixels wider than the dialog the fixed moves were made for (460 x 360 at 96 DPI), its
  // right-hand controls and its frame with it, as another Office version or UI language has it.
  bool larger = false;
  // Once laid out, while the dialog stays open: first `whileOpen`, then the user drags its border
  // to this outer size. `whileOpen` runs as a call from elsewhere would reach the editor during a
  // modal dialog (through a message to a window of the thread's own), or with `fromDialog` from
  // inside a message to the dialog itself.
  std::function<void()> whileOpen;
  bool fromDialog = false;
  std::optional<SIZE> resize;
  // The picture of it as it closes, when pictures are on.
  std::wstring closingPicture = L"references-after.bmp";
};

// Shows the dialog modally; returns when it was laid out (and the plan carried out) or `limitMs`
// passed, closing it.
DialogReport ShowReferencesDialog(const host::Text& projectName, unsigned limitMs,
                                  const DialogPlan& plan);

}  // namespace sandbox
