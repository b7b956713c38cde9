// What a capture and a paste over a selection of the same size cost on the simulated editor as the
// selection grows, in time and in host calls per operation.

#include <benchmark/benchmark.h>

#include "host/sim/builder.h"
#include "quillon/addin.h"
#include "quillon/entry_points.h"

namespace {

using host::sim::SimHostBuilder;

struct Bench {
  explicit Bench(std::int32_t lines)
      : host(Built(lines)),
        addin({host.settings, host.environment, host.sound, host.keyboard, host.messages}) {
    addin.AddinInstance_OnConnection(host.editor);
    module = host.editor->Projects().front()->Component(u"Big");
    target = host.editor->Projects().front()->Component(u"Small");
  }
  static host::sim::SimHost Built(std::int32_t lines) {
    host::Text code;
    for (std::int32_t i = 1; i <= lines; ++i)
      code +=
          u"    total = total + " + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + u"\n";
    return SimHostBuilder()
        .Project(u"P", u"C:\\P.xlsm")
        .Module(u"Small", u"Sub S()\nEnd Sub")
        .Module(u"Big", code)
        .Build();
  }
  // The user selects the whole module of `lines` lines.
  void SelectAll(std::int32_t lines) {
    host.editor->SelectComponent(module);
    module->ShowCode();
    module->Pane()->selection = {1, 1, lines, 30};
  }
  quillon::mCopyPaste& Buffers() {
    return dynamic_cast<quillon::EntryPoints&>(*addin.Actions()).CopyPaste();
  }

  host::sim::SimHost host;
  quillon::dsrQuillon addin;
  std::shared_ptr<host::sim::SimComponent> module;
  std::shared_ptr<host::sim::SimComponent> target;
};

void Capture(benchmark::State& state) {
  const auto lines = static_cast<std::int32_t>(state.range(0));
  Bench b(lines);
  const auto button = b.host.Control(u"RIDAridAviri", 1);
  b.SelectAll(lines);
  b.host.calls->ClearLog();
  for (auto _ : state) b.Buffers().CaptureSelection(button, u"Unused copy buffer");
  state.counters["host_calls"] = benchmark::Counter(static_cast<double>(b.host.calls->Log().size()),
                                                    benchmark::Counter::kAvgIterations);
  state.SetComplexityN(lines);
}

void Paste(benchmark::State& state) {
  const auto lines = static_cast<std::int32_t>(state.range(0));
  Bench b(lines);
  const auto button = b.host.Control(u"RIDAridAviri", 1);
  b.SelectAll(lines);
  b.Buffers().CaptureSelection(button, u"Unused copy buffer");
  std::vector<host::Text> lines_of_target(static_cast<std::size_t>(lines) + 2, u"    old = 1");
  lines_of_target.front() = u"Sub S()";
  lines_of_target.back() = u"End Sub";
  std::size_t calls = 0;
  for (auto _ : state) {
    state.PauseTiming();
    // A fresh target module each time, the same number of lines selected in it.
    b.target->Code() = lines_of_target;
    b.host.editor->SelectComponent(b.target);
    b.target->ShowCode();
    b.target->Pane()->selection = {2, 1, lines + 1, 30};
    b.host.calls->ClearLog();
    state.ResumeTiming();
    b.Buffers().PasteBuffer(button);
    calls += b.host.calls->Log().size();
  }
  state.counters["host_calls"] =
      benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kAvgIterations);
  state.SetComplexityN(lines);
}

BENCHMARK(Capture)->Arg(10)->Arg(1000)->Arg(10000)->Complexity();
BENCHMARK(Paste)->Arg(10)->Arg(1000)->Arg(10000)->Complexity();

}  // namespace
