// Catalogue parsing against a tokenising-only INI reader (inih with a handler
// that keeps nothing), on the built-in default and on a generated 10 MB
// catalogue. Our side builds the whole model and pays for copying the text
// into the string it takes over. After the run, prints our CPU time divided
// by inih's for each input.
#include <benchmark/benchmark.h>
#include <ini.h>

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue_loader.h"
#include "catalogue/catalogue_parser.h"
#include "catalogue/site_catalogue.h"
#include "catalogue/site_entries.h"
#include "compiled_in_files.h"
#include "host/memory_selection_store.h"
#include "host/module_environment.h"
#include "resource_ids.h"

#include "catalogue_generator.h"

namespace {

constexpr std::size_t kGeneratedBytes = 10u << 20;

enum Input { kDefault, kGenerated };

const std::string& InputText(Input input) {
  static const std::string built_in(
      qm::CompiledInFile(IDR_DEFAULT_CATALOGUE));
  static const std::string generated =
      qm::bench::GenerateCatalogue(kGeneratedBytes);
  return input == kDefault ? built_in : generated;
}

std::size_t KeyCount(const qm::SiteCatalogue& catalogue) {
  std::size_t keys = 0;
  catalogue.ForEachSection(
      [&](const qm::CatalogueSection& s) { keys += s.size(); });
  return keys;
}

void BM_ParseCatalogue(benchmark::State& state, Input input,
                       std::string_view prefix) {
  const std::string& text = InputText(input);
  for (auto _ : state) {
    qm::SiteCatalogue catalogue;
    qm::ParseCatalogue(std::string(text), prefix, catalogue);
    benchmark::DoNotOptimize(catalogue.size());
  }
  qm::SiteCatalogue catalogue;
  qm::ParseCatalogue(text, prefix, catalogue);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
  state.counters["sections"] = static_cast<double>(catalogue.size());
  state.counters["keys"] = static_cast<double>(KeyCount(catalogue));
}

int IgnoreEntry(void*, const char*, const char*, const char*) { return 1; }

int CountEntry(void* user, const char*, const char*, const char*) {
  ++*static_cast<std::size_t*>(user);
  return 1;
}

void BM_Inih(benchmark::State& state, Input input) {
  const std::string& text = InputText(input);  // c_str() ends in NUL
  for (auto _ : state) {
    int first_error = ini_parse_string(text.c_str(), IgnoreEntry, nullptr);
    benchmark::DoNotOptimize(first_error);
  }
  // Counted outside the timing, to show both sides saw the same key lines.
  std::size_t entries = 0;
  ini_parse_string(text.c_str(), CountEntry, &entries);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
  state.counters["keys"] = static_cast<double>(entries);
}

// Everything from the built-in data, as a host without a user file has it.
class BuiltInOnlyEnvironment final : public qm::ModuleEnvironment {
 public:
  std::string ModulePath() const override { return {}; }
  bool ReadFile(const std::string&, std::string*) const override {
    return false;
  }
  std::string_view BuiltInFile(int id) const override {
    return qm::CompiledInFile(id);
  }
};

void BM_LoadCatalogue(benchmark::State& state, std::string_view prefix) {
  const BuiltInOnlyEnvironment env;
  for (auto _ : state) {
    qm::SiteCatalogue catalogue;
    qm::LoadCatalogue(env, prefix, false, catalogue);
    benchmark::DoNotOptimize(catalogue.size());
  }
}

void BM_CollectSiteEntries(benchmark::State& state, std::string_view prefix) {
  const BuiltInOnlyEnvironment env;
  const qm::MemorySelectionStore store;
  std::size_t entries = 0;
  for (auto _ : state) {
    qm::SiteEntryList list;
    qm::CollectSiteEntries(env, store, prefix, false, list);
    entries = list.size();
    benchmark::DoNotOptimize(list.data());
  }
  state.counters["entries"] = static_cast<double>(entries);
}

BENCHMARK_CAPTURE(BM_ParseCatalogue, default/all, kDefault, "")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ParseCatalogue, default/BOOK, kDefault, "BOOK:")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Inih, default, kDefault)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ParseCatalogue, generated/all, kGenerated, "")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ParseCatalogue, generated/BOOK, kGenerated, "BOOK:")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Inih, generated, kGenerated)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadCatalogue, BOOK, "BOOK:")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CollectSiteEntries, BOOK, "BOOK:")
    ->Unit(benchmark::kMicrosecond);

// The console table as usual, plus each benchmark's CPU time per iteration
// in seconds: the median when repetitions were asked for, else the mean of
// the runs.
class RatioReporter final : public benchmark::ConsoleReporter {
 public:
  RatioReporter()
      : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      Seconds& s = seconds_[run.run_name.str()];
      const double t = run.GetAdjustedCPUTime() /
                       benchmark::GetTimeUnitMultiplier(run.time_unit);
      if (run.run_type == Run::RT_Aggregate) {
        if (run.aggregate_name == "median") s.median = t;
      } else {
        s.sum += t;
        ++s.count;
      }
    }
  }

  // Negative when the benchmark did not run.
  double SecondsOf(const std::string& name) const {
    const auto it = seconds_.find(name);
    if (it == seconds_.end()) return -1;
    if (it->second.median >= 0) return it->second.median;
    return it->second.count == 0 ? -1 : it->second.sum / it->second.count;
  }

 private:
  struct Seconds {
    double sum = 0;
    int count = 0;
    double median = -1;
  };
  std::map<std::string, Seconds> seconds_;
};

void PrintRatio(const RatioReporter& reporter, const char* ours,
                const char* theirs) {
  const double a = reporter.SecondsOf(ours);
  const double b = reporter.SecondsOf(theirs);
  if (a < 0 || b <= 0) return;
  std::printf("ratio %-32s / %-18s = %.3f%s\n", ours, theirs, a / b,
              a / b <= 1.0 ? "" : "  (slower than tokenising only)");
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  std::printf("\nCPU time of ParseCatalogue (model built, text copied) over "
              "inih (tokenising only):\n");
  PrintRatio(reporter, "BM_ParseCatalogue/default/all", "BM_Inih/default");
  PrintRatio(reporter, "BM_ParseCatalogue/default/BOOK", "BM_Inih/default");
  PrintRatio(reporter, "BM_ParseCatalogue/generated/all", "BM_Inih/generated");
  PrintRatio(reporter, "BM_ParseCatalogue/generated/BOOK", "BM_Inih/generated");
  return 0;
}
