#include "host/sim/command_bars.h"

#include <algorithm>

#include "host/error.h"
#include "host/sim/ignore_case.h"

namespace host::sim {

namespace {
[[noreturn]] void Gone() { throw HostError(codes::kFail, u"The object has been deleted."); }
[[noreturn]] void InvalidCall() {
  throw HostError(codes::kInvalidArgument, u"Invalid procedure call or argument");
}
}  // namespace

// ---- SimControl -------------------------------------------------------------------------------

SimControl::SimControl(std::shared_ptr<HostCalls> calls, std::weak_ptr<SimCommandBar> bar,
                       std::int32_t type, std::int32_t id)
    : calls_(std::move(calls)), bar_(std::move(bar)), type_(type), id_(id) {}

bool SimControl::Exists() const {
  const auto bar = bar_.lock();
  return bar && bar->Exists() &&
         std::find(bar->controls_.begin(), bar->controls_.end(), shared_from_this()) !=
             bar->controls_.end();
}

void SimControl::Enter(std::string_view operation) {
  calls_->Enter(operation);
  if (!Exists()) Gone();
}

std::shared_ptr<CommandBarButton> SimControl::AsButton() {
  Enter("CommandBarControl.AsButton");
  if (type_ != kControlButton) throw HostError(codes::kNoInterface, u"No such interface supported");
  return shared_from_this();
}

Text SimControl::Caption() {
  Enter("CommandBarControl.Caption");
  return caption_;
}
void SimControl::SetCaption(const Text& value) {
  Enter("CommandBarButton.Caption=");
  caption_ = value;
}
Text SimControl::DescriptionText() {
  Enter("CommandBarButton.DescriptionText");
  return description_;
}
Text SimControl::TooltipText() {
  Enter("CommandBarButton.TooltipText");
  return tooltip_;
}

void SimControl::SetTooltipText(const Text& value) {
  Enter("CommandBarButton.TooltipText=");
  tooltip_ = value;
}

void SimControl::SetDescriptionText(const Text& value) {
  Enter("CommandBarButton.DescriptionText=");
  description_ = value;
}
bool SimControl::BeginGroup() {
  Enter("CommandBarButton.BeginGroup");
  return beginGroup_;
}
void SimControl::SetBeginGroup(bool value) {
  Enter("CommandBarButton.BeginGroup=");
  beginGroup_ = value;
}
std::int32_t SimControl::Index() {
  Enter("CommandBarControl.Index");
  const auto& controls = bar_.lock()->controls_;
  return static_cast<std::int32_t>(std::find(controls.begin(), controls.end(), shared_from_this()) -
                                   controls.begin() + 1);
}
std::shared_ptr<CommandBar> SimControl::Parent() {
  Enter("CommandBarControl.Parent");
  return bar_.lock();
}
void SimControl::Delete() {
  Enter("CommandBarControl.Delete");
  auto& controls = bar_.lock()->controls_;
  std::erase(controls, shared_from_this());
}
std::int32_t SimControl::FaceId() {
  Enter("CommandBarButton.FaceId");
  return faceId_;
}
void SimControl::SetFaceId(std::int32_t value) {
  Enter("CommandBarButton.FaceId=");
  if (value < 0) InvalidCall();
  faceId_ = value;
}
std::int32_t SimControl::State() {
  Enter("CommandBarButton.State");
  return state_;
}
void SimControl::SetState(std::int32_t value) {
  Enter("CommandBarButton.State=");
  if (value != kStateUp && value != kStateDown) InvalidCall();
  state_ = value;
}
std::unique_ptr<EventConnection> SimControl::AdviseClick(ButtonClickHandler handler) {
  Enter("CommandBarButton.AdviseClick");
  return buttonClick_->Add(std::move(handler));
}

void SimControl::SetShown(const Text& caption, const Text& description, std::int32_t state) {
  caption_ = caption;
  description_ = description;
  state_ = state;
}

void SimControl::AttachSource(const std::shared_ptr<SimCommandBarEvents>& source) {
  std::erase_if(sources_, [](const auto& weak) { return weak.expired(); });
  sources_.push_back(source);
}

ClickOutcome SimControl::Click(bool handled, bool cancelDefault) {
  ClickOutcome outcome{handled, cancelDefault};
  if (!Exists()) return outcome;  // a deleted control cannot be clicked
  const auto self = shared_from_this();
  // The button's own event comes first, then the editor's CommandBarEvents sources.
  for (const auto& handler : buttonClick_->Current()) handler(self, outcome.cancelDefault);
  for (const auto& weak : std::vector(sources_))
    if (const auto source = weak.lock())
      source->Raise(self, outcome.handled, outcome.cancelDefault);
  return outcome;
}

// ---- SimCommandBarEvents ----------------------------------------------------------------------

std::unique_ptr<EventConnection> SimCommandBarEvents::AdviseClick(CommandBarClickHandler handler) {
  calls_->Enter("CommandBarEvents.AdviseClick");
  return handlers_->Add(std::move(handler));
}

void SimCommandBarEvents::Raise(const std::shared_ptr<CommandBarControl>& control, bool& handled,
                                bool& cancelDefault) {
  for (const auto& handler : handlers_->Current()) handler(control, handled, cancelDefault);
}

// ---- SimControls ------------------------------------------------------------------------------

std::shared_ptr<SimCommandBar> SimControls::LiveBar() {
  auto bar = bar_.lock();
  if (!bar || !bar->Exists()) Gone();
  return bar;
}

std::shared_ptr<CommandBarControl> SimControls::Add(std::int32_t type, std::int32_t id) {
  calls_->Enter("CommandBarControls.Add");
  const auto bar = LiveBar();
  if (type != kControlButton && type != kControlPopup) InvalidCall();
  return bar->AppendControl(type, id);
}

std::shared_ptr<CommandBarControl> SimControls::Add(std::int32_t type, std::int32_t id,
                                                    std::optional<std::int32_t> before,
                                                    bool temporary) {
  calls_->Enter("CommandBarControls.Add");
  const auto bar = LiveBar();
  if (type != kControlButton && type != kControlPopup) InvalidCall();
  // Before names a control that is there; at the end, it is left out.
  const auto end = static_cast<std::int32_t>(bar->ControlList().size()) + 1;
  if (before && (*before < 1 || *before >= end)) InvalidCall();
  auto control = bar->InsertControl(type, id, before.value_or(end));
  control->temporary = temporary;
  return control;
}

std::int32_t SimControls::Count() {
  calls_->Enter("CommandBarControls.Count");
  return static_cast<std::int32_t>(LiveBar()->ControlList().size());
}

std::shared_ptr<CommandBarControl> SimControls::Item(std::int32_t index) {
  calls_->Enter("CommandBarControls.Item");
  auto control = LiveBar()->Control(index);
  if (!control) InvalidCall();
  return control;
}

// ---- SimCommandBar ----------------------------------------------------------------------------

SimCommandBar::SimCommandBar(std::shared_ptr<HostCalls> calls, std::weak_ptr<SimCommandBars> owner,
                             Text name, bool temporary)
    : calls_(std::move(calls)),
      owner_(std::move(owner)),
      name_(std::move(name)),
      temporary_(temporary) {}

void SimCommandBar::Enter(std::string_view operation) {
  calls_->Enter(operation);
  if (!exists_) Gone();
}

std::int32_t SimCommandBar::Get(std::string_view operation, std::int32_t value) {
  Enter(operation);
  return value;
}

void SimCommandBar::Put(std::string_view operation, std::int32_t& field, std::int32_t value) {
  Enter(operation);
  field = value;
}

std::shared_ptr<CommandBarControls> SimCommandBar::Controls() {
  Enter("CommandBar.Controls");
  return std::make_shared<SimControls>(calls_, weak_from_this());
}

void SimCommandBar::Delete() {
  Enter("CommandBar.Delete");
  Remove();
}

void SimCommandBar::Remove() {
  if (!exists_) return;
  exists_ = false;
  if (const auto owner = owner_.lock()) owner->Forget(*this);
}

std::int32_t SimCommandBar::Position() { return Get("CommandBar.Position", place_.position); }
void SimCommandBar::SetPosition(std::int32_t value) {
  Enter("CommandBar.Position=");
  if (value < 0 || value > kBarFloating) InvalidCall();  // popup and menu bar only at creation
  place_.position = value;
}
std::int32_t SimCommandBar::RowIndex() { return Get("CommandBar.RowIndex", place_.rowIndex); }
void SimCommandBar::SetRowIndex(std::int32_t value) {
  Put("CommandBar.RowIndex=", place_.rowIndex, value);
}
std::int32_t SimCommandBar::Top() { return Get("CommandBar.Top", place_.top); }
void SimCommandBar::SetTop(std::int32_t value) { Put("CommandBar.Top=", place_.top, value); }
std::int32_t SimCommandBar::Left() { return Get("CommandBar.Left", place_.left); }
void SimCommandBar::SetLeft(std::int32_t value) { Put("CommandBar.Left=", place_.left, value); }
std::int32_t SimCommandBar::Width() { return Get("CommandBar.Width", place_.width); }
void SimCommandBar::SetWidth(std::int32_t value) { Put("CommandBar.Width=", place_.width, value); }
std::int32_t SimCommandBar::Height() { return Get("CommandBar.Height", place_.height); }
void SimCommandBar::SetHeight(std::int32_t value) {
  Put("CommandBar.Height=", place_.height, value);
}
bool SimCommandBar::Visible() {
  Enter("CommandBar.Visible");
  return place_.visible;
}
void SimCommandBar::SetVisible(bool value) {
  Enter("CommandBar.Visible=");
  place_.visible = value;
}

std::shared_ptr<SimControl> SimCommandBar::Control(std::int32_t index) const {
  if (index < 1 || index > static_cast<std::int32_t>(controls_.size())) return nullptr;
  return controls_[static_cast<std::size_t>(index - 1)];
}

void SimCommandBar::RemoveControl(std::int32_t index) {
  if (index >= 1 && index <= static_cast<std::int32_t>(controls_.size()))
    controls_.erase(controls_.begin() + (index - 1));
}

std::shared_ptr<SimControl> SimCommandBar::AppendControl(std::int32_t type, std::int32_t id) {
  controls_.push_back(std::make_shared<SimControl>(calls_, weak_from_this(), type, id));
  return controls_.back();
}

std::shared_ptr<SimControl> SimCommandBar::InsertControl(std::int32_t type, std::int32_t id,
                                                         std::int32_t before) {
  return *controls_.insert(controls_.begin() + (before - 1),
                           std::make_shared<SimControl>(calls_, weak_from_this(), type, id));
}

// ---- SimCommandBars ---------------------------------------------------------------------------

std::shared_ptr<CommandBar> SimCommandBars::Add(const Text& name, std::int32_t position,
                                                bool menuBar, bool temporary) {
  calls_->Enter("CommandBars.Add");
  // Office refuses a second bar of a name, and positions it does not know.
  if (Find(name) || position < 0 || position > 6) InvalidCall();
  auto bar = AddBar(name, temporary);
  bar->Place().position = menuBar ? 6 : position;
  return bar;
}

std::shared_ptr<CommandBar> SimCommandBars::Item(const Text& name) {
  calls_->Enter("CommandBars.Item");
  auto bar = Find(name);
  if (!bar) InvalidCall();
  return bar;
}

std::shared_ptr<CommandBarControl> SimCommandBars::FindControl(std::int32_t id) {
  calls_->Enter("CommandBars.FindControl");
  for (const auto& bar : bars_)
    for (const auto& control : bar->ControlList())
      if (control->Id() == id) return control;
  return nullptr;
}

std::shared_ptr<SimCommandBar> SimCommandBars::Find(const Text& name) const {
  for (const auto& bar : bars_)
    if (EqualsIgnoringCase(bar->Name(), name)) return bar;
  return nullptr;
}

std::shared_ptr<SimCommandBar> SimCommandBars::AddBar(const Text& name, bool temporary) {
  bars_.push_back(std::make_shared<SimCommandBar>(calls_, weak_from_this(), name, temporary));
  return bars_.back();
}

void SimCommandBars::Forget(const SimCommandBar& bar) {
  std::erase_if(bars_, [&](const auto& b) { return b.get() == &bar; });
}

}  // namespace host::sim
