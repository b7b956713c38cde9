// What a scenario shows of the sandbox's state and the expectations it checks.
#include "sandbox/scenario_runner.h"

namespace sandbox::script {

std::string Runner::Describe(const host::sim::SimCommandBar& bar) const {
  auto& p = const_cast<host::sim::SimCommandBar&>(bar).Place();
  std::ostringstream s;
  s << "bar " << Quoted(bar.Name()) << ": "
    << (p.position == host::kBarFloating ? "floating" : "position " + std::to_string(p.position))
    << ", row " << p.rowIndex << ", left " << p.left << ", top " << p.top << ", " << p.width
    << " x " << p.height << ", " << (p.visible ? "visible" : "hidden") << ", "
    << bar.ControlList().size() << " controls";
  return s.str();
}

std::string Runner::DescribeReferences(const host::sim::SimProject& project) {
  std::string list;
  for (const auto& reference : project.ReferenceList()->Shown()) {
    if (!list.empty()) list += ", ";
    list += ToUtf8(reference.name);
    if (reference.type == host::kReferenceProject) {
      list += " (project)";
    } else {
      list += ' ';
      list += ToUtf8(host::DecimalVersion(reference.version));
    }
    if (reference.broken) list += " MISSING";
  }
  return list.empty() ? "none" : list;
}

void Runner::Show(const std::vector<std::string>& w) {
  Need(w, 2, "show bars|buttons <bar>|code <component>|references <project>|calls");
  if (w[1] == "bars") {
    for (const auto& bar : host_.editor->Bars()->Bars()) Tell(Describe(*bar));
  } else if (w[1] == "buttons") {
    Need(w, 3, "show buttons <bar>");
    for (const auto& c : Bar(w[2])->ControlList())
      Tell(std::string(c->BeginGroupShown() ? "| " : "  ") + Quoted(c->CaptionShown()) + ", icon " +
           std::to_string(c->FaceIdShown()) +
           (c->StateShown() == host::kStateDown ? ", pressed" : "") +
           (c->DescriptionShown().empty() ? "" : ", holding " + Quoted(c->DescriptionShown())));
  } else if (w[1] == "code") {
    Need(w, 3, "show code <component>");
    const auto component = Component(w[2]);
    const auto& code = component->Code();
    const auto& sel = component->Pane()->selection;
    for (std::size_t i = 0; i < code.size(); ++i)
      Tell(std::to_string(i + 1) + (i + 1 < 10 ? "  | " : " | ") + ToUtf8(code[i]));
    Tell("selection: line " + std::to_string(sel.startLine) + " column " +
         std::to_string(sel.startColumn) + " to line " + std::to_string(sel.endLine) + " column " +
         std::to_string(sel.endColumn));
  } else if (w[1] == "references") {
    Need(w, 3, "show references <project>");
    Tell("references of " + w[2] + ": " + DescribeReferences(*ProjectNamed(w[2])));
  } else if (w[1] == "calls") {
    for (const auto* type : AllTypes())
      Tell(std::string(type->name) + ": " + std::to_string(type->namesLookedUp) +
           " name lookups, " + std::to_string(type->invokes) + " calls");
  } else {
    throw ScriptError{"show what? " + w[1]};
  }
}

void Runner::Expect(const std::vector<std::string>& w) {
  Need(w, 2, "expect <what> ...");
  const std::string& what = w[1];
  if (what == "ok" || what == "failed") {
    const bool ok = SUCCEEDED(last_.hr);
    Check(ok == (what == "ok"),
          "the last action " + std::string(what == "ok" ? "succeeded" : "failed"),
          ok ? "success" : Hex(last_.hr) + " " + Quoted(last_.description));
  } else if (what == "bars") {
    Need(w, 3, "expect bars <count>");
    // The add-ins' own bars: the temporary ones.
    const auto& bars = host_.editor->Bars()->Bars();
    const auto count =
        std::count_if(bars.begin(), bars.end(), [](const auto& bar) { return bar->Temporary(); });
    Check(static_cast<long>(count) == Number(w[2]), "the editor has " + w[2] + " add-in bars",
          std::to_string(count));
  } else if (what == "no-bar") {
    Need(w, 3, "expect no-bar <bar>");
    Check(!host_.Bar(FromUtf8(w[2])), "there is no bar " + w[2], "one");
  } else if (what == "bar") {
    ExpectBar(w);
  } else if (what == "control") {
    ExpectControl(w);
  } else if (what == "setting" || what == "no-setting") {
    Need(w, what == "setting" ? 6 : 5, "expect setting <application> <section> <key> <value>");
    const Text key = u"HKCU\\" + host::win::SettingsKeyPath(FromUtf8(w[2]), FromUtf8(w[3]));
    const auto value = ReadRegistry(key, FromUtf8(w[4]));
    const std::string seen = value ? Quoted(*value) : "nothing";
    if (what == "setting")
      Check(value == FromUtf8(w[5]),
            w[2] + "\\" + w[3] + "\\" + w[4] + " is " + Quoted(FromUtf8(w[5])), seen);
    else
      Check(!value, "nothing stored under " + w[2] + "\\" + w[3] + "\\" + w[4], seen);
  } else if (what == "registry") {
    Need(w, 5, "expect registry <key> <name>|@ <value>");
    const auto value = ReadRegistry(FromUtf8(w[2]), w[3] == "@" ? Text() : FromUtf8(w[3]));
    Check(value == FromUtf8(w[4]), w[2] + " " + w[3] + " = " + Quoted(FromUtf8(w[4])),
          value ? Quoted(*value) : "nothing");
  } else if (what == "registry-type") {
    Need(w, 5, "expect registry-type <key> <name>|@ <type>");
    const auto type = RegistryValueType(FromUtf8(w[2]), w[3] == "@" ? Text() : FromUtf8(w[3]));
    Check(type == w[4], w[2] + " " + w[3] + " is a " + w[4], type.value_or("nothing"));
  } else if (what == "no-key") {
    Need(w, 3, "expect no-key <key>");
    Check(!RegistryKeyExists(FromUtf8(w[2])), "no key " + w[2], "the key");
  } else if (what == "unloadable") {
    Need(w, 3, "expect unloadable <dll>");
    HMODULE module = GetModuleHandleW(host::win::Wide(FromUtf8(w[2])));
    auto* canUnload = module ? reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(
                                   GetProcAddress(module, "DllCanUnloadNow")))
                             : nullptr;
    if (!canUnload) throw ScriptError{w[2] + " is not loaded"};
    const HRESULT hr = canUnload();
    Check(hr == S_OK, w[2] + " can unload now", Hex(hr));
  } else if (what == "loaded" || what == "not-loaded") {
    Need(w, 3, "expect [not-]loaded <dll>");
    const bool loaded = GetModuleHandleW(host::win::Wide(FromUtf8(w[2]))) != nullptr;
    Check(loaded == (what == "loaded"), w[2] + (what == "loaded" ? " is loaded" : " is unloaded"),
          loaded ? "loaded" : "unloaded");
  } else if (what == "sinks") {
    Need(w, 3, "expect sinks <count>");
    Check(sinksReached_ == Number(w[2]), "the click reached " + w[2] + " event sink(s)",
          std::to_string(sinksReached_));
  } else if (what == "description") {
    Need(w, 3, "expect description <text>");
    Check(last_.description == FromUtf8(w[2]), "the failure says " + Quoted(FromUtf8(w[2])),
          Quoted(last_.description));
  } else if (what == "version-info") {
    Need(w, 5, "expect version-info <dll> <name> <value>");
    const auto value = VersionText(DllPath(w[2]), FromUtf8(w[3]));
    Check(value == FromUtf8(w[4]), w[2] + " version text " + w[3] + " = " + Quoted(FromUtf8(w[4])),
          value ? Quoted(*value) : "nothing");
  } else if (what == "message") {
    Need(w, 3, "expect message <text>");
    ExpectMessageBox(u"Quillon", FromUtf8(w[2]), nullptr);
  } else if (what == "lathmore-message") {
    Need(w, 3, "expect lathmore-message <text>");
    ExpectMessageBox(u"Lathmore", FromUtf8(w[2]), keyboard_.EditorMainWindow());
  } else if (what == "references") {
    Need(w, 4, "expect references <project> \"<name> <major>.<minor>[ MISSING], ...\"|none");
    const auto seen = DescribeReferences(*ProjectNamed(w[2]));
    Check(seen == w[3], w[2] + " refers to " + w[3], seen);
  } else if (what == "menu") {
    ExpectMenu(w);
  } else if (what == "no-message") {
    Check(messages_.empty(), "no message box", std::to_string(messages_.size()));
  } else if (what == "sound") {
    Need(w, 3, "expect sound <file>");
    Check(sounds_.size() == 1 && sounds_[0] == w[2], "the sound " + w[2],
          sounds_.empty() ? "none" : sounds_[0] + (sounds_.size() > 1 ? " and more" : ""));
  } else if (what == "no-sound") {
    Check(sounds_.empty(), "no sound", sounds_.empty() ? "" : sounds_[0]);
  } else if (what == "line") {
    Need(w, 5, "expect line <component> <number> <text>");
    const auto& code = Component(w[2])->Code();
    const long n = Number(w[3]);
    const bool present = n >= 1 && static_cast<std::size_t>(n) <= code.size();
    const Text seen = present ? code[static_cast<std::size_t>(n - 1)] : Text();
    Check(present && seen == FromUtf8(w[4]), w[2] + " line " + w[3] + " " + Quoted(FromUtf8(w[4])),
          present ? Quoted(seen) : "no such line");
  } else if (what == "line-count") {
    Need(w, 4, "expect line-count <component> <count>");
    const auto count = Component(w[2])->Code().size();
    Check(static_cast<long>(count) == Number(w[3]), w[2] + " has " + w[3] + " lines",
          std::to_string(count));
  } else if (what == "selection") {
    Need(w, 7, "expect selection <component> <start line> <start column> <end line> <end column>");
    const auto& sel = Component(w[2])->Pane()->selection;
    const host::Selection wanted{Whole(w[3]), Whole(w[4]), Whole(w[5]), Whole(w[6])};
    Check(sel == wanted, w[2] + " selection " + w[3] + "," + w[4] + " to " + w[5] + "," + w[6],
          std::to_string(sel.startLine) + "," + std::to_string(sel.startColumn) + " to " +
              std::to_string(sel.endLine) + "," + std::to_string(sel.endColumn));
  } else if (what == "active") {
    Need(w, 3, "expect active <component>");
    Check(host_.editor->ActivePane() == Component(w[2])->Pane(), "the caret is in " + w[2],
          "another pane");
  } else if (what == "window") {
    Need(w, 3, "expect window code|designer");
    const auto type = host::Ignore([&] { return host_.editor->ActiveWindow()->Type(); });
    const std::int32_t wanted = w[2] == "designer" ? host::kDesignerWindow : host::kCodeWindow;
    Check(type == wanted, "the active window is a " + w[2] + " window",
          type ? (*type == host::kDesignerWindow ? "a designer" : "a code window") : "no window");
  } else if (what == "received") {
    Need(w, 4, "expect received <window> <keys>");
    const auto found = received_.find(w[2]);
    const std::string seen = found == received_.end() ? "" : found->second;
    Check(seen == w[3], "the " + w[2] + " window received " + (w[3].empty() ? "no key" : w[3]),
          seen.empty() ? "no key" : seen);
  } else if (what == "soak-growth") {
    Need(w, 5, "expect soak-growth <objects> <handles> <kilobytes>");
    const long objects = soakAfter_.objects - soakBefore_.objects;
    const long handles = static_cast<long>(soakAfter_.slot) - static_cast<long>(soakBefore_.slot);
    const long kilobytes =
        (static_cast<long>(soakAfter_.bytes) - static_cast<long>(soakBefore_.bytes)) / 1024;
    Check(objects <= Number(w[2]) && handles <= Number(w[3]) && kilobytes <= Number(w[4]),
          "growth at most " + w[2] + " objects, " + w[3] + " handle slots, " + w[4] + " KB",
          std::to_string(objects) + " objects, " + std::to_string(handles) + " handle slots, " +
              std::to_string(kilobytes) + " KB");
  } else if (what == "objects") {
    Need(w, 3, "expect objects <count>");
    Check(host::win::Module::Count() == Number(w[2]), w[2] + " sandbox objects alive",
          std::to_string(host::win::Module::Count()));
  } else if (what == "timer-interval") {
    Need(w, 3, "expect timer-interval <milliseconds>");
    Check(static_cast<long>(LastTimerInterval()) == Number(w[2]),
          "the add-in's timer ticks every " + w[2] + " ms", std::to_string(LastTimerInterval()));
  } else if (what == "timers") {
    Need(w, 3, "expect timers <count>");
    Check(static_cast<long>(LiveTimers()) == Number(w[2]), w[2] + " add-in timer(s) running",
          std::to_string(LiveTimers()));
  } else if (what == "dialog") {
    Need(w, 4, "expect dialog <width> <height> [in-work-area]");
    const RECT& a = dialog_.after;
    const RECT& b = dialog_.before;
    const RECT& area = dialog_.workArea;
    const long width = Number(w[2]);
    const long height = Number(w[3]);
    // In the work area: moved left and up only as far as it takes to be inside, and to its
    // left or top edge where it is larger than the work area.
    const bool inArea = w.size() > 4 && w[4] == "in-work-area";
    const long left =
        inArea ? std::max<long>(area.left, std::min<long>(b.left, area.right - width)) : b.left;
    const long top =
        inArea ? std::max<long>(area.top, std::min<long>(b.top, area.bottom - height)) : b.top;
    Check(a.right - a.left == width && a.bottom - a.top == height && a.left == left && a.top == top,
          "the dialog measures " + w[2] + " x " + w[3] +
              (inArea ? " inside the work area, moved no further than that takes"
                      : " with its top-left corner kept"),
          std::to_string(a.right - a.left) + " x " + std::to_string(a.bottom - a.top) + " at " +
              std::to_string(a.left) + ", " + std::to_string(a.top) + " (opened at " +
              std::to_string(b.left) + ", " + std::to_string(b.top) + "; work area " +
              std::to_string(area.left) + ", " + std::to_string(area.top) + " to " +
              std::to_string(area.right) + ", " + std::to_string(area.bottom) + ")");
  } else if (what == "controls-inside") {
    // Nothing cut off: every control within the client area as the dialog closed.
    const RECT& client = dialog_.clientAfter;
    std::string outside;
    for (const auto& c : dialog_.controls) {
      const RECT& r = c.after;
      if (r.left < client.left || r.top < client.top || r.right > client.right ||
          r.bottom > client.bottom)
        outside += c.name + " at " + std::to_string(r.left) + ", " + std::to_string(r.top) +
                   " to " + std::to_string(r.right) + ", " + std::to_string(r.bottom) + "; ";
    }
    Check(outside.empty(),
          "every control lies inside the client area of " + std::to_string(client.right) + " x " +
              std::to_string(client.bottom),
          outside);
  } else if (what == "dialog-as-kept") {
    // Laid out to the same size, every control of it in the same place as the kept dialog's.
    Need(w, 2, "expect dialog-as-kept");
    const auto size = [](const RECT& r) {
      return std::to_string(r.right - r.left) + " x " + std::to_string(r.bottom - r.top);
    };
    std::string differs;
    if (size(dialog_.after) != size(keptDialog_.after))
      differs += "the dialog measures " + size(dialog_.after) + "; ";
    for (const auto& c : dialog_.controls) {
      const auto kept = std::find_if(keptDialog_.controls.begin(), keptDialog_.controls.end(),
                                     [&](const ControlReport& k) { return k.name == c.name; });
      if (kept == keptDialog_.controls.end() || !EqualRect(&kept->after, &c.after))
        differs += c.name + " elsewhere; ";
    }
    if (dialog_.controls.size() != keptDialog_.controls.size()) differs += "other controls; ";
    Check(differs.empty(),
          "the dialog and its " + std::to_string(dialog_.controls.size()) +
              " controls laid out as the kept one",
          differs);
  } else if (what == "untouched") {
    Need(w, 2, "expect untouched");
    std::string changed;
    if (dialog_.laidOutAfterMs >= 0) changed += "laid out; ";
    for (const auto& c : dialog_.controls)
      if (!EqualRect(&c.before, &c.after)) changed += c.name + " moved; ";
    Check(changed.empty(), "the dialog and every control as the editor made them", changed);
  } else if (what == "laid-out-within") {
    Need(w, 3, "expect laid-out-within <milliseconds>");
    Check(
        dialog_.laidOutAfterMs >= 0 && dialog_.laidOutAfterMs <= Number(w[2]),
        "laid out within " + w[2] + " ms",
        dialog_.laidOutAfterMs < 0 ? "no layout" : std::to_string(dialog_.laidOutAfterMs) + " ms");
  } else if (what == "moved") {
    Need(w, 7, "expect moved <control> <dx> <dy> <dw> <dh>");
    const auto found = std::find_if(dialog_.controls.begin(), dialog_.controls.end(),
                                    [&](const ControlReport& c) { return c.name == w[2]; });
    if (found == dialog_.controls.end()) throw ScriptError{"the dialog has no control " + w[2]};
    const RECT& b = found->before;
    const RECT& a = found->after;
    const long seen[4] = {a.left - b.left, a.top - b.top, (a.right - a.left) - (b.right - b.left),
                          (a.bottom - a.top) - (b.bottom - b.top)};
    const bool same = seen[0] == Number(w[3]) && seen[1] == Number(w[4]) &&
                      seen[2] == Number(w[5]) && seen[3] == Number(w[6]);
    Check(same, w[2] + " moved " + w[3] + ", " + w[4] + " and grew " + w[5] + " x " + w[6],
          std::to_string(seen[0]) + ", " + std::to_string(seen[1]) + ", " +
              std::to_string(seen[2]) + " x " + std::to_string(seen[3]));
  } else if (what == "style-cleared") {
    Need(w, 4, "expect style-cleared <control> <bits>");
    const auto found = std::find_if(dialog_.controls.begin(), dialog_.controls.end(),
                                    [&](const ControlReport& c) { return c.name == w[2]; });
    if (found == dialog_.controls.end()) throw ScriptError{"the dialog has no control " + w[2]};
    const long bits = std::stol(w[3], nullptr, 0);
    Check(found->styleAfter == (found->styleBefore & ~bits), w[2] + "'s style lost exactly " + w[3],
          Hex(found->styleBefore) + " to " + Hex(found->styleAfter));
  } else if (what == "names-looked-up-once") {
    // Late binding asks for each member's DISPID once per type and keeps it; each add-in DLL
    // keeps its own.
    Need(w, 3, "expect names-looked-up-once <add-ins>");
    const long addins = Number(w[2]);
    std::string repeated;
    for (const auto* type : AllTypes())
      for (const auto& [name, count] : type->lookupsByName)
        if (count > addins)
          repeated += std::string(type->name) + "." + ToUtf8(host::win::FromWide(name)) + " " +
                      std::to_string(count) + " times; ";
    Check(repeated.empty(),
          "every member's name was asked for once per type by each of " + w[2] + " add-ins",
          repeated);
  } else if (what == "calls") {
    Need(w, 4, "expect calls <Object.Operation> <count>");
    const auto count = host_.calls->Count(w[2]);
    Check(static_cast<long>(count) == Number(w[3]), w[2] + " called " + w[3] + " times",
          std::to_string(count));
  } else {
    throw ScriptError{"expect what? " + what};
  }
}

