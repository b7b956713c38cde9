// What a keystroke costs Quillon's key hook on the simulated editor: one that is no shortcut (most
// of what a user types), a shortcut's key outside the editor (passed on after the focus check),
// and a shortcut that acts (Ctrl+1 going to a bookmark); and a connection with keys. Host calls
// per keystroke alongside.

#include <benchmark/benchmark.h>

#include "host/sim/builder.h"
#include "host/sim/window_tree.h"
#include "quillon/addin.h"

namespace {

const char16_t kCode[] = u"Option Explicit\n\nSub Main()\n    x = 1\n    y = 2\nEnd Sub\n";

struct Keyed {
  Keyed()
      : h(host::sim::SimHostBuilder()
              .Project(u"P", u"C:\\P.xlsm")
              .Module(u"Module1", kCode)
              .Build()),
        windows(std::make_shared<host::sim::SimWindowTree>(h.calls)),
        addin(quillon::Platform{h.settings, h.environment, h.sound, h.keyboard, h.messages,
                                windows}) {
    main = windows->AddTopLevel({u"wndclass_desked_gsk", u"Microsoft Visual Basic"});
    code = windows->AddChild(windows->AddChild(main, {u"MDIClient", u""}),
                             {u"VbaWindow", u"Module1 (Code)"});
    host = windows->AddTopLevel({u"XLMAIN", u"Book1 - Excel"});
    h.editor->SetMainWindow(main);
    windows->Focus(code);
    addin.AddinInstance_OnConnection(h.editor);
    const auto component = h.editor->Projects().front()->Component(u"Module1");
    h.editor->SelectComponent(component);
    component->ShowCode();
    component->Pane()->selection = {5, 1, 5, 1};
    h.Control(u"Quillon", 1)->Click();  // a bookmark for Ctrl+1 to go to
  }
  // Key-down and key-up of the key; the host calls they made.
  std::size_t Stroke(std::int32_t key, bool ctrl) {
    h.keyboard->ctrlDown = ctrl;
    h.calls->ClearLog();
    windows->Key({key, true, false});
    windows->Key({key, false, false});
    h.keyboard->ctrlDown = false;
    return h.calls->Log().size();
  }
  host::sim::SimHost h;
  std::shared_ptr<host::sim::SimWindowTree> windows;
  quillon::dsrQuillon addin;
  host::WindowHandle main = 0;
  host::WindowHandle code = 0;
  host::WindowHandle host = 0;
};

void Report(benchmark::State& state, std::size_t calls) {
  state.counters["host_calls"] =
      benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kAvgIterations);
}

void KeystrokeNotAShortcut(benchmark::State& state) {
  Keyed k;
  std::size_t calls = 0;
  for (auto _ : state) calls += k.Stroke('E', false);
  Report(state, calls);
}
BENCHMARK(KeystrokeNotAShortcut);

void ShortcutOutsideTheEditor(benchmark::State& state) {
  Keyed k;
  k.windows->Focus(k.host);
  std::size_t calls = 0;
  for (auto _ : state) calls += k.Stroke('1', true);
  Report(state, calls);
}
BENCHMARK(ShortcutOutsideTheEditor);

void ShortcutGoesToABookmark(benchmark::State& state) {
  Keyed k;
  std::size_t calls = 0;
  for (auto _ : state) calls += k.Stroke('1', true);
  Report(state, calls);
}
BENCHMARK(ShortcutGoesToABookmark);

// The connection with keys: their ten values read, the main window asked, the hook set.
void ConnectionWithKeys(benchmark::State& state) {
  Keyed k;
  std::size_t calls = 0;
  for (auto _ : state) {
    k.h.calls->ClearLog();
    k.addin.AddinInstance_OnConnection(k.h.editor);
    calls += k.h.calls->Log().size();
  }
  Report(state, calls);
}
BENCHMARK(ConnectionWithKeys);

}  // namespace
