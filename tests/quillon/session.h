#pragma once
// A Quillon add-in connected to a simulated editor, with its four entry points recorded.

#include <memory>
#include <string>
#include <vector>

#include "host/sim/builder.h"
#include "quillon/addin.h"
#include "quillon/button_actions.h"

namespace quillon::testing {

struct RecordedClick {
  std::string entry;
  std::shared_ptr<host::CommandBarButton> button;  // null for the clear entries
};

class RecordingActions : public ButtonActions {
 public:
  void BookmarkClick(const std::shared_ptr<host::CommandBarButton>& button) override {
    clicks.push_back({"BookmarkClick", button});
  }
  void ResetBookmarks() override { clicks.push_back({"ResetBookmarks", nullptr}); }
  void CopyBufferClick(const std::shared_ptr<host::CommandBarButton>& button) override {
    clicks.push_back({"CopyBufferClick", button});
  }
  void ClearCopyBuffers() override { clicks.push_back({"ClearCopyBuffers", nullptr}); }

  std::vector<RecordedClick> clicks;
};

inline constexpr char16_t kBookmarks[] = u"Quillon";
inline constexpr char16_t kCopyBuffers[] = u"RIDAridAviri";

struct Session {
  explicit Session(host::sim::SimHostBuilder builder = {})
      : host(builder.Build()),
        actions(std::make_shared<RecordingActions>()),
        addin(Platform{host.settings, host.environment, host.sound, host.keyboard, host.messages},
              actions) {}

  void Connect() { addin.AddinInstance_OnConnection(host.editor); }
  void Disconnect() { addin.AddinInstance_OnDisconnection(); }
  std::shared_ptr<host::sim::SimCommandBar> Bar(const host::Text& name) const {
    return host.Bar(name);
  }
  std::shared_ptr<host::sim::SimControl> Control(const host::Text& bar, int index) const {
    return host.Control(bar, index);
  }
  std::optional<host::Text> Stored(const host::Text& bar, const host::Text& key) const {
    return host.settings->Stored(u"Razurid", bar, key);
  }

  host::sim::SimHost host;
  std::shared_ptr<RecordingActions> actions;
  dsrQuillon addin;
};

}  // namespace quillon::testing
