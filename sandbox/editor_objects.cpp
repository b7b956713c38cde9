#include "sandbox/editor_objects.h"

#include <olectl.h>

#include <algorithm>

#include "host/error.h"
#include "host/sim/command_bars.h"
#include "host/win/editor_guids.h"
#include "host/win/event_sink.h"
#include "sandbox/connection_point.h"
#include "sandbox/dispatch_object.h"

namespace sandbox {

namespace {

using host::win::ComPtr;
using host::win::kIidCommandBarButton;
using host::win::kIidVBE;

// A type's table, made once and listed for the transcript's call counts.
TypeSpec& Registered(TypeSpec& type) {
  auto& all = AllTypes();
  if (std::find(all.begin(), all.end(), &type) == all.end()) all.push_back(&type);
  return type;
}

template <typename T, typename... Args>
ComPtr<IDispatch> Make(Args&&... args) {
  return ComPtr<IDispatch>::Adopt(static_cast<IDispatch*>(new T(std::forward<Args>(args)...)));
}

ComPtr<IDispatch> WrapControl(std::shared_ptr<host::CommandBarControl> control);
ComPtr<IDispatch> WrapBar(std::shared_ptr<host::CommandBar> bar);

// ---- editor model -----------------------------------------------------------------------------

class WindowObject final : public DispatchObject<> {
 public:
  explicit WindowObject(std::shared_ptr<host::Window> window) : window_(std::move(window)) {}

 protected:
  TypeSpec& Type() const override {
    static TypeSpec type{"Window", {{L"Type", kGet, 0, 0}}};
    return Registered(type);
  }
  void Handle(std::size_t, Kind, Call& call) override {
    call.Return(static_cast<LONG>(window_->Type()));
  }

 private:
  std::shared_ptr<host::Window> window_;
};

ComPtr<IDispatch> WrapModule(std::shared_ptr<host::CodeModule> module);

class CodePaneObject final : public DispatchObject<> {
 public:
  explicit CodePaneObject(std::shared_ptr<host::CodePane> pane) : pane_(std::move(pane)) {}

 protected:
  enum Member { GetSelection, SetSelection, CodeModule, Show };
  TypeSpec& Type() const override {
    static TypeSpec type{"CodePane",
                         {{L"GetSelection", kMethod, 4, 4},
                          {L"SetSelection", kMethod, 4, 4},
                          {L"CodeModule", kGet, 0, 0},
                          {L"Show", kMethod, 0, 0}}};
    return Registered(type);
  }
  void Handle(std::size_t index, Kind, Call& call) override {
    switch (index) {
      case GetSelection: {
        LONG* out[4] = {&call.IntOut(0), &call.IntOut(1), &call.IntOut(2), &call.IntOut(3)};
        const auto s = pane_->GetSelection();
        *out[0] = s.startLine;
        *out[1] = s.startColumn;
        *out[2] = s.endLine;
        *out[3] = s.endColumn;
        break;
      }
      case SetSelection:
        pane_->SetSelection(call.Int(0), call.Int(1), call.Int(2), call.Int(3));
        break;
      case CodeModule:
        call.Return(WrapModule(pane_->CodeModule()));
        break;
      case Show:
        pane_->Show();
        break;
    }
  }

 private:
  std::shared_ptr<host::CodePane> pane_;
};

class CodeModuleObject final : public DispatchObject<> {
 public:
  explicit CodeModuleObject(std::shared_ptr<host::CodeModule> module)
      : module_(std::move(module)) {}

