#pragma once
// The simulated Office command bars: bars, their controls and the controls' click events.

#include <memory>
#include <string_view>
#include <vector>

#include "host/command_bars.h"
#include "host/editor.h"
#include "host/sim/handler_list.h"
#include "host/sim/host_calls.h"

namespace host::sim {

class SimCommandBar;
class SimCommandBarEvents;

inline constexpr std::int32_t kControlPopup = 10;  // msoControlPopup: a control that is no button

struct ClickOutcome {
  bool handled = false;
  bool cancelDefault = false;
};

class SimControl : public CommandBarButton, public std::enable_shared_from_this<SimControl> {
 public:
  SimControl(std::shared_ptr<HostCalls> calls, std::weak_ptr<SimCommandBar> bar, std::int32_t type,
             std::int32_t id);

  std::shared_ptr<CommandBarButton> AsButton() override;
  Text Caption() override;
  void SetCaption(const Text& value) override;
  Text DescriptionText() override;
  void SetDescriptionText(const Text& value) override;
  Text TooltipText() override;
  void SetTooltipText(const Text& value) override;
  bool BeginGroup() override;
  void SetBeginGroup(bool value) override;
  std::int32_t Index() override;
  std::shared_ptr<CommandBar> Parent() override;
  void Delete() override;
  std::int32_t FaceId() override;
  void SetFaceId(std::int32_t value) override;
  std::int32_t State() override;
  void SetState(std::int32_t value) override;
  std::unique_ptr<EventConnection> AdviseClick(ButtonClickHandler handler) override;

  // What the user does and sees, outside the add-ins' view.
  ClickOutcome Click(bool handled = false, bool cancelDefault = false);
  bool Exists() const;
  std::int32_t Id() const { return id_; }
  std::int32_t Type() const { return type_; }
  const Text& CaptionShown() const { return caption_; }
  const Text& DescriptionShown() const { return description_; }
  const Text& TooltipShown() const { return tooltip_; }
  std::int32_t FaceIdShown() const { return faceId_; }
  std::int32_t StateShown() const { return state_; }
  bool BeginGroupShown() const { return beginGroup_; }
  // Added for this session of the editor only.
  bool temporary = false;
  void SetShown(const Text& caption, const Text& description, std::int32_t state);
  std::shared_ptr<SimCommandBar> Bar() const { return bar_.lock(); }
  // Bindings to the button's own Click event that are still live.
  std::size_t ClickConnections() const { return buttonClick_->Size(); }

  // A CommandBarEvents source for this control; it raises Click while it lives.
  void AttachSource(const std::shared_ptr<SimCommandBarEvents>& source);

 private:
  void Enter(std::string_view operation);

  std::shared_ptr<HostCalls> calls_;
  std::weak_ptr<SimCommandBar> bar_;
  std::int32_t type_;
  std::int32_t id_;
  Text caption_;
  Text description_;
  Text tooltip_;
  bool beginGroup_ = false;
  std::int32_t faceId_ = 0;
  std::int32_t state_ = kStateUp;
  std::shared_ptr<HandlerList<ButtonClickHandler>> buttonClick_ =
      std::make_shared<HandlerList<ButtonClickHandler>>();
  std::vector<std::weak_ptr<SimCommandBarEvents>> sources_;
};

// The event source that the simulated VBE.Events.CommandBarEvents hands out.
class SimCommandBarEvents : public CommandBarEvents {
 public:
  explicit SimCommandBarEvents(std::shared_ptr<HostCalls> calls) : calls_(std::move(calls)) {}
  std::unique_ptr<EventConnection> AdviseClick(CommandBarClickHandler handler) override;
  void Raise(const std::shared_ptr<CommandBarControl>& control, bool& handled, bool& cancelDefault);
  std::size_t Connections() const { return handlers_->Size(); }