std::optional<Text> Runner::VersionText(const Text& path, const Text& name) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(host::win::Wide(path), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<BYTE> data(size);
  if (!GetFileVersionInfoW(host::win::Wide(path), 0, size, data.data())) return std::nullopt;
  struct Translation {
    WORD language;
    WORD codePage;
  }* translation = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &length) ||
      length < sizeof(Translation))
    return std::nullopt;
  wchar_t block[64];
  swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\", translation->language,
           translation->codePage);
  wchar_t* text = nullptr;
  if (!VerQueryValueW(data.data(), host::win::Wide(host::win::FromWide(block) + name),
                      reinterpret_cast<void**>(&text), &length))
    return std::nullopt;
  return length ? host::win::FromWide(std::wstring_view(text, length - 1)) : Text();
}

void Runner::ExpectBar(const std::vector<std::string>& w) {
  Need(w, 3, "expect bar <bar> [pos N] [row N] ... [controls N]");
  const auto bar = Bar(w[2]);
  auto& p = bar->Place();
  for (std::size_t i = 3; i + 1 < w.size(); i += 2) {
    const std::string& key = w[i];
    long seen;
    long wanted;
    if (key == "visible") {
      seen = p.visible;
      wanted = Flag(w[i + 1]);
    } else {
      wanted = Number(w[i + 1]);
      seen = key == "pos"        ? p.position
             : key == "row"      ? p.rowIndex
             : key == "left"     ? p.left
             : key == "top"      ? p.top
             : key == "width"    ? p.width
             : key == "height"   ? p.height
             : key == "controls" ? static_cast<long>(bar->ControlList().size())
                                 : throw ScriptError{"unknown " + key};
    }
    Check(seen == wanted, w[2] + " " + key + " " + w[i + 1],
          key == "visible" ? (seen ? "true" : "false") : std::to_string(seen));
  }
}