 protected:
  enum Member {
    ProcOfLine,
    ProcBodyLine,
    CountOfLines,
    Lines,
    ReplaceLine,
    InsertLines,
    DeleteLines,
    CodePane
  };
  TypeSpec& Type() const override {
    static TypeSpec type{"CodeModule",
                         {{L"ProcOfLine", kGet, 2, 2},
                          {L"ProcBodyLine", kGet, 2, 2},
                          {L"CountOfLines", kGet, 0, 0},
                          {L"Lines", kGet, 2, 2},
                          {L"ReplaceLine", kMethod, 2, 2},
                          {L"InsertLines", kMethod, 2, 2},
                          {L"DeleteLines", kMethod, 1, 2},
                          {L"CodePane", kGet, 0, 0}}};
    return Registered(type);
  }
  void Handle(std::size_t index, Kind, Call& call) override {
    switch (index) {
      case ProcOfLine: {
        LONG& kind = call.IntOut(1);  // the editor hands the kind back through its argument
        const auto found = module_->ProcOfLine(call.Int(0));
        kind = static_cast<LONG>(found.kind);
        call.Return(found.name);
        break;
      }
      case ProcBodyLine:
        call.Return(static_cast<LONG>(
            module_->ProcBodyLine(call.Text(0), static_cast<host::ProcKind>(call.Int(1)))));
        break;
      case CountOfLines:
        call.Return(static_cast<LONG>(module_->CountOfLines()));
        break;
      case Lines:
        call.Return(module_->Lines(call.Int(0), call.Int(1)));
        break;
      case ReplaceLine:
        module_->ReplaceLine(call.Int(0), call.Text(1));
        break;
      case InsertLines:
        module_->InsertLines(call.Int(0), call.Text(1));
        break;
      case DeleteLines:
        module_->DeleteLines(call.Int(0), call.Given(1) ? call.Int(1) : 1);
        break;
      case CodePane:
        call.Return(Make<CodePaneObject>(module_->CodePane()));
        break;
    }
  }

 private:
  std::shared_ptr<host::CodeModule> module_;
};

ComPtr<IDispatch> WrapModule(std::shared_ptr<host::CodeModule> module) {
  return Make<CodeModuleObject>(std::move(module));
}

class ComponentObject final : public DispatchObject<> {
 public:
  explicit ComponentObject(std::shared_ptr<host::VBComponent> component)
      : component_(std::move(component)) {}

 protected:
  enum Member { Name, CodeModule, Activate };
  TypeSpec& Type() const override {
    static TypeSpec type{
        "VBComponent",
        {{L"Name", kGet, 0, 0}, {L"CodeModule", kGet, 0, 0}, {L"Activate", kMethod, 0, 0}}};
    return Registered(type);
  }
  void Handle(std::size_t index, Kind, Call& call) override {
    switch (index) {
      case Name:
        call.Return(component_->Name());
        break;
      case CodeModule:
        call.Return(WrapModule(component_->CodeModule()));
        break;
      case Activate:
        component_->Activate();
        break;
    }
  }

 private:
  std::shared_ptr<host::VBComponent> component_;
};

class ComponentsObject final : public DispatchObject<> {
 public:
  explicit ComponentsObject(std::shared_ptr<host::VBComponents> components)
      : components_(std::move(components)) {}

 protected:
  TypeSpec& Type() const override {
    static TypeSpec type{"VBComponents", {{L"Item", kMethod | kGet, 1, 1}}};
    return Registered(type);
  }
  void Handle(std::size_t, Kind, Call& call) override {
    call.Return(Make<ComponentObject>(components_->Item(call.Text(0))));
  }

 private:
  std::shared_ptr<host::VBComponents> components_;
};

class ReferenceObject final : public DispatchObject<> {
 public:
  explicit ReferenceObject(std::shared_ptr<host::Reference> reference)
      : reference_(std::move(reference)) {}

  const std::shared_ptr<host::Reference>& Reference() const { return reference_; }

 protected:
  enum Member { IsBroken, Type_, Guid, Major, Minor, Name, BuiltIn };
  TypeSpec& Type() const override {
    static TypeSpec type{"Reference",
                         {{L"IsBroken", kGet, 0, 0},
                          {L"Type", kGet, 0, 0},
                          {L"GUID", kGet, 0, 0},
                          {L"Major", kGet, 0, 0},
                          {L"Minor", kGet, 0, 0},
                          {L"Name", kGet, 0, 0},
                          {L"BuiltIn", kGet, 0, 0}}};
    return Registered(type);
  }
  void Handle(std::size_t index, Kind, Call& call) override {
    switch (index) {
      case IsBroken:
        return call.Return(reference_->IsBroken());
      case Type_:
        return call.Return(static_cast<LONG>(reference_->Type()));
      case Guid:
        return call.Return(reference_->Guid());
      case Major:
        return call.Return(static_cast<LONG>(reference_->Major()));
      case Minor:
        return call.Return(static_cast<LONG>(reference_->Minor()));
      case Name:
        return call.Return(reference_->Name());
      case BuiltIn:
        return call.Return(reference_->BuiltIn());
    }
  }

