#pragma once
// The editor's References dialog: a real modal dialog of class "#32770" titled
// "References - <project>", with the controls the editor's has, in its child order. The sandbox
// opens it as the editor does and watches it until it is laid out or a limit passes.

#include <windows.h>

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
  long laidOutAfterMs = -1;  // -1: its size never changed while it was open
  std::vector<ControlReport> controls;
};

// Shows the dialog modally; returns when it was laid out or `limitMs` passed, closing it.
// `mirrored`: laid out right to left, as Hebrew and Arabic Office show it.
DialogReport ShowReferencesDialog(const host::Text& projectName, unsigned limitMs, bool mirrored);

}  // namespace sandbox
