// What Quillon's actions cost on the simulated editor: a connection, setting a bookmark, going to
// one among many projects, and the wildcard matcher at its worst. Host calls per operation are
// counted alongside the time.

#include <benchmark/benchmark.h>

#include "host/sim/builder.h"
#include "quillon/addin.h"
#include "quillon/bookmark_record.h"
#include "quillon/wildcard.h"

namespace {

using host::sim::SimHostBuilder;

quillon::Platform PlatformOf(const host::sim::SimHost& h) {
  return {h.settings, h.environment, h.sound, h.keyboard, h.messages};
}

void Report(benchmark::State& state, std::size_t calls) {
  state.counters["host_calls"] =
      benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kAvgIterations);
}

const char16_t kCode[] = u"Option Explicit\n\nSub Main()\n    x = 1\n    y = 2\nEnd Sub\n";

void Connection(benchmark::State& state) {
  auto h = SimHostBuilder().Project(u"P", u"C:\\P.xlsm").Module(u"Module1", kCode).Build();
  quillon::dsrQuillon addin(PlatformOf(h));
  std::size_t calls = 0;
  for (auto _ : state) {
    h.calls->ClearLog();
    addin.AddinInstance_OnConnection(h.editor);  // a leftover pair of bars is saved and replaced
    calls += h.calls->Log().size();
  }
  Report(state, calls);
}
BENCHMARK(Connection);

void SetBookmark(benchmark::State& state) {
  auto h = SimHostBuilder().Project(u"P", u"C:\\P.xlsm").Module(u"Module1", kCode).Build();
  quillon::dsrQuillon addin(PlatformOf(h));
  addin.AddinInstance_OnConnection(h.editor);
  const auto component = h.editor->Projects().front()->Component(u"Module1");
  component->Pane()->selection = {5, 1, 5, 1};
  const auto button = h.Control(u"Quillon", 1);
  std::size_t calls = 0;
  for (auto _ : state) {
    button->SetShown(u"Unused bookmark", {}, host::kStateUp);
    h.calls->ClearLog();
    button->Click();
    calls += h.calls->Log().size();
  }
  Report(state, calls);
}
BENCHMARK(SetBookmark);

// A bookmark in the last of `projects` open projects of 50 components each; with a re-match, the
// recorded workbook is closed and its next version is the last project.
void GoTo(benchmark::State& state) {
  const auto projects = static_cast<int>(state.range(0));
  const bool rematch = state.range(1) != 0;
  SimHostBuilder builder;
  for (int p = 1; p <= projects; ++p) {
    const auto number = host::FromUtf8(std::to_string(p));
    builder.Project(u"P" + number, u"C:\\Work\\Book" + number + u"_" +
                                       (p == projects && rematch ? u"02" : u"01") + u".xlsm");
    for (int c = 1; c <= 50; ++c)
      builder.Module(u"Module" + host::FromUtf8(std::to_string(c)), kCode);
  }
  auto h = builder.Build();
  quillon::dsrQuillon addin(PlatformOf(h));
  addin.AddinInstance_OnConnection(h.editor);
  const auto last = host::FromUtf8(std::to_string(projects));
  const host::Text record = u"Book" + last + u"_01.xlsm|Module50|Main|1";
  const auto button = h.Control(u"Quillon", 1);
  std::size_t calls = 0;
  for (auto _ : state) {
    button->SetShown(u"x", record, host::kStateDown);
    h.calls->ClearLog();
    button->Click();
    calls += h.calls->Log().size();
  }
  if (!h.messages->Shown().empty()) state.SkipWithError("the bookmark was not reached");
  Report(state, calls);
  state.SetComplexityN(projects);
}
BENCHMARK(GoTo)->ArgsProduct({{50, 100, 200}, {0, 1}})->ArgNames({"projects", "rematch"});

// Stars and a final mismatch: a backtracking matcher takes exponential time here.
void WildcardWorstCase(benchmark::State& state) {
  const auto length = static_cast<std::size_t>(state.range(0));
  host::Text pattern;
  for (std::size_t i = 0; i < 30; ++i) pattern += u"*a";
  pattern += u"b";
  const host::Text name(length, u'a');
  for (auto _ : state) benchmark::DoNotOptimize(quillon::MatchesWildcard(name, pattern));
  state.SetComplexityN(static_cast<std::int64_t>(length));
}
BENCHMARK(WildcardWorstCase)->Arg(256)->Arg(1024)->Arg(4096)->Complexity(benchmark::oN);

}  // namespace