 private:
  std::shared_ptr<host::Reference> reference_;
};

class ReferencesObject final : public DispatchObject<> {
 public:
  explicit ReferencesObject(std::shared_ptr<host::References> references)
      : references_(std::move(references)) {}

 protected:
  enum Member { Count, Item, Remove, AddFromGuid };
  TypeSpec& Type() const override {
    // Remove(Reference As Reference); AddFromGuid(Guid As String, Major As Long, Minor As Long).
    static TypeSpec type{"References",
                         {{L"Count", kGet, 0, 0},
                          {L"Item", kMethod | kGet, 1, 1},
                          {L"Remove", kMethod, 1, 1},
                          {L"AddFromGuid", kMethod, 3, 3}}};
    return Registered(type);
  }
  void Handle(std::size_t index, Kind, Call& call) override {
    switch (index) {
      case Count:
        return call.Return(static_cast<LONG>(references_->Count()));
      case Item:
        return call.Return(Make<ReferenceObject>(references_->Item(call.Int(0))));
      case Remove: {
        // Only a reference object the editor handed out.
        auto* reference = dynamic_cast<ReferenceObject*>(call.Object(0));
        if (!reference) throw host::HostError(DISP_E_TYPEMISMATCH, u"Type mismatch");
        return references_->Remove(reference->Reference());
      }
      case AddFromGuid:
        return call.Return(Make<ReferenceObject>(
            references_->AddFromGuid(call.Text(0), call.Int(1), call.Int(2))));
    }
  }

 private:
  std::shared_ptr<host::References> references_;
};

class ProjectObject final : public DispatchObject<> {
 public:
  explicit ProjectObject(std::shared_ptr<host::VBProject> project) : project_(std::move(project)) {}

 protected:
  enum Member { Name, FileName, VBComponents, Protection, References };
  TypeSpec& Type() const override {
    static TypeSpec type{"VBProject",
                         {{L"Name", kGet, 0, 0},
                          {L"FileName", kGet, 0, 0},
                          {L"VBComponents", kGet, 0, 0},
                          {L"Protection", kGet, 0, 0},
                          {L"References", kGet, 0, 0}}};
    return Registered(type);
  }
  void Handle(std::size_t index, Kind, Call& call) override {
    switch (index) {
      case Name:
        call.Return(project_->Name());
        break;
      case FileName:
        call.Return(project_->FileName());
        break;
      case VBComponents:
        call.Return(Make<ComponentsObject>(project_->VBComponents()));
        break;
      case Protection:
        call.Return(static_cast<LONG>(project_->Protection()));
        break;
      case References:
        call.Return(Make<ReferencesObject>(project_->References()));
        break;
    }
  }

 private:
  std::shared_ptr<host::VBProject> project_;
};

class ProjectsObject final : public DispatchObject<> {
 public:
  explicit ProjectsObject(std::vector<std::shared_ptr<host::VBProject>> projects)
      : projects_(std::move(projects)) {}

 protected:
  enum Member { Count, Item };
  TypeSpec& Type() const override {
    static TypeSpec type{"VBProjects", {{L"Count", kGet, 0, 0}, {L"Item", kMethod | kGet, 1, 1}}};
    return Registered(type);
  }
  void Handle(std::size_t index, Kind, Call& call) override {
    if (index == Count) {
      call.Return(static_cast<LONG>(projects_.size()));
      return;
    }
    if (call.IsText(0)) {
      const auto name = call.Text(0);
      for (const auto& project : projects_)
        if (project->Name() == name) return call.Return(Make<ProjectObject>(project));
    } else {
      const LONG i = call.Int(0);
      if (i >= 1 && static_cast<std::size_t>(i) <= projects_.size())
        return call.Return(Make<ProjectObject>(projects_[static_cast<std::size_t>(i - 1)]));
    }
    throw host::HostError(DISP_E_BADINDEX, u"Subscript out of range");
  }

