// What one click of Repair Missing References costs for a project with 60 references, 5 of them
// missing and each with three versions registered here: the editor's calls and the time.

#include <benchmark/benchmark.h>

#include <string>

#include "host/sim/builder.h"
#include "lathmore/repair_command.h"

namespace {

host::Text Guid(int n) {
  std::string digits = std::to_string(n);
  digits.insert(0, 8 - digits.size(), '0');
  return host::FromUtf8("{" + digits + "-0000-0000-C000-000000000046}");
}

void RepairClick(benchmark::State& state) {
  const int references = static_cast<int>(state.range(0));
  const int broken = static_cast<int>(state.range(1));
  std::size_t calls = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto h = host::sim::SimHostBuilder()
                 .ExistingBar(u"Tools")
                 .ExistingButton(942, u"&References...")
                 .Project(u"Budget_07", u"C:\\Work\\Budget_07.xlsm")
                 .Build();
    const auto libraries = std::make_shared<host::sim::SimTypeLibraries>(h.calls);
    h.editor->SetLibrarySource(
        {[libraries](const host::Text& guid) { return libraries->Lookup(guid); },
         host::Bitness::Win64});
    auto& list = *h.editor->Projects()[0]->ReferenceList();
    for (int i = 0; i < references; ++i) {
      const bool missing = i % (references / broken) == 0;
      for (int minor = 3; minor <= 5; ++minor)
        libraries->Register(Guid(i), {9, minor}, u"Library", u"0", host::Bitness::Win64,
                            u"C:\\L.olb");
      list.Append(
          {host::kReferenceTypeLibrary, Guid(i), {9, missing ? 6 : 5}, u"Library", missing});
    }
    lathmore::RepairCommand repair(*h.messages, *libraries, host::Bitness::Win64);
    repair.Add(*h.Control(u"Tools", 1), h.editor);
    const auto command = h.Control(u"Tools", 2);
    h.calls->ClearLog();
    state.ResumeTiming();
    command->Click();
    state.PauseTiming();
    calls += h.calls->Log().size();
    state.ResumeTiming();
  }
  state.counters["host_calls"] =
      benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kAvgIterations);
}
BENCHMARK(RepairClick)->Args({60, 5})->ArgNames({"references", "missing"});

}  // namespace
