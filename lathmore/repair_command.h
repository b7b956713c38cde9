#pragma once
// Repair Missing References: the button after the References command, and its click, which
// repairs the active project's references and tells in one message box what became of each.

#include <memory>
#include <vector>

#include "host/command_bars.h"
#include "host/editor.h"
#include "host/platform.h"
#include "host/type_libraries.h"

namespace lathmore {

// The caption with "&" before its first letter that no other caption of the menu uses as its
// accelerator; unchanged when every letter is taken.
host::Text WithFreeAccelerator(const host::Text& caption, const std::vector<host::Text>& others);

class RepairCommand {
 public:
  RepairCommand(host::MessageBoxes& messages, host::TypeLibraries& libraries, host::Bitness bitness)
      : messages_(messages), libraries_(libraries), bitness_(bitness) {}
  // Let go of without a disconnection (the editor ending, or releasing the add-in): the button
  // goes too, so no command is left that nothing answers.
  ~RepairCommand();
  RepairCommand(const RepairCommand&) = delete;
  RepairCommand& operator=(const RepairCommand&) = delete;

  // Adds the button right after `references` on the menu that holds it, for this session of the
  // editor. A refused call leaves no button of it behind; the failure goes on to the caller.
  void Add(host::CommandBarControl& references, std::shared_ptr<host::VBE> editor);
  // Deletes the button and drops every editor object; a refused deletion is let go.
  void Remove();
  // Repairs the active project and shows what became of each missing reference.
  void Click();

  const std::shared_ptr<host::CommandBarButton>& Button() const { return button_; }

 private:
  host::Text Repair();

  host::MessageBoxes& messages_;
  host::TypeLibraries& libraries_;
  host::Bitness bitness_;
  std::shared_ptr<host::VBE> editor_;
  std::shared_ptr<host::CommandBarButton> button_;
  std::unique_ptr<host::EventConnection> click_;
};

}  // namespace lathmore