void Runner::ExpectMessageBox(const Text& title, const Text& text, HWND owner) {
  const auto ownerSeen = messages_.empty() ? 0 : messages_[0].owner;
  const bool shown = messages_.size() == 1 && messages_[0].text == text &&
                     messages_[0].title == title && messages_[0].okOnly && !messages_[0].icon &&
                     (!owner || ownerSeen == reinterpret_cast<std::uintptr_t>(owner));
  Check(shown,
        "one message box " + Quoted(title) + ", OK only, no icon" +
            (owner ? ", owned by the editor's main window" : "") + ": " + Quoted(text),
        std::to_string(messages_.size()) + " message box(es)" +
            (messages_.empty()
                 ? ""
                 : ", the first " + Quoted(messages_[0].title) + " " + Quoted(messages_[0].text) +
                       (owner && ownerSeen != reinterpret_cast<std::uintptr_t>(owner)
                            ? ", owned by another window"
                            : "")));
}

void Runner::ExpectMenu(const std::vector<std::string>& w) {
  Need(w, 3, "expect menu <bar> \"<caption>\"...");
  std::string wanted;
  for (std::size_t i = 3; i < w.size(); ++i) wanted += (i > 3 ? ", " : "") + Quoted(FromUtf8(w[i]));
  std::string seen;
  for (const auto& control : Bar(w[2])->ControlList())
    seen += (seen.empty() ? "" : ", ") + Quoted(control->CaptionShown());
  Check(seen == wanted, w[2] + " holds " + (wanted.empty() ? "nothing" : wanted),
        seen.empty() ? "nothing" : seen);
}

