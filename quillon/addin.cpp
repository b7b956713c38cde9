#include "quillon/addin.h"

#include "host/error.h"
#include "quillon/entry_points.h"
#include "quillon/saved_bookmarks.h"
#include "quillon/stored_values.h"
#include "quillon/toolbar.h"
#include "quillon/toolbar_layout.h"

namespace quillon {

dsrQuillon::dsrQuillon(Platform platform)
    : platform_(std::move(platform)),
      actions_(std::make_shared<EntryPoints>(state_, platform_)),
      keys_(state_, platform_.keys, platform_.keyboard, actions_) {}

dsrQuillon::dsrQuillon(Platform platform, std::shared_ptr<ButtonActions> actions)
    : platform_(std::move(platform)),
      actions_(std::move(actions)),
      keys_(state_, platform_.keys, platform_.keyboard, actions_) {}

void dsrQuillon::AddinInstance_OnConnection(const std::shared_ptr<host::Application>& application) {
  // An earlier connection's keys would press buttons this one is about to replace.
  keys_.Remove();
  if (!application) throw host::HostError(host::codes::kNoInterface, u"No application object.");
  state_.EditorVBE = application->AsVBE();
  state_.VBEVersion = EditorVersionNumber(state_.EditorVBE->Version());
  // Before the bars, whose tooltips name the keys: only keys that can act, once hooked.
  keys_.Read(*platform_.settings);
  keys_.Install();
  try {
    ConnectBars();
  } catch (...) {
    // A connection that fails half way leaves no hook pressing buttons it did not finish.
    keys_.Remove();
    throw;
  }
}

void dsrQuillon::ConnectBars() {
  // Until this connection knows its application and has put the saved bookmarks back, a click
  // saves nothing: a connection that fails half way never sets a bookmark over a saved one.
  state_.BookmarksSection.clear();
  state_.UnrestoredBookmarks.fill(false);
  // The previous sink's bindings belong to buttons the disconnection deleted.
  state_.VBEEvents = std::make_shared<clsVBE_Events>(actions_);
  BuildBMToolbar();
  BuildCPToolbar();
  const host::Text windir = platform_.environment->Environ(u"windir");
  state_.WinDrive = windir.substr(0, 1);
  // Last, once both bars stand where the user left them: the bookmarks of earlier sessions of
  // this Office application. One whose program cannot be named keeps none, rather than another's.
  state_.BookmarksSection = host::Ignore([&] {
                              return BookmarksSectionOf(platform_.environment->ProgramPath());
                            }).value_or(host::Text());
  if (state_.BMToolbar) SavedBookmarks(*platform_.settings, state_).Restore(*state_.BMToolbar);
}

void dsrQuillon::AddinInstance_OnDisconnection() {
  keys_.Remove();
  RemoveBMToolbar();
  RemoveCPToolbar();
  // The editor may keep this object for a later connection: until then no click reaches it and
  // none of the editor's objects is held. The buffers' texts are no editor objects and stay.
  state_.VBEEvents.reset();
  state_.BMToolbar.reset();
  state_.CPToolbar.reset();
  state_.EditorVBE.reset();
  state_.BookmarksSection.clear();
  state_.UnrestoredBookmarks.fill(false);
}

void dsrQuillon::BuildBMToolbar() { Toolbar(state_, *platform_.settings, kBookmarksBar).Build(); }
void dsrQuillon::BuildCPToolbar() { Toolbar(state_, *platform_.settings, kCopyBufferBar).Build(); }
void dsrQuillon::RemoveBMToolbar() { Toolbar(state_, *platform_.settings, kBookmarksBar).Remove(); }
void dsrQuillon::RemoveCPToolbar() {
  Toolbar(state_, *platform_.settings, kCopyBufferBar).Remove();
}

}  // namespace quillon
