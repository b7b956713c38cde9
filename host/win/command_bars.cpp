#include "host/win/command_bars.h"

#include "host/error.h"
#include "host/win/dispatch.h"
#include "host/win/editor_guids.h"
#include "host/win/event_sink.h"

namespace host::win {

namespace {

std::shared_ptr<CommandBar> WrapBar(ComPtr<IDispatch> object);

class WinControl : public CommandBarButton, public std::enable_shared_from_this<WinControl> {
 public:
  explicit WinControl(ComPtr<IDispatch> object) : d_(std::move(object), cache_) {}

  std::shared_ptr<CommandBarButton> AsButton() override {
    ComPtr<IUnknown> button;
    if (d_.Object()->QueryInterface(kIidCommandBarButton, button.PutVoid()) != S_OK)
      throw HostError(E_NOINTERFACE, u"The control is not a command-bar button.");
    return shared_from_this();
  }
  Text Caption() override {
    auto v = d_.Get(L"Caption");
    return ToText(v);
  }
  void SetCaption(const Text& value) override { d_.Put(L"Caption", Variant::Text(value)); }
  Text DescriptionText() override {
    auto v = d_.Get(L"DescriptionText");
    return ToText(v);
  }
  void SetDescriptionText(const Text& value) override {
    d_.Put(L"DescriptionText", Variant::Text(value));
  }
  Text TooltipText() override {
    auto v = d_.Get(L"TooltipText");
    return ToText(v);
  }
  void SetTooltipText(const Text& value) override { d_.Put(L"TooltipText", Variant::Text(value)); }
  bool BeginGroup() override {
    auto v = d_.Get(L"BeginGroup");
    return ToBool(v);
  }
  void SetBeginGroup(bool value) override { d_.Put(L"BeginGroup", Variant::Bool(value)); }
  std::int32_t Index() override {
    auto v = d_.Get(L"Index");
    return ToInt32(v);
  }
  std::shared_ptr<CommandBar> Parent() override {
    auto v = d_.Get(L"Parent");
    return WrapBar(ToObject(v, L"CommandBarControl.Parent"));
  }
  void Delete() override { d_.Call(L"Delete"); }
  std::int32_t FaceId() override {
    auto v = d_.Get(L"FaceId");
    return ToInt32(v);
  }
  void SetFaceId(std::int32_t value) override { d_.Put(L"FaceId", Variant::Int(value)); }
  std::int32_t State() override {
    auto v = d_.Get(L"State");
    return ToInt32(v);
  }
  void SetState(std::int32_t value) override { d_.Put(L"State", Variant::Int(value)); }

  std::unique_ptr<EventConnection> AdviseClick(ButtonClickHandler handler) override {
    return AdviseEvents(*d_.Object(), kDiidCommandBarButtonEvents,
                        [handler = std::move(handler)](DISPID member, DISPPARAMS& params) {
                          if (member != kDispidClick || params.cArgs != 2) return;
                          auto* cancelArg = ByRefBool(params.rgvarg[0]);
                          auto object = ObjectArgument(params.rgvarg[1]);
                          if (!object) throw HostError(E_INVALIDARG, u"Click without a button.");
                          auto ctrl = WrapControl(std::move(object))->AsButton();
                          bool cancel = cancelArg && *cancelArg != VARIANT_FALSE;
                          handler(ctrl, cancel);
                          if (cancelArg && cancel != (*cancelArg != VARIANT_FALSE))
                            *cancelArg = cancel ? VARIANT_TRUE : VARIANT_FALSE;
                        });
  }

  IDispatch* Object() const { return d_.Object(); }

 private:
  static inline DispidCache cache_;
  Dispatch d_;
};

class WinControls : public CommandBarControls {
 public:
  explicit WinControls(ComPtr<IDispatch> object) : d_(std::move(object), cache_) {}

