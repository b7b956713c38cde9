#include "lathmore/repair_command.h"

#include <algorithm>

#include "host/error.h"
#include "lathmore/reference_repair.h"
#include "lathmore/repair_message.h"

namespace lathmore {

namespace {

bool IsAsciiLetter(char16_t c) {
  const char16_t lower = host::LowerAscii(c);
  return lower >= u'a' && lower <= u'z';
}

// The letter after a single "&" ("&&" shows an ampersand), folded; 0 for none.
char16_t AcceleratorOf(const host::Text& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] != u'&') return host::LowerAscii(caption[i + 1]);
    ++i;
  }
  return 0;
}

}  // namespace

host::Text WithFreeAccelerator(const host::Text& caption, const std::vector<host::Text>& others) {
  std::vector<char16_t> taken;
  for (const auto& other : others) taken.push_back(AcceleratorOf(other));
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (!IsAsciiLetter(caption[i])) continue;
    if (std::find(taken.begin(), taken.end(), host::LowerAscii(caption[i])) != taken.end())
      continue;
    return caption.substr(0, i) + u"&" + caption.substr(i);
  }
  return caption;
}

void RepairCommand::Add(host::CommandBarControl& references, std::shared_ptr<host::VBE> editor) {
  Remove();
  const auto menu = references.Parent();
  const auto controls = menu->Controls();
  const std::int32_t place = references.Index();
  const std::int32_t count = controls->Count();
  std::vector<host::Text> captions;
  for (std::int32_t i = 1; i <= count; ++i) captions.push_back(controls->Item(i)->Caption());
  const auto before = place < count ? std::optional<std::int32_t>(place + 1) : std::nullopt;
  const auto control = controls->Add(host::kControlButton, host::kCustomControlId, before, true);
  try {
    auto button = control->AsButton();
    button->SetCaption(WithFreeAccelerator(kRepairCaption, captions));
    click_ = button->AdviseClick(
        [this](const std::shared_ptr<host::CommandBarButton>&, bool&) { Click(); });
    button_ = std::move(button);
    editor_ = std::move(editor);
  } catch (const host::HostError&) {
    host::Ignore([&] { control->Delete(); });
    throw;
  }
}

RepairCommand::~RepairCommand() {
  try {
    Remove();
  } catch (...) {
    // Nothing may leave a destructor; the editor drops a temporary button when it ends anyway.
  }
}

void RepairCommand::Remove() {
  click_.reset();
  if (button_) host::Ignore([&] { button_->Delete(); });
  button_.reset();
  editor_.reset();
}

void RepairCommand::Click() {
  if (!editor_) return;
  const host::Text text = Repair();
  const auto owner = host::Ignore([&] { return editor_->MainWindowHandle(); });
  try {
    messages_.Show(text, kRepairTitle, owner.value_or(0));
  } catch (const host::HostError&) {
    // What the repair did must be seen, a reference it lost above all: owned by no window, then.
    host::Ignore([&] { messages_.Show(text, kRepairTitle, 0); });
  }
}

host::Text RepairCommand::Repair() {
  const auto project = host::Ignore([&] { return editor_->ActiveVBProject(); }).value_or(nullptr);
  if (!project) return kSelectProjectFirst;
  const auto name = host::Ignore([&] { return project->Name(); }).value_or(u"The active project");
  const auto protection = host::Ignore([&] { return project->Protection(); });
  if (!protection) return UnreadableMessage(name);
  if (protection == host::kProjectLocked) return LockedMessage(name);
  try {
    const auto references = project->References();
    return RepairMessage(name, RepairReferences(*references, libraries_, bitness_));
  } catch (const host::HostError&) {
    return UnreadableMessage(name);
  }
}

}  // namespace lathmore
