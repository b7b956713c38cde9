#pragma once
// The Office command-bar model as the add-ins use it. Every call may throw host::HostError.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "host/text.h"

namespace host {

class CommandBar;
class CommandBarButton;
class CommandBarControls;

// Values the add-ins pass to the command-bar model.
inline constexpr std::int32_t kBarTop = 1;         // docked at the top (msoBarTop)
inline constexpr std::int32_t kBarFloating = 4;    // floating (msoBarFloating)
inline constexpr std::int32_t kControlButton = 1;  // control type: button (msoControlButton)
inline constexpr std::int32_t kCustomControlId = 1;
inline constexpr std::int32_t kStateUp = 0;
inline constexpr std::int32_t kStateDown = -1;

// An event binding: the handler is reached while the binding lives and never after it is gone.
class EventConnection {
 public:
  virtual ~EventConnection() = default;
};

// Any control of a bar. Only buttons are used through more than this.
class CommandBarControl {
 public:
  virtual ~CommandBarControl() = default;
  // The same control through its button interface; fails for a control that is not a button.
  virtual std::shared_ptr<CommandBarButton> AsButton() = 0;
  // What the bar or menu shows, with "&" before its accelerator letter.
  virtual Text Caption() = 0;
  // 1-based place on the bar.
  virtual std::int32_t Index() = 0;
  // The bar (or the popup menu's bar) that holds the control.
  virtual std::shared_ptr<CommandBar> Parent() = 0;
  // Removes the control from its bar.
  virtual void Delete() = 0;
};

// Handler of the button's own Click event: raised before the host carries out its action; an
// unchanged cancelDefault lets the host go on.
using ButtonClickHandler =
    std::function<void(const std::shared_ptr<CommandBarButton>& ctrl, bool& cancelDefault)>;

class CommandBarButton : public CommandBarControl {
 public:
  virtual void SetCaption(const Text& value) = 0;
  virtual Text DescriptionText() = 0;
  virtual void SetDescriptionText(const Text& value) = 0;
  // What the editor shows on hover.
  virtual Text TooltipText() = 0;
  virtual void SetTooltipText(const Text& value) = 0;
  virtual bool BeginGroup() = 0;
  virtual void SetBeginGroup(bool value) = 0;
  virtual std::int32_t FaceId() = 0;
  virtual void SetFaceId(std::int32_t value) = 0;
  // kStateUp (0) or kStateDown (-1).
  virtual std::int32_t State() = 0;
  virtual void SetState(std::int32_t value) = 0;
  virtual std::unique_ptr<EventConnection> AdviseClick(ButtonClickHandler handler) = 0;
};

class CommandBarControls {
 public:
  virtual ~CommandBarControls() = default;
  // A new control at the end of the bar (parameter, before and temporary left out).
  virtual std::shared_ptr<CommandBarControl> Add(std::int32_t type, std::int32_t id) = 0;
  // A new control before the 1-based place `before` (at the end when nullopt), kept only for
  // this session of the editor when `temporary` (parameter left out).
  virtual std::shared_ptr<CommandBarControl> Add(std::int32_t type, std::int32_t id,
                                                 std::optional<std::int32_t> before,
                                                 bool temporary) = 0;
  virtual std::int32_t Count() = 0;
  // The control at a 1-based place; fails past the end.
  virtual std::shared_ptr<CommandBarControl> Item(std::int32_t index) = 0;
};

class CommandBar {
 public:
  virtual ~CommandBar() = default;
  virtual std::shared_ptr<CommandBarControls> Controls() = 0;
  virtual void Delete() = 0;

  virtual std::int32_t Position() = 0;
  virtual void SetPosition(std::int32_t value) = 0;
  virtual std::int32_t RowIndex() = 0;
  virtual void SetRowIndex(std::int32_t value) = 0;
  virtual std::int32_t Top() = 0;
  virtual void SetTop(std::int32_t value) = 0;
  virtual std::int32_t Left() = 0;
  virtual void SetLeft(std::int32_t value) = 0;
  virtual std::int32_t Width() = 0;
  virtual void SetWidth(std::int32_t value) = 0;
  virtual std::int32_t Height() = 0;
  virtual void SetHeight(std::int32_t value) = 0;
  virtual bool Visible() = 0;
  virtual void SetVisible(bool value) = 0;
};

class CommandBars {
 public:
  virtual ~CommandBars() = default;
  virtual std::shared_ptr<CommandBar> Add(const Text& name, std::int32_t position, bool menuBar,
                                          bool temporary) = 0;
  // The bar of that name; fails when there is none.
  virtual std::shared_ptr<CommandBar> Item(const Text& name) = 0;
  // The first control with that identifier, visible or not; null when there is none.
  virtual std::shared_ptr<CommandBarControl> FindControl(std::int32_t id) = 0;
};

}  // namespace host
