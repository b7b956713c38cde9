#include "host/win/editor.h"

#include "host/error.h"
#include "host/win/command_bars.h"
#include "host/win/dispatch.h"
#include "host/win/editor_guids.h"
#include "host/win/event_sink.h"

namespace host::win {

namespace {

class WinCodeModule;

class WinCodePane : public CodePane {
 public:
  explicit WinCodePane(ComPtr<IDispatch> object) : d_(std::move(object), cache_) {}

  Selection GetSelection() override {
    LONG startLine = 0, startColumn = 0, endLine = 0, endColumn = 0;
    d_.Call(L"GetSelection", Args(Variant::ByRefInt(&startLine), Variant::ByRefInt(&startColumn),
                                  Variant::ByRefInt(&endLine), Variant::ByRefInt(&endColumn)));
    return {startLine, startColumn, endLine, endColumn};
  }
  void SetSelection(std::int32_t startLine, std::int32_t startColumn, std::int32_t endLine,
                    std::int32_t endColumn) override {
    d_.Call(L"SetSelection", Args(Variant::Int(startLine), Variant::Int(startColumn),
                                  Variant::Int(endLine), Variant::Int(endColumn)));
  }
  std::shared_ptr<host::CodeModule> CodeModule() override;
  void Show() override { d_.Call(L"Show"); }

 private:
  static inline DispidCache cache_;
  Dispatch d_;
};

class WinCodeModule : public CodeModule {
 public:
  explicit WinCodeModule(ComPtr<IDispatch> object) : d_(std::move(object), cache_) {}

  ProcAtLine ProcOfLine(std::int32_t line) override {
    LONG kind = 0;
    auto v = d_.Get(L"ProcOfLine", Args(Variant::Int(line), Variant::ByRefInt(&kind)));
    return {ToText(v), static_cast<ProcKind>(kind)};
  }
  std::int32_t ProcBodyLine(const Text& procName, ProcKind kind) override {
    auto v = d_.Get(L"ProcBodyLine",
                    Args(Variant::Text(procName), Variant::Int(static_cast<LONG>(kind))));
    return ToInt32(v);
  }
  std::int32_t CountOfLines() override {
    auto v = d_.Get(L"CountOfLines");
    return ToInt32(v);
  }
  Text Lines(std::int32_t line, std::int32_t count) override {
    auto v = d_.Get(L"Lines", Args(Variant::Int(line), Variant::Int(count)));
    return ToText(v);
  }
  void ReplaceLine(std::int32_t line, const Text& text) override {
    d_.Call(L"ReplaceLine", Args(Variant::Int(line), Variant::Text(text)));
  }
  void InsertLines(std::int32_t line, const Text& text) override {
    d_.Call(L"InsertLines", Args(Variant::Int(line), Variant::Text(text)));
  }
  void DeleteLines(std::int32_t line, std::int32_t count) override {
    d_.Call(L"DeleteLines", Args(Variant::Int(line), Variant::Int(count)));
  }
  std::shared_ptr<host::CodePane> CodePane() override {
    auto v = d_.Get(L"CodePane");
    return std::make_shared<WinCodePane>(ToObject(v, L"CodeModule.CodePane"));
  }

 private:
  static inline DispidCache cache_;
  Dispatch d_;
};

std::shared_ptr<host::CodeModule> WinCodePane::CodeModule() {
  auto v = d_.Get(L"CodeModule");
  return std::make_shared<WinCodeModule>(ToObject(v, L"CodePane.CodeModule"));
}

class WinComponent : public VBComponent {
 public:
  explicit WinComponent(ComPtr<IDispatch> object) : d_(std::move(object), cache_) {}
  Text Name() override {
    auto v = d_.Get(L"Name");
    return ToText(v);
  }
  std::shared_ptr<host::CodeModule> CodeModule() override {
    auto v = d_.Get(L"CodeModule");
    return std::make_shared<WinCodeModule>(ToObject(v, L"VBComponent.CodeModule"));
  }
  void Activate() override { d_.Call(L"Activate"); }

 private:
  static inline DispidCache cache_;
  Dispatch d_;
};

class WinComponents : public VBComponents {
 public:
  explicit WinComponents(ComPtr<IDispatch> object) : d_(std::move(object), cache_) {}
  std::shared_ptr<VBComponent> Item(const Text& name) override {
    auto v = d_.Call(L"Item", Args(Variant::Text(name)));
    return std::make_shared<WinComponent>(ToObject(v, L"VBComponents.Item"));
  }

