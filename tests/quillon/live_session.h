#pragma once
// Quillon connected to a simulated editor with its real bookmark and copy-buffer actions: a test
// selects, clicks and reads what the user would see.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/sim/builder.h"
#include "host/sim/window_tree.h"
#include "quillon/addin.h"

namespace quillon::testing {

inline constexpr char16_t kBookmarksBarName[] = u"Quillon";
inline constexpr char16_t kCopyBarName[] = u"RIDAridAviri";
inline constexpr char16_t kMedia[] = u"C:\\windows\\media\\office97\\";

// The builder's editor with every sound file present.
inline host::sim::SimHostBuilder WithSounds(host::sim::SimHostBuilder builder = {}) {
  for (const char16_t* file : {u"zoomin.wav", u"redo.wav", u"cancel.wav", u"remindr4.wav"})
    builder.SoundFile(host::Text(kMedia) + file);
  return builder;
}

enum class Keys { None, Hooked };

struct LiveSession {
  // With keys: the editor's main window and a code window in it, which has the focus.
  // `beforeConnecting` may plan the host's failures.
  explicit LiveSession(const host::sim::SimHostBuilder& builder, Keys keys = Keys::None,
                       const std::function<void(host::sim::HostCalls&)>& beforeConnecting = {})
      : host(builder.Build()),
        windows(keys == Keys::Hooked ? std::make_shared<host::sim::SimWindowTree>(host.calls)
                                     : nullptr),
        addin(Platform{host.settings, host.environment, host.sound, host.keyboard, host.messages,
                       windows}) {
    if (windows) {
      mainWindow = windows->AddTopLevel({u"wndclass_desked_gsk", u"Microsoft Visual Basic"});
      codeWindow = windows->AddChild(mainWindow, {u"VbaWindow", u"Module1 (Code)"});
      host.editor->SetMainWindow(mainWindow);
      windows->Focus(codeWindow);
    }
    if (beforeConnecting) beforeConnecting(*host.calls);
    addin.AddinInstance_OnConnection(host.editor);
  }

  std::shared_ptr<host::sim::SimControl> Bookmark(int index) const {
    return host.Control(kBookmarksBarName, index);
  }
  std::shared_ptr<host::sim::SimControl> Buffer(int index) const {
    return host.Control(kCopyBarName, index);
  }

  std::shared_ptr<host::sim::SimComponent> Component(const host::Text& project,
                                                     const host::Text& name) const {
    for (const auto& p : host.editor->Projects())
      if (p->NameShown() == project) return p->Component(name);
    return nullptr;
  }
  // The user puts the caret or a selection into a component's code window.
  void Select(const std::shared_ptr<host::sim::SimComponent>& component,
              host::Selection selection) const {
    host.editor->SelectComponent(component);
    component->ShowCode();
    component->Pane()->selection = selection;
  }
  void Caret(const std::shared_ptr<host::sim::SimComponent>& component, std::int32_t line) const {
    Select(component, {line, 1, line, 1});
  }
  void ShiftClick(const std::shared_ptr<host::sim::SimControl>& button) const {
    host.keyboard->shiftDown = true;
    button->Click();
    host.keyboard->shiftDown = false;
  }

  // File names of the sounds played since the last call.
  std::vector<std::string> TakeSounds() const {
    std::vector<std::string> names;
    for (const auto& path : host.sound->Played())
      names.push_back(host::ToUtf8(path.substr(path.rfind(u'\\') + 1)));
    host.sound->ClearPlayed();
    return names;
  }
  std::vector<host::Text> TakeMessages() const {
    std::vector<host::Text> texts;
    for (const auto& shown : host.messages->Shown()) texts.push_back(shown.text);
    host.messages->Clear();
    return texts;
  }

  // The user presses and releases the key with Ctrl held, and Shift and Alt as asked. Whether
  // the press went no further than the hook.
  bool Press(std::int32_t virtualKey, bool shift = false, bool alt = false) const {
    host.keyboard->ctrlDown = true;
    host.keyboard->shiftDown = shift;
    host.keyboard->altDown = alt;
    const bool swallowed = windows->Key({virtualKey, true, false});
    windows->Key({virtualKey, false, false});
    host.keyboard->ctrlDown = host.keyboard->shiftDown = host.keyboard->altDown = false;
    return swallowed;
  }

  host::sim::SimHost host;
  std::shared_ptr<host::sim::SimWindowTree> windows;  // null without keys
  host::WindowHandle mainWindow = 0;
  host::WindowHandle codeWindow = 0;
  dsrQuillon addin;
};

}  // namespace quillon::testing