  std::shared_ptr<CommandBarControl> Add(std::int32_t type, std::int32_t id) override {
    auto v = d_.Call(L"Add", Args(Variant::Int(type), Variant::Int(id)));
    return WrapControl(ToObject(v, L"Controls.Add"));
  }
  std::shared_ptr<CommandBarControl> Add(std::int32_t type, std::int32_t id,
                                         std::optional<std::int32_t> before,
                                         bool temporary) override {
    auto v = d_.Call(
        L"Add",
        Args(Variant::Int(type), Variant::Int(id), Variant::Missing() /* Parameter */,
             before ? Variant::Int(*before) : Variant::Missing(), Variant::Bool(temporary)));
    return WrapControl(ToObject(v, L"Controls.Add"));
  }
  std::int32_t Count() override {
    auto v = d_.Get(L"Count");
    return ToInt32(v);
  }
  std::shared_ptr<CommandBarControl> Item(std::int32_t index) override {
    auto v = d_.Get(L"Item", Args(Variant::Int(index)));
    return WrapControl(ToObject(v, L"Controls.Item"));
  }

 private:
  static inline DispidCache cache_;
  Dispatch d_;
};

class WinBar : public CommandBar {
 public:
  explicit WinBar(ComPtr<IDispatch> object) : d_(std::move(object), cache_) {}

  std::shared_ptr<CommandBarControls> Controls() override {
    auto v = d_.Get(L"Controls");
    return std::make_shared<WinControls>(ToObject(v, L"CommandBar.Controls"));
  }
  void Delete() override { d_.Call(L"Delete"); }
  std::int32_t Position() override { return Number(L"Position"); }
  void SetPosition(std::int32_t value) override { d_.Put(L"Position", Variant::Int(value)); }
  std::int32_t RowIndex() override { return Number(L"RowIndex"); }
  void SetRowIndex(std::int32_t value) override { d_.Put(L"RowIndex", Variant::Int(value)); }
  std::int32_t Top() override { return Number(L"Top"); }
  void SetTop(std::int32_t value) override { d_.Put(L"Top", Variant::Int(value)); }
  std::int32_t Left() override { return Number(L"Left"); }
  void SetLeft(std::int32_t value) override { d_.Put(L"Left", Variant::Int(value)); }
  std::int32_t Width() override { return Number(L"Width"); }
  void SetWidth(std::int32_t value) override { d_.Put(L"Width", Variant::Int(value)); }
  std::int32_t Height() override { return Number(L"Height"); }
  void SetHeight(std::int32_t value) override { d_.Put(L"Height", Variant::Int(value)); }
  bool Visible() override {
    auto v = d_.Get(L"Visible");
    return ToBool(v);
  }
  void SetVisible(bool value) override { d_.Put(L"Visible", Variant::Bool(value)); }

 private:
  std::int32_t Number(const wchar_t* member) {
    auto v = d_.Get(member);
    return ToInt32(v);
  }
  static inline DispidCache cache_;
  Dispatch d_;
};

class WinBars : public CommandBars {
 public:
  explicit WinBars(ComPtr<IDispatch> object) : d_(std::move(object), cache_) {}

  std::shared_ptr<CommandBar> Add(const Text& name, std::int32_t position, bool menuBar,
                                  bool temporary) override {
    auto v = d_.Call(L"Add", Args(Variant::Text(name), Variant::Int(position),
                                  Variant::Bool(menuBar), Variant::Bool(temporary)));
    return std::make_shared<WinBar>(ToObject(v, L"CommandBars.Add"));
  }
  std::shared_ptr<CommandBar> Item(const Text& name) override {
    auto v = d_.Get(L"Item", Args(Variant::Text(name)));
    return std::make_shared<WinBar>(ToObject(v, L"CommandBars.Item"));
  }
  std::shared_ptr<CommandBarControl> FindControl(std::int32_t id) override {
    auto v = d_.Call(L"FindControl", Args(Variant::Missing() /* Type */, Variant::Int(id)));
    auto object = ToObjectOrNull(v);
    return object ? WrapControl(std::move(object)) : nullptr;
  }

 private:
  static inline DispidCache cache_;
  Dispatch d_;
};

std::shared_ptr<CommandBar> WrapBar(ComPtr<IDispatch> object) {
  return std::make_shared<WinBar>(std::move(object));
}

}  // namespace

std::shared_ptr<CommandBars> WrapCommandBars(ComPtr<IDispatch> object) {
  return std::make_shared<WinBars>(std::move(object));
}

std::shared_ptr<CommandBarControl> WrapControl(ComPtr<IDispatch> object) {
  return std::make_shared<WinControl>(std::move(object));
}

IDispatch* ControlObject(const CommandBarControl& control) {
  const auto* win = dynamic_cast<const WinControl*>(&control);
  return win ? win->Object() : nullptr;
}

}  // namespace host::win