 private:
  std::shared_ptr<HostCalls> calls_;
  std::shared_ptr<HandlerList<CommandBarClickHandler>> handlers_ =
      std::make_shared<HandlerList<CommandBarClickHandler>>();
};

struct BarPlace {
  std::int32_t position = kBarTop;
  std::int32_t rowIndex = 0;
  std::int32_t top = 0;
  std::int32_t left = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool visible = false;
  bool operator==(const BarPlace&) const = default;
};

class SimCommandBars;

class SimControls : public CommandBarControls {
 public:
  SimControls(std::shared_ptr<HostCalls> calls, std::weak_ptr<SimCommandBar> bar)
      : calls_(std::move(calls)), bar_(std::move(bar)) {}
  std::shared_ptr<CommandBarControl> Add(std::int32_t type, std::int32_t id) override;
  std::shared_ptr<CommandBarControl> Add(std::int32_t type, std::int32_t id,
                                         std::optional<std::int32_t> before,
                                         bool temporary) override;
  std::int32_t Count() override;
  std::shared_ptr<CommandBarControl> Item(std::int32_t index) override;

 private:
  std::shared_ptr<SimCommandBar> LiveBar();
  std::shared_ptr<HostCalls> calls_;
  std::weak_ptr<SimCommandBar> bar_;
};

class SimCommandBar : public CommandBar, public std::enable_shared_from_this<SimCommandBar> {
 public:
  SimCommandBar(std::shared_ptr<HostCalls> calls, std::weak_ptr<SimCommandBars> owner, Text name,
                bool temporary);

  std::shared_ptr<CommandBarControls> Controls() override;
  void Delete() override;
  std::int32_t Position() override;
  void SetPosition(std::int32_t value) override;
  std::int32_t RowIndex() override;
  void SetRowIndex(std::int32_t value) override;
  std::int32_t Top() override;
  void SetTop(std::int32_t value) override;
  std::int32_t Left() override;
  void SetLeft(std::int32_t value) override;
  std::int32_t Width() override;
  void SetWidth(std::int32_t value) override;
  std::int32_t Height() override;
  void SetHeight(std::int32_t value) override;
  bool Visible() override;
  void SetVisible(bool value) override;

  const Text& Name() const { return name_; }
  bool Temporary() const { return temporary_; }
  bool Exists() const { return exists_; }
  BarPlace& Place() { return place_; }
  const std::vector<std::shared_ptr<SimControl>>& ControlList() const { return controls_; }
  std::shared_ptr<SimControl> Control(std::int32_t index) const;  // 1-based; null past the end
  std::shared_ptr<SimControl> AppendControl(std::int32_t type, std::int32_t id);
  // A new control at a 1-based place.
  std::shared_ptr<SimControl> InsertControl(std::int32_t type, std::int32_t id,
                                            std::int32_t before);
  void Remove();                           // as when the user deletes the bar
  void RemoveControl(std::int32_t index);  // as when the user deletes a control (1-based)

 private:
  friend class SimControls;
  friend class SimControl;
  void Enter(std::string_view operation);
  std::int32_t Get(std::string_view operation, std::int32_t value);
  void Put(std::string_view operation, std::int32_t& field, std::int32_t value);

  std::shared_ptr<HostCalls> calls_;
  std::weak_ptr<SimCommandBars> owner_;
  Text name_;
  bool temporary_;
  bool exists_ = true;
  BarPlace place_;
  std::vector<std::shared_ptr<SimControl>> controls_;
};

class SimCommandBars : public CommandBars, public std::enable_shared_from_this<SimCommandBars> {
 public:
  explicit SimCommandBars(std::shared_ptr<HostCalls> calls) : calls_(std::move(calls)) {}

  std::shared_ptr<CommandBar> Add(const Text& name, std::int32_t position, bool menuBar,
                                  bool temporary) override;
  std::shared_ptr<CommandBar> Item(const Text& name) override;
  std::shared_ptr<CommandBarControl> FindControl(std::int32_t id) override;

  // The bar of that name, or null; a lookup that is no host call.
  std::shared_ptr<SimCommandBar> Find(const Text& name) const;
  const std::vector<std::shared_ptr<SimCommandBar>>& Bars() const { return bars_; }
  std::shared_ptr<SimCommandBar> AddBar(const Text& name, bool temporary);
  void Forget(const SimCommandBar& bar);

 private:
  std::shared_ptr<HostCalls> calls_;
  std::vector<std::shared_ptr<SimCommandBar>> bars_;
};

}  // namespace host::sim
