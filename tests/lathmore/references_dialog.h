#pragma once
// The editor's References dialog as a window tree, with the controls its layout expects, in the
// editor's child order; Lathmore's module and add-in class on top of it; and the dialog as laid
// out, with where sizing it puts each control.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/sim/builder.h"
#include "host/sim/window_tree.h"
#include "lathmore/connect.h"
#include "lathmore/main_module.h"
#include "lathmore/settings_keys.h"

namespace lathmore::testing {

inline constexpr std::int32_t kLeftNoWordWrap = 0x0000000C;
inline constexpr std::int32_t kVisibleChild = 0x50000000;  // WS_CHILD | WS_VISIBLE

inline constexpr std::int32_t kDefaultPushButton = 0x1;  // BS_DEFPUSHBUTTON
inline constexpr std::int32_t kGroupBox = 0x7;           // BS_GROUPBOX

// The dialog's controls in the editor's child order, with their English captions and styles.
struct DialogControl {
  const char* name;
  const char16_t* cls;
  const char16_t* text;
  host::Rect rect;
  std::int32_t style = kVisibleChild;
};
inline const DialogControl kDialogControls[] = {
    {"list", u"ListBox", u"", {10, 30, 300, 230}},
    {"OK", u"Button", u"OK", {320, 10, 410, 33}, kVisibleChild | kDefaultPushButton},
    {"Cancel", u"Button", u"Cancel", {320, 40, 410, 63}},
    {"Browse", u"Button", u"&Browse...", {320, 80, 410, 103}},
    {"Help", u"Button", u"&Help", {320, 110, 410, 133}},
    {"frame", u"Button", u"", {10, 235, 410, 300}, kVisibleChild | kGroupBox},
    {"Up", u"Button", u"&U", {310, 140, 330, 160}},
    {"Down", u"Button", u"&D", {310, 190, 330, 210}},
    {"Priority", u"Static", u"Priority", {300, 165, 345, 180}},
    {"Location", u"Static", u"Location:", {30, 250, 80, 265}},
    {"location value",
     u"Static",
     u"C:\\Program Files\\Common Files\\VBA\\VBE7.DLL",
     {85, 250, 400, 265},
     kVisibleChild | kLeftNoWordWrap},
    {"Language", u"Static", u"Language:", {30, 270, 80, 285}},
    {"language value", u"Static", u"Standard", {85, 270, 200, 285}},
};

// How a dialog is opened: see Watch::OpenTranslatedDialog.
struct DialogOptions {
  std::uint32_t process = 1000;
  const char* without = "";  // a control left out
  std::int32_t dpi = 96;
  std::int32_t wider = 0;
  bool owned = true;
  std::uint32_t thread = 1;
  const char16_t* extraClass = nullptr;  // one more control of that class, in the list's column
  const std::map<std::string, host::Text>* captions = nullptr;
  bool reversed = false;           // its children made in the opposite order
  bool throughToolWindow = false;  // over a tool window that floats over the main window
  std::map<std::string, std::int32_t> styles;  // in place of the editor's styles
  std::map<std::string, host::Rect> places;    // in place of the editor's places
};

struct Watch {
  Watch()
      : host(host::sim::SimHostBuilder()
                 .ExistingBar(u"Menu Bar")
                 .ExistingButton(30001, u"&File")
                 .ExistingButton(942, u"&References...")
                 .Project(u"VBAProject", u"C:\\Work\\Book1.xlsm")
                 .Module(u"Module1")
                 .Build()),
        windows(std::make_shared<host::sim::SimWindowTree>(host.calls)),
        clock(std::make_shared<host::sim::SimClock>()),
        main(windows, clock, host.settings),
        libraries(std::make_shared<host::sim::SimTypeLibraries>(host.calls)),
        repair(*host.messages, *libraries, host::Bitness::Win64),
        connect(main, repair) {}

  // Opens a References dialog in front; controls named as a person would read them. `wider`
  // makes it wider than the one the fixed moves were made for, its right-hand controls and its
  // frame with it, as another Office version or UI language makes it.
  host::WindowHandle OpenDialog(const host::Text& title = u"References - VBAProject",
                                std::uint32_t process = 1000, bool withHelp = true,
                                std::int32_t dpi = 96, std::int32_t wider = 0) {
    return Open(title, {process, withHelp ? "" : "Help", dpi, wider});
  }

  // The same dialog in another display language: that title, the captions given in place of the
  // English ones, over the editor's main window unless the options say otherwise.
  host::WindowHandle OpenTranslatedDialog(const host::Text& title,
                                          const std::map<std::string, host::Text>& captions,
                                          DialogOptions options = {}) {
    options.captions = &captions;
    if (editorWindow == 0) {
      editorWindow = windows->AddTopLevel({u"wndclass_desked_gsk",
                                           u"Microsoft Visual Basic for Applications - Book1",
                                           1000,
                                           0,
                                           {0, 0, 1200, 900},
                                           {4, 30}});
      host.editor->SetMainWindow(editorWindow);
    }
    return Open(title, options);
  }