 private:
  static inline DispidCache cache_;
  Dispatch d_;
};

class WinReference : public Reference {
 public:
  explicit WinReference(ComPtr<IDispatch> object) : d_(std::move(object), cache_) {}
  bool IsBroken() override {
    auto v = d_.Get(L"IsBroken");
    return ToBool(v);
  }
  std::int32_t Type() override {
    auto v = d_.Get(L"Type");
    return ToInt32(v);
  }
  Text Guid() override {
    auto v = d_.Get(L"GUID");
    return ToText(v);
  }
  std::int32_t Major() override {
    auto v = d_.Get(L"Major");
    return ToInt32(v);
  }
  std::int32_t Minor() override {
    auto v = d_.Get(L"Minor");
    return ToInt32(v);
  }
  Text Name() override {
    auto v = d_.Get(L"Name");
    return ToText(v);
  }
  bool BuiltIn() override {
    auto v = d_.Get(L"BuiltIn");
    return ToBool(v);
  }

  IDispatch* Object() const { return d_.Object(); }

 private:
  static inline DispidCache cache_;
  Dispatch d_;
};

class WinReferences : public References {
 public:
  explicit WinReferences(ComPtr<IDispatch> object) : d_(std::move(object), cache_) {}
  std::int32_t Count() override {
    auto v = d_.Get(L"Count");
    return ToInt32(v);
  }
  std::shared_ptr<Reference> Item(std::int32_t index) override {
    auto v = d_.Call(L"Item", Args(Variant::Int(index)));
    return std::make_shared<WinReference>(ToObject(v, L"References.Item"));
  }
  void Remove(const std::shared_ptr<Reference>& reference) override {
    // The editor takes back only a reference object it handed out.
    const auto* win = dynamic_cast<const WinReference*>(reference.get());
    if (!win) throw HostError(DISP_E_TYPEMISMATCH, u"Type mismatch");
    d_.Call(L"Remove", Args(Variant::Object(win->Object())));
  }
  std::shared_ptr<Reference> AddFromGuid(const Text& guid, std::int32_t major,
                                         std::int32_t minor) override {
    auto v = d_.Call(L"AddFromGuid",
                     Args(Variant::Text(guid), Variant::Int(major), Variant::Int(minor)));
    return std::make_shared<WinReference>(ToObject(v, L"References.AddFromGuid"));
  }

 private:
  static inline DispidCache cache_;
  Dispatch d_;
};

class WinProject : public VBProject {
 public:
  explicit WinProject(ComPtr<IDispatch> object) : d_(std::move(object), cache_) {}
  Text Name() override {
    auto v = d_.Get(L"Name");
    return ToText(v);
  }
  Text FileName() override {
    auto v = d_.Get(L"FileName");
    return ToText(v);
  }
  std::shared_ptr<host::VBComponents> VBComponents() override {
    auto v = d_.Get(L"VBComponents");
    return std::make_shared<WinComponents>(ToObject(v, L"VBProject.VBComponents"));
  }
  std::int32_t Protection() override {
    auto v = d_.Get(L"Protection");
    return ToInt32(v);
  }
  std::shared_ptr<host::References> References() override {
    auto v = d_.Get(L"References");
    return std::make_shared<WinReferences>(ToObject(v, L"VBProject.References"));
  }

 private:
  static inline DispidCache cache_;
  Dispatch d_;
};

class WinProjects {
 public:
  explicit WinProjects(ComPtr<IDispatch> object) : d_(std::move(object), cache_) {}
  std::vector<std::shared_ptr<VBProject>> All() {
    auto count = d_.Get(L"Count");
    const std::int32_t n = ToInt32(count);
    std::vector<std::shared_ptr<VBProject>> projects;
    for (std::int32_t i = 1; i <= n; ++i) {
      auto v = d_.Call(L"Item", Args(Variant::Int(i)));
      projects.push_back(std::make_shared<WinProject>(ToObject(v, L"VBProjects.Item")));
    }
    return projects;
  }

 private:
  static inline DispidCache cache_;
  Dispatch d_;
};

class WinWindow : public Window {
 public:
  explicit WinWindow(ComPtr<IDispatch> object) : d_(std::move(object), cache_) {}
  std::int32_t Type() override {
    auto v = d_.Get(L"Type");
    return ToInt32(v);
  }

 private:
  static inline DispidCache cache_;
  Dispatch d_;
};

class WinCommandBarEvents : public CommandBarEvents {
 public:
  explicit WinCommandBarEvents(ComPtr<IDispatch> object) : object_(std::move(object)) {
    if (!object_) throw HostError(E_POINTER, u"Object variable or With block variable not set");
  }