 private:
  std::vector<std::shared_ptr<host::VBProject>> projects_;
};

// ---- command bars -----------------------------------------------------------------------------

class CommandBarEventsObject final : public DispatchObject<IConnectionPointContainer> {
 public:
  explicit CommandBarEventsObject(std::shared_ptr<host::CommandBarEvents> source)
      : source_(std::move(source)) {}

  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (iid != host::win::kDiidCommandBarEvents) return CONNECT_E_NOCONNECTION;
    auto source = source_;
    *point = new ConnectionPoint(
        iid, ComPtr<IConnectionPointContainer>(this), [source](ComPtr<IDispatch> sink) {
          return source->AdviseClick([sink](const std::shared_ptr<host::CommandBarControl>& ctrl,
                                            bool& handled, bool& cancelDefault) {
            VARIANT_BOOL h = handled ? VARIANT_TRUE : VARIANT_FALSE;
            VARIANT_BOOL c = cancelDefault ? VARIANT_TRUE : VARIANT_FALSE;
            auto control = WrapControl(ctrl);
            ControlArgument argument(control.Get());
            std::vector<VARIANTARG> args(3);
            args[2] = argument.Get();
            args[1].vt = VT_BYREF | VT_BOOL;
            args[1].pboolVal = &h;
            args[0].vt = VT_BYREF | VT_BOOL;
            args[0].pboolVal = &c;
            RaiseOn(*sink.Get(), host::win::kDispidClick, std::move(args));
            handled = h != VARIANT_FALSE;
            cancelDefault = c != VARIANT_FALSE;
          });
        });
    return S_OK;
  }

 protected:
  TypeSpec& Type() const override {
    static TypeSpec type{"CommandBarEvents", {}};
    return Registered(type);
  }
  void Handle(std::size_t, Kind, Call&) override {}
  void* InterfaceFor(REFIID iid) override {
    if (iid == IID_IConnectionPointContainer) return static_cast<IConnectionPointContainer*>(this);
    return DispatchObject::InterfaceFor(iid);
  }

 private:
  std::shared_ptr<host::CommandBarEvents> source_;
};

class ControlObject final : public DispatchObject<IConnectionPointContainer> {
 public:
  explicit ControlObject(std::shared_ptr<host::CommandBarControl> control)
      : control_(std::move(control)),
        sim_(std::dynamic_pointer_cast<host::sim::SimControl>(control_)) {}

  const std::shared_ptr<host::CommandBarControl>& Control() const { return control_; }

  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (iid != host::win::kDiidCommandBarButtonEvents || !IsButton()) return CONNECT_E_NOCONNECTION;
    auto button = sim_;
    *point = new ConnectionPoint(
        iid, ComPtr<IConnectionPointContainer>(this), [button](ComPtr<IDispatch> sink) {
          return button->AdviseClick(
              [sink](const std::shared_ptr<host::CommandBarButton>& ctrl, bool& cancelDefault) {
                VARIANT_BOOL c = cancelDefault ? VARIANT_TRUE : VARIANT_FALSE;
                auto control = WrapControl(ctrl);
                ControlArgument argument(control.Get());
                std::vector<VARIANTARG> args(2);
                args[1] = argument.Get();
                args[0].vt = VT_BYREF | VT_BOOL;
                args[0].pboolVal = &c;
                RaiseOn(*sink.Get(), host::win::kDispidClick, std::move(args));
                cancelDefault = c != VARIANT_FALSE;
              });
        });
    return S_OK;
  }

