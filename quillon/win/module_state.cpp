#include "quillon/win/module_state.h"

#include "host/error.h"
#include "host/win/settings.h"

namespace quillon::win {

namespace {

// The bookmark and copy-buffer actions are not part of this build yet: a click reaches its entry
// point through the real sink and comes back to the editor as this failure.
class PendingActions : public ButtonActions {
 public:
  void BookmarkClick(const std::shared_ptr<host::CommandBarButton>&) override {
    Pending(u"BookmarkClick");
  }
  void ResetBookmarks() override { Pending(u"ResetBookmarks"); }
  void CopyBufferClick(const std::shared_ptr<host::CommandBarButton>&) override {
    Pending(u"CopyBufferClick");
  }
  void ClearCopyBuffers() override { Pending(u"ClearCopyBuffers"); }

 private:
  [[noreturn]] static void Pending(const std::u16string& entry) {
    throw host::HostError(static_cast<std::int32_t>(0x80004001),
                          entry + u" is not available in this build.");
  }
};

std::weak_ptr<ModuleState> current;

}  // namespace

ModuleState::ModuleState()
    : actions(std::make_shared<PendingActions>()),
      addin(Platform{host::win::RegistrySettings(), host::win::ProcessEnvironment()}, actions) {}

std::shared_ptr<ModuleState> AcquireModuleState() {
  auto state = current.lock();
  if (!state) {
    state = std::make_shared<ModuleState>();
    current = state;
  }
  return state;
}

}  // namespace quillon::win