void Runner::ExpectControl(const std::vector<std::string>& w) {
  Need(w, 4,
       "expect control <bar> <index> [caption T] [description T] [tooltip T] [faceid N] [group B] "
       "[state N] [temporary B]");
  const auto c = Control(w[2], w[3]);
  const std::string which = w[2] + " " + w[3];
  for (std::size_t i = 4; i + 1 < w.size(); i += 2) {
    const std::string& key = w[i];
    const std::string& value = w[i + 1];
    if (key == "caption")
      Check(c->CaptionShown() == FromUtf8(value), which + " caption " + Quoted(FromUtf8(value)),
            Quoted(c->CaptionShown()));
    else if (key == "description")
      Check(c->DescriptionShown() == FromUtf8(value),
            which + " description " + Quoted(FromUtf8(value)), Quoted(c->DescriptionShown()));
    else if (key == "tooltip")
      Check(c->TooltipShown() == FromUtf8(value), which + " tooltip " + Quoted(FromUtf8(value)),
            Quoted(c->TooltipShown()));
    else if (key == "faceid")
      Check(c->FaceIdShown() == Number(value), which + " icon " + value,
            std::to_string(c->FaceIdShown()));
    else if (key == "group")
      Check(c->BeginGroupShown() == Flag(value), which + " starts a group: " + value,
            c->BeginGroupShown() ? "true" : "false");
    else if (key == "state")
      Check(c->StateShown() == Number(value), which + " state " + value,
            std::to_string(c->StateShown()));
    else if (key == "temporary")
      Check(c->temporary == Flag(value), which + " is for this session only: " + value,
            c->temporary ? "true" : "false");
    else
      throw ScriptError{"unknown control property " + key};
  }
}

}  // namespace sandbox::script