  host::WindowHandle Open(const host::Text& title, const DialogOptions& o) {
    host::sim::SimWindowInfo info{u"#32770", title, o.process, 0, {100, 80, 530 + o.wider, 410},
                                  {3, 25},   0,     o.dpi};
    info.owner = o.captions && o.owned ? editorWindow : 0;
    if (o.throughToolWindow) {
      host::sim::SimWindowInfo tool{u"wndclass_desked_gsk", u"Immediate", o.process, 0,
                                    {900, 500, 1100, 700},  {3, 20}};
      tool.owner = editorWindow;
      info.owner = windows->AddTopLevel(tool);
    }
    info.threadId = o.thread;
    const auto dialog = windows->AddTopLevel(info);
    std::vector<DialogControl> made(std::begin(kDialogControls), std::end(kDialogControls));
    if (o.reversed) std::reverse(made.begin(), made.end());
    for (auto c : made) {
      if (o.styles.count(c.name)) c.style = o.styles.at(c.name);
      if (o.places.count(c.name)) c.rect = o.places.at(c.name);
      if (std::string(c.name) == o.without) continue;
      host::Rect rect = c.rect;
      if (rect.left >= 300)
        rect = {rect.left + o.wider, rect.top, rect.right + o.wider, rect.bottom};
      if (std::string(c.name) == "frame") rect.right += o.wider;
      const host::Text text =
          o.captions && o.captions->count(c.name) ? o.captions->at(c.name) : host::Text(c.text);
      controls[c.name] = windows->AddChild(dialog, {c.cls, text, 0, 0, rect, {}, c.style});
    }
    if (o.extraClass)
      windows->AddChild(dialog, {o.extraClass, u"", 0, 0, {10, 5, 100, 25}, {}, kVisibleChild});
    return dialog;
  }

  host::Rect Client(const char* name) const { return windows->Info(controls.at(name)).rect; }

  host::sim::SimHost host;
  std::shared_ptr<host::sim::SimWindowTree> windows;
  std::shared_ptr<host::sim::SimClock> clock;
  MMain main;
  std::shared_ptr<host::sim::SimTypeLibraries> libraries;
  RepairCommand repair;
  Connect connect;
  std::map<std::string, host::WindowHandle> controls;
  host::WindowHandle editorWindow = 0;
};

// A dialog opened and laid out (720 x 470 at 100, 80 on a 96 DPI display), with every control's
// laid-out place noted.
struct LaidOut : Watch {
  explicit LaidOut(std::int32_t dpi = 96) {
    main.EditorVBE = host.editor;
    dialog = OpenDialog(u"References - VBAProject", 1000, true, dpi);
    stranger = windows->AddChild(dialog, {u"Static", u"Not the editor's", 0, 0, {5, 5, 60, 20}});
    main.StartWatch();
    windows->FireTimers();
    for (const auto& [name, handle] : controls) laidOut[name] = Client(name.c_str());
  }
  host::Rect Outer() const { return windows->Info(dialog).rect; }
  std::optional<host::Text> Kept(const char16_t* key) const {
    return host.settings->Stored(kSettingsApplication, kReferencesSection, key);
  }
  // Closes this dialog and opens and lays out the next one, with that size kept in between when
  // one is given.
  void Reopen(const char16_t* width = nullptr, const char16_t* height = nullptr,
              std::int32_t dpi = 96) {
    windows->DestroyWindow(dialog);
    if (width) host.settings->Store(kSettingsApplication, kReferencesSection, kWidthKey, width);
    if (height) host.settings->Store(kSettingsApplication, kReferencesSection, kHeightKey, height);
    controls.clear();
    dialog = OpenDialog(u"References - VBAProject", 1000, true, dpi);
    main.StartWatch();
    windows->FireTimers();
  }

  host::WindowHandle dialog = 0;
  host::WindowHandle stranger = 0;
  std::map<std::string, host::Rect> laidOut;
};

inline host::Rect Shifted(host::Rect r, std::int32_t dx, std::int32_t dy, std::int32_t dw,
                          std::int32_t dh) {
  return {r.left + dx, r.top + dy, r.right + dx + dw, r.bottom + dy + dh};
}

// Where each control belongs once the dialog is dw wider and dh taller than laid out.
inline std::map<std::string, host::Rect> Anchored(const LaidOut& d, std::int32_t dw,
                                                  std::int32_t dh) {
  std::map<std::string, host::Rect> places;
  for (const char* name : {"OK", "Cancel", "Browse", "Help", "Up", "Down", "Priority"})
    places[name] = Shifted(d.laidOut.at(name), dw, 0, 0, 0);
  for (const char* name : {"Location", "Language"})
    places[name] = Shifted(d.laidOut.at(name), 0, dh, 0, 0);
  for (const char* name : {"frame", "location value", "language value"})
    places[name] = Shifted(d.laidOut.at(name), 0, dh, dw, 0);
  places["list"] = Shifted(d.laidOut.at("list"), 0, 0, dw, dh);
  return places;
}

// Every control of the editor's dialog lies inside its client area.
inline bool EveryControlInside(const Watch& w, host::WindowHandle dialog) {
  const host::Rect client = w.windows->GetClientRect(dialog);
  bool inside = client != host::Rect{};
  for (const auto& [name, handle] : w.controls) {
    const host::Rect r = w.windows->Info(handle).rect;
    if (r.left < 0 || r.top < 0 || r.right > client.right || r.bottom > client.bottom) {
      ADD_FAILURE() << name << " is outside the client area " << client.right << " x "
                    << client.bottom << ": " << r.left << ", " << r.top << ", " << r.right << ", "
                    << r.bottom;
      inside = false;
    }
  }
  return inside;
}

inline std::map<std::string, host::Rect> Places(const Watch& d) {
  std::map<std::string, host::Rect> places;
  for (const auto& [name, handle] : d.controls) places[name] = d.Client(name.c_str());
  return places;
}

}  // namespace lathmore::testing