  std::unique_ptr<EventConnection> AdviseClick(CommandBarClickHandler handler) override {
    return AdviseEvents(*object_.Get(), kDiidCommandBarEvents,
                        [handler = std::move(handler)](DISPID member, DISPPARAMS& params) {
                          if (member != kDispidClick || params.cArgs != 3) return;
                          auto* handledArg = ByRefBool(params.rgvarg[1]);
                          auto* cancelArg = ByRefBool(params.rgvarg[0]);
                          std::shared_ptr<CommandBarControl> ctrl;
                          if (auto object = ObjectArgument(params.rgvarg[2]))
                            ctrl = WrapControl(std::move(object));
                          bool handled = handledArg && *handledArg != VARIANT_FALSE;
                          bool cancel = cancelArg && *cancelArg != VARIANT_FALSE;
                          handler(ctrl, handled, cancel);
                          // Written back only when a handler changed them.
                          if (handledArg && handled != (*handledArg != VARIANT_FALSE))
                            *handledArg = handled ? VARIANT_TRUE : VARIANT_FALSE;
                          if (cancelArg && cancel != (*cancelArg != VARIANT_FALSE))
                            *cancelArg = cancel ? VARIANT_TRUE : VARIANT_FALSE;
                        });
  }

  IDispatch* Object() const { return object_.Get(); }

 private:
  ComPtr<IDispatch> object_;
};

class WinEvents : public Events {
 public:
  explicit WinEvents(ComPtr<IDispatch> object) : d_(std::move(object), cache_) {}
  std::shared_ptr<host::CommandBarEvents> CommandBarEvents(
      const std::shared_ptr<CommandBarControl>& control) override {
    IDispatch* object = control ? ControlObject(*control) : nullptr;
    if (!object) throw HostError(E_INVALIDARG, u"Not a control of the editor's command bars.");
    auto v = d_.Get(L"CommandBarEvents", Args(Variant::Object(object)));
    return std::make_shared<WinCommandBarEvents>(ToObject(v, L"Events.CommandBarEvents"));
  }

 private:
  static inline DispidCache cache_;
  Dispatch d_;
};

class WinVBE : public VBE {
 public:
  explicit WinVBE(ComPtr<IDispatch> object) : d_(std::move(object), cache_) {}

  Text Version() override {
    auto v = d_.Get(L"Version");
    return ToText(v);
  }
  std::vector<std::shared_ptr<VBProject>> VBProjects() override {
    return WinProjects(Object(L"VBProjects")).All();
  }
  std::shared_ptr<VBProject> ActiveVBProject() override {
    return std::make_shared<WinProject>(Object(L"ActiveVBProject"));
  }
  std::shared_ptr<VBComponent> SelectedVBComponent() override {
    return std::make_shared<WinComponent>(Object(L"SelectedVBComponent"));
  }
  std::shared_ptr<Window> ActiveWindow() override {
    return std::make_shared<WinWindow>(Object(L"ActiveWindow"));
  }
  std::shared_ptr<CodePane> ActiveCodePane() override {
    return std::make_shared<WinCodePane>(Object(L"ActiveCodePane"));
  }
  std::shared_ptr<host::CommandBars> CommandBars() override {
    return WrapCommandBars(Object(L"CommandBars"));
  }
  std::shared_ptr<host::Events> Events() override {
    return std::make_shared<WinEvents>(Object(L"Events"));
  }
  WindowHandle MainWindowHandle() override {
    Dispatch window(Object(L"MainWindow"), windowCache_);
    auto v = window.Get(L"HWnd");
    // A Long: a handle, which fits in 32 bits on 64-bit Windows too, sign-extended as the
    // system extends one.
    return static_cast<WindowHandle>(static_cast<std::intptr_t>(ToInt32(v)));
  }

 private:
  ComPtr<IDispatch> Object(const wchar_t* member) {
    auto v = d_.Get(member);
    return ToObject(v, member);
  }
  static inline DispidCache cache_;
  static inline DispidCache windowCache_;
  Dispatch d_;
};

class WinApplication : public Application {
 public:
  explicit WinApplication(ComPtr<IDispatch> object) : object_(std::move(object)) {}
  std::shared_ptr<VBE> AsVBE() override {
    ComPtr<IUnknown> vbe;
    if (!object_ || object_->QueryInterface(kIidVBE, vbe.PutVoid()) != S_OK)
      throw HostError(E_NOINTERFACE, u"The application object is not the VBA editor.");
    return std::make_shared<WinVBE>(object_);
  }

 private:
  ComPtr<IDispatch> object_;
};

}  // namespace

std::shared_ptr<Application> WrapApplication(ComPtr<IDispatch> application) {
  return std::make_shared<WinApplication>(std::move(application));
}

IDispatch* CommandBarEventsObject(const CommandBarEvents& source) {
  const auto* win = dynamic_cast<const WinCommandBarEvents*>(&source);
  return win ? win->Object() : nullptr;
}

std::shared_ptr<CommandBarEvents> WrapCommandBarEvents(ComPtr<IDispatch> source) {
  return std::make_shared<WinCommandBarEvents>(std::move(source));
}

}  // namespace host::win