 protected:
  enum Member {
    Caption,
    DescriptionText,
    BeginGroup,
    Index,
    FaceId,
    State,
    Id,
    TooltipText,
    Parent,
    Delete
  };
  TypeSpec& Type() const override {
    // Delete(Temporary), its argument optional.
    static TypeSpec type{"CommandBarControl",
                         {{L"Caption", kGet | kPut, 0, 0},
                          {L"DescriptionText", kGet | kPut, 0, 0},
                          {L"BeginGroup", kGet | kPut, 0, 0},
                          {L"Index", kGet, 0, 0},
                          {L"FaceId", kGet | kPut, 0, 0},
                          {L"State", kGet | kPut, 0, 0},
                          {L"Id", kGet, 0, 0},
                          {L"TooltipText", kGet | kPut, 0, 0},
                          {L"Parent", kGet, 0, 0},
                          {L"Delete", kMethod, 0, 1}}};
    return Registered(type);
  }
  void Handle(std::size_t index, Kind kind, Call& call) override {
    // The sandbox's controls are its simulated ones; the properties of buttons go through the
    // button interface the simulation gives every control, so failures planned for them still
    // apply.
    const auto button = std::static_pointer_cast<host::CommandBarButton>(sim_);
    const bool put = kind == Kind::Put;
    switch (index) {
      case Caption:
        put ? button->SetCaption(call.TextValue()) : call.Return(control_->Caption());
        break;
      case Parent:
        call.Return(WrapBar(control_->Parent()));
        break;
      case Delete:
        if (call.Given(0))
          throw host::HostError(E_NOTIMPL, u"The sandbox keeps no controls between sessions.");
        control_->Delete();
        break;
      case DescriptionText:
        put ? button->SetDescriptionText(call.TextValue()) : call.Return(button->DescriptionText());
        break;
      case BeginGroup:
        put ? button->SetBeginGroup(call.BoolValue()) : call.Return(button->BeginGroup());
        break;
      case TooltipText:
        put ? button->SetTooltipText(call.TextValue()) : call.Return(button->TooltipText());
        break;
      case Index:
        call.Return(static_cast<LONG>(control_->Index()));
        break;
      case FaceId:
        put ? button->SetFaceId(call.IntValue()) : call.Return(static_cast<LONG>(button->FaceId()));
        break;
      case State:
        put ? button->SetState(call.IntValue()) : call.Return(static_cast<LONG>(button->State()));
        break;
      case Id:
        call.Return(static_cast<LONG>(sim_->Id()));
        break;
    }
  }
  void* InterfaceFor(REFIID iid) override {
    // Only buttons answer to the button interface and its events.
    if (iid == kIidCommandBarButton) return IsButton() ? static_cast<IDispatch*>(this) : nullptr;
    if (iid == IID_IConnectionPointContainer) return static_cast<IConnectionPointContainer*>(this);
    return DispatchObject::InterfaceFor(iid);
  }

 private:
  bool IsButton() const { return sim_ && sim_->Type() == host::kControlButton; }
  std::shared_ptr<host::CommandBarControl> control_;
  std::shared_ptr<host::sim::SimControl> sim_;
};

ComPtr<IDispatch> WrapControl(std::shared_ptr<host::CommandBarControl> control) {
  if (!control) return nullptr;
  return Make<ControlObject>(std::move(control));
}

class ControlsObject final : public DispatchObject<> {
 public:
  explicit ControlsObject(std::shared_ptr<host::CommandBarControls> controls)
      : controls_(std::move(controls)) {}

 protected:
  enum Member { Add, Item, Count };
  TypeSpec& Type() const override {
    // Add(Type, Id, Parameter, Before, Temporary), all optional.
    static TypeSpec type{
        "CommandBarControls",
        {{L"Add", kMethod, 0, 5}, {L"Item", kMethod | kGet, 1, 1}, {L"Count", kGet, 0, 0}}};
    return Registered(type);
  }
  void Handle(std::size_t index, Kind, Call& call) override {
    if (index == Item) return call.Return(WrapControl(controls_->Item(call.Int(0))));
    if (index == Count) return call.Return(static_cast<LONG>(controls_->Count()));
    if (call.Given(2))
      throw host::HostError(E_NOTIMPL, u"The sandbox's controls take no parameter.");
    call.Return(WrapControl(
        controls_->Add(call.Given(0) ? call.Int(0) : host::kControlButton,
                       call.Given(1) ? call.Int(1) : host::kCustomControlId,
                       call.Given(3) ? std::optional<std::int32_t>(call.Int(3)) : std::nullopt,
                       call.Given(4) && call.Bool(4))));
  }

 private:
  std::shared_ptr<host::CommandBarControls> controls_;
};

