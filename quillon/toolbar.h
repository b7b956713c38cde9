#pragma once
// Building, restoring, saving and removing one of the two bars, for whichever layout it is given.

#include "host/settings.h"
#include "quillon/addin_state.h"
#include "quillon/toolbar_layout.h"

namespace quillon {

class Toolbar {
 public:
  Toolbar(AddinState& state, host::SettingsStore& settings, const ToolbarLayout& layout)
      : state_(state), settings_(settings), layout_(layout) {}

  // Removes a bar of the same name (saving its place), creates the bar, adds and binds its six
  // buttons and applies the saved place. Failures of the host are not trapped.
  void Build();
  void AddButtons();
  // Saves the place of the bar found by name and deletes it. Every failure is ignored.
  void Remove();
  // Applies the saved place through the stored reference. A stored value that does not convert
  // gives its default and a value the host refuses is skipped, so no stored place can make the
  // connection fail.
  void Restore();

 private:
  host::VBE& Editor() const;
  host::CommandBar& Bar() const;
  host::Text RowIndexKey() const;
  host::Text Stored(const host::Text& key) const;  // empty when absent or unreadable
  std::int32_t StoredNumber(const host::Text& key, std::int32_t defaultValue) const;
  bool StoredFlag(const host::Text& key, bool defaultValue) const;
  void Save(const host::Text& key, const host::Text& value);

  AddinState& state_;
  host::SettingsStore& settings_;
  const ToolbarLayout& layout_;
};

}  // namespace quillon
