#include "lathmore/connect.h"

#include "host/error.h"

namespace lathmore {

void Connect::AddinInstance_OnConnection(const std::shared_ptr<host::Application>& application) {
  if (!application) throw host::HostError(host::codes::kTypeMismatch, u"Type mismatch");
  main_.EditorVBE = application->AsVBE();
  const auto control = main_.EditorVBE->CommandBars()->FindControl(kReferencesCommand);
  if (!control) {
    // An editor without the command: connected and idle.
    repair_.Remove();
    click_.reset();
    btnToolsRefs.reset();
    return;
  }
  auto button = control->AsButton();
  click_ =
      button->AdviseClick([this](const std::shared_ptr<host::CommandBarButton>& ctrl,
                                 bool& cancelDefault) { btnToolsRefs_Click(ctrl, cancelDefault); });
  btnToolsRefs = std::move(button);
  try {
    repair_.Add(*btnToolsRefs, main_.EditorVBE);
  } catch (const host::HostError&) {
    // Lathmore goes on without the command; the dialog is still enlarged.
  }
}

void Connect::AddinInstance_OnDisconnection() {
  main_.StopWatch();
  main_.LetGoOfDialog();
  repair_.Remove();
  // The editor may keep this object for a later connection: until then a click of References
  // reaches none of this code, and none of the editor's objects is held.
  click_.reset();
  btnToolsRefs.reset();
  main_.EditorVBE.reset();
}

void Connect::btnToolsRefs_Click(const std::shared_ptr<host::CommandBarButton>&, bool&) {
  main_.StartWatch();
}

}  // namespace lathmore