class BarObject final : public DispatchObject<> {
 public:
  explicit BarObject(std::shared_ptr<host::CommandBar> bar) : bar_(std::move(bar)) {}

 protected:
  enum Member { Controls, Delete, Position, RowIndex, Top, Left, Width, Height, Visible };
  TypeSpec& Type() const override {
    static TypeSpec type{"CommandBar",
                         {{L"Controls", kGet, 0, 0},
                          {L"Delete", kMethod, 0, 0},
                          {L"Position", kGet | kPut, 0, 0},
                          {L"RowIndex", kGet | kPut, 0, 0},
                          {L"Top", kGet | kPut, 0, 0},
                          {L"Left", kGet | kPut, 0, 0},
                          {L"Width", kGet | kPut, 0, 0},
                          {L"Height", kGet | kPut, 0, 0},
                          {L"Visible", kGet | kPut, 0, 0}}};
    return Registered(type);
  }
  void Handle(std::size_t index, Kind kind, Call& call) override {
    using Getter = std::int32_t (host::CommandBar::*)();
    using Setter = void (host::CommandBar::*)(std::int32_t);
    static const std::pair<Getter, Setter> numbers[] = {
        {&host::CommandBar::Position, &host::CommandBar::SetPosition},
        {&host::CommandBar::RowIndex, &host::CommandBar::SetRowIndex},
        {&host::CommandBar::Top, &host::CommandBar::SetTop},
        {&host::CommandBar::Left, &host::CommandBar::SetLeft},
        {&host::CommandBar::Width, &host::CommandBar::SetWidth},
        {&host::CommandBar::Height, &host::CommandBar::SetHeight}};
    switch (index) {
      case Controls:
        return call.Return(Make<ControlsObject>(bar_->Controls()));
      case Delete:
        return bar_->Delete();
      case Visible:
        return kind == Kind::Put ? bar_->SetVisible(call.BoolValue())
                                 : call.Return(bar_->Visible());
      default: {
        const auto& [get, set] = numbers[index - Position];
        if (kind == Kind::Put) return (bar_.get()->*set)(call.IntValue());
        return call.Return(static_cast<LONG>((bar_.get()->*get)()));
      }
    }
  }

 private:
  std::shared_ptr<host::CommandBar> bar_;
};

ComPtr<IDispatch> WrapBar(std::shared_ptr<host::CommandBar> bar) {
  if (!bar) return nullptr;
  return Make<BarObject>(std::move(bar));
}

class BarsObject final : public DispatchObject<> {
 public:
  explicit BarsObject(std::shared_ptr<host::CommandBars> bars) : bars_(std::move(bars)) {}

 protected:
  enum Member { Add, Item, FindControl };
  TypeSpec& Type() const override {
    // Add(Name, Position, MenuBar, Temporary); FindControl(Type, Id, Tag, Visible, Recursive).
    static TypeSpec type{"CommandBars",
                         {{L"Add", kMethod, 0, 4},
                          {L"Item", kMethod | kGet, 1, 1},
                          {L"FindControl", kMethod, 0, 5}}};
    return Registered(type);
  }
  void Handle(std::size_t index, Kind, Call& call) override {
    switch (index) {
      case Add:
        return call.Return(Make<BarObject>(bars_->Add(call.Given(0) ? call.Text(0) : host::Text(),
                                                      call.Given(1) ? call.Int(1) : host::kBarTop,
                                                      call.Given(2) && call.Bool(2),
                                                      call.Given(3) && call.Bool(3))));
      case Item:
        return call.Return(Make<BarObject>(bars_->Item(call.Text(0))));
      case FindControl:
        for (int i : {0, 2, 3, 4})
          if (call.Given(i))
            throw host::HostError(E_NOTIMPL, u"The sandbox finds controls by Id only.");
        return call.Return(WrapControl(bars_->FindControl(call.Int(1))));
    }
  }

 private:
  std::shared_ptr<host::CommandBars> bars_;
};

class EventsObject final : public DispatchObject<> {
 public:
  explicit EventsObject(std::shared_ptr<host::Events> events) : events_(std::move(events)) {}

