// What one tick of the References watch costs with many windows on the desktop: 500 top-level
// windows, the dialog among them, laid out by the tick.

#include <benchmark/benchmark.h>

#include "host/sim/builder.h"
#include "host/sim/window_tree.h"
#include "lathmore/main_module.h"

namespace {

void WatchTick(benchmark::State& state) {
  const auto windows = static_cast<int>(state.range(0));
  const bool dialogThere = state.range(1) != 0;
  auto h = host::sim::SimHostBuilder().Project(u"VBAProject", u"C:\\B.xlsm").Module(u"M").Build();
  std::size_t calls = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto tree = std::make_shared<host::sim::SimWindowTree>(h.calls);
    if (dialogThere) {
      const auto dialog = tree->AddTopLevel(
          {u"#32770", u"References - VBAProject", 1000, 0, {0, 0, 430, 330}, {3, 25}});
      for (const char16_t* caption : {u"OK", u"Cancel", u"&Browse...", u"&Help", u"", u"&U", u"&D"})
        tree->AddChild(dialog, {u"Button", caption, 0, 0, {10, 10, 50, 30}});
      for (const char16_t* caption :
           {u"Priority", u"Location:", u"C:\\x.dll", u"Language:", u"Standard"})
        tree->AddChild(dialog, {u"Static", caption, 0, 0, {10, 10, 50, 30}});
      tree->AddChild(dialog, {u"ListBox", u"", 0, 0, {10, 10, 50, 30}});
    }
    // Other programs' windows, some even of the dialog's class, in front of it.
    for (int i = 0; i < windows; ++i)
      tree->AddTopLevel({i % 5 == 0 ? u"#32770" : u"Window",
                         i % 10 == 0 ? u"References - VBAProject" : u"Other",
                         2000,
                         0,
                         {0, 0, 10, 10}});
    lathmore::MMain main(tree, std::make_shared<host::sim::SimClock>(), h.settings);
    main.EditorVBE = h.editor;
    main.StartWatch();
    h.calls->ClearLog();
    state.ResumeTiming();
    main.WatchTimerProc();
    state.PauseTiming();
    calls += h.calls->Log().size();
    state.ResumeTiming();
  }
  state.counters["host_calls"] =
      benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kAvgIterations);
}
BENCHMARK(WatchTick)->ArgsProduct({{500}, {0, 1}})->ArgNames({"windows", "dialog"});

}  // namespace
