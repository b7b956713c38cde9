#pragma once
// What a connection sets up and every later action reads. One set per loaded add-in; a later
// connection overwrites it, a disconnection leaves it as it is.

#include <array>
#include <cstdint>
#include <memory>

#include "host/editor.h"
#include "quillon/key_bindings.h"
#include "quillon/vbe_events.h"

namespace quillon {

struct AddinState {
  std::shared_ptr<host::VBE> EditorVBE;
  std::int16_t VBEVersion = 0;
  std::shared_ptr<clsVBE_Events> VBEEvents;
  std::shared_ptr<host::CommandBar> BMToolbar;
  std::shared_ptr<host::CommandBar> CPToolbar;
  host::Text WinDrive;  // empty or one character
  // Where this Office application's bookmarks are kept ("Bookmarks\EXCEL"); empty when the
  // application could not be named, and then none are kept.
  host::Text BookmarksSection;
  KeyBindings Keys;  // as the connection read them
  // Keys the user chose that are the editor's own: not taken, the default kept instead.
  KeyBindings RefusedKeys;
  // Bookmark buttons 1 to 5 whose saved bookmark the connection could not put back: each stays
  // free, its saved value untouched, until a click puts it back first.
  std::array<bool, 5> UnrestoredBookmarks{};
};

}  // namespace quillon