 protected:
  TypeSpec& Type() const override {
    static TypeSpec type{"Events", {{L"CommandBarEvents", kGet, 1, 1}}};
    return Registered(type);
  }
  void Handle(std::size_t, Kind, Call& call) override {
    // Only controls of the editor's own command bars have events.
    auto* control = dynamic_cast<ControlObject*>(call.Object(0));
    if (!control) throw host::HostError(E_INVALIDARG, u"Invalid procedure call or argument");
    call.Return(Make<CommandBarEventsObject>(events_->CommandBarEvents(control->Control())));
  }

 private:
  std::shared_ptr<host::Events> events_;
};

// The editor's main window: only its handle, which the editor gives as a Long.
class MainWindowObject final : public DispatchObject<> {
 public:
  explicit MainWindowObject(std::shared_ptr<host::sim::SimEditor> editor)
      : editor_(std::move(editor)) {}

 protected:
  TypeSpec& Type() const override {
    static TypeSpec type{"MainWindow", {{L"HWnd", kGet, 0, 0}}};
    return Registered(type);
  }
  void Handle(std::size_t, Kind, Call& call) override {
    call.Return(static_cast<LONG>(editor_->MainWindowHandle()));
  }

 private:
  std::shared_ptr<host::sim::SimEditor> editor_;
};

class VBEObject final : public DispatchObject<> {
 public:
  explicit VBEObject(std::shared_ptr<host::sim::SimEditor> editor) : editor_(std::move(editor)) {}

 protected:
  enum Member {
    Version,
    VBProjects,
    ActiveVBProject,
    SelectedVBComponent,
    ActiveWindow,
    ActiveCodePane,
    CommandBars,
    Events,
    MainWindow
  };
  TypeSpec& Type() const override {
    static TypeSpec type{"VBE",
                         {{L"Version", kGet, 0, 0},
                          {L"VBProjects", kGet, 0, 0},
                          {L"ActiveVBProject", kGet, 0, 0},
                          {L"SelectedVBComponent", kGet, 0, 0},
                          {L"ActiveWindow", kGet, 0, 0},
                          {L"ActiveCodePane", kGet, 0, 0},
                          {L"CommandBars", kGet, 0, 0},
                          {L"Events", kGet, 0, 0},
                          {L"MainWindow", kGet, 0, 0}}};
    return Registered(type);
  }
  void Handle(std::size_t index, Kind, Call& call) override {
    switch (index) {
      case Version:
        return call.Return(editor_->Version());
      case VBProjects:
        return call.Return(Make<ProjectsObject>(editor_->VBProjects()));
      case ActiveVBProject:
        return call.Return(Make<ProjectObject>(editor_->ActiveVBProject()));
      case SelectedVBComponent:
        return call.Return(Make<ComponentObject>(editor_->SelectedVBComponent()));
      case ActiveWindow:
        return call.Return(Make<WindowObject>(editor_->ActiveWindow()));
      case ActiveCodePane:
        return call.Return(Make<CodePaneObject>(editor_->ActiveCodePane()));
      case CommandBars:
        return call.Return(Make<BarsObject>(editor_->CommandBars()));
      case Events:
        return call.Return(Make<EventsObject>(editor_->Events()));
      case MainWindow:
        return call.Return(Make<MainWindowObject>(editor_));
    }
  }
  void* InterfaceFor(REFIID iid) override {
    if (iid == kIidVBE) return static_cast<IDispatch*>(this);
    return DispatchObject::InterfaceFor(iid);
  }

 private:
  std::shared_ptr<host::sim::SimEditor> editor_;
};

// An object with no members: the AddIn object, or an application that is not the editor.
class PlainObject final : public DispatchObject<> {
 protected:
  TypeSpec& Type() const override {
    static TypeSpec type{"Other", {}};
    return Registered(type);
  }
  void Handle(std::size_t, Kind, Call&) override {}
};

}  // namespace

ComPtr<IDispatch> MakeEditorObject(std::shared_ptr<host::sim::SimEditor> editor) {
  return Make<VBEObject>(std::move(editor));
}
ComPtr<IDispatch> MakeOtherApplication() { return Make<PlainObject>(); }
ComPtr<IDispatch> MakeAddInObject() { return Make<PlainObject>(); }

}  // namespace sandbox
