// The converter's work per Convert command: building the unit table from the
// built-in catalogue, proposing a quantity from the selection (a short one,
// and a megabyte of text after the number), and one conversion.
#include <benchmark/benchmark.h>

#include <string>

#include "catalogue/catalogue_parser.h"
#include "catalogue/site_catalogue.h"
#include "compiled_in_files.h"
#include "resource_ids.h"
#include "text/windows_1252.h"
#include "units/quantity.h"
#include "units/unit_table.h"

namespace {

const qm::SiteCatalogue& BuiltInUnitSections() {
  static const qm::SiteCatalogue catalogue = [] {
    qm::SiteCatalogue c;
    qm::ParseCatalogue(
        std::string(qm::CompiledInFile(IDR_DEFAULT_CATALOGUE)), "UNIT:", c);
    return c;
  }();
  return catalogue;
}

const qm::UnitTable& BuiltInUnits() {
  static const qm::UnitTable table = [] {
    qm::UnitTable t;
    qm::BuildUnitTable(BuiltInUnitSections(), t);
    return t;
  }();
  return table;
}

std::size_t UnitCount(const qm::UnitTable& table) {
  std::size_t units = 0;
  for (const auto& [name, category] : table.categories()) units += category.units.size();
  return units;
}

// The table alone, from sections parsed beforehand.
void BM_BuildUnitTable(benchmark::State& state) {
  const qm::SiteCatalogue& catalogue = BuiltInUnitSections();
  std::size_t units = 0;
  for (auto _ : state) {
    qm::UnitTable table;
    qm::BuildUnitTable(catalogue, table);
    units = UnitCount(table);
    benchmark::DoNotOptimize(units);
  }
  state.counters["units"] = static_cast<double>(units);
}
BENCHMARK(BM_BuildUnitTable);

// What the Convert command does before its dialog when there is no user
// file: parse the built-in catalogue for "UNIT:", then build the table.
void BM_ParseCatalogueAndBuildUnitTable(benchmark::State& state) {
  const std::string text(qm::CompiledInFile(IDR_DEFAULT_CATALOGUE));
  for (auto _ : state) {
    qm::SiteCatalogue catalogue;
    qm::ParseCatalogue(text, "UNIT:", catalogue);
    qm::UnitTable table;
    qm::BuildUnitTable(catalogue, table);
    benchmark::DoNotOptimize(table.names().size());
  }
}
BENCHMARK(BM_ParseCatalogueAndBuildUnitTable);

void BM_ParseQuantity(benchmark::State& state, std::u16string selection) {
  const qm::UnitTable& table = BuiltInUnits();
  const qm::Windows1252CodePage code_page;
  for (auto _ : state) {
    qm::ParsedQuantity q = qm::ParseQuantity(selection, table, code_page);
    benchmark::DoNotOptimize(q.unit);
    benchmark::DoNotOptimize(q.amount.data());
  }
  state.counters["characters"] = static_cast<double>(selection.size());
}
BENCHMARK_CAPTURE(BM_ParseQuantity, short_km, std::u16string(u"12.5 km"));
BENCHMARK_CAPTURE(BM_ParseQuantity, one_megabyte_of_letters,
                  u"12 " + std::u16string(1 << 20, u'k'))
    ->Unit(benchmark::kMicrosecond);
// A name that runs on into a longer word: every candidate length is
// refused by the byte after it.
BENCHMARK_CAPTURE(BM_ParseQuantity, name_then_a_megabyte_word,
                  u"12 km" + std::u16string(1 << 20, u'x'))
    ->Unit(benchmark::kMicrosecond);

// Forms pages write: two parts of one amount, thousands grouped, a
// fraction; and a megabyte of grouped thousands, or of text without a digit.
BENCHMARK_CAPTURE(BM_ParseQuantity, feet_and_inches, std::u16string(u"6 ft 2 in"));
BENCHMARK_CAPTURE(BM_ParseQuantity, grouped_km, std::u16string(u"1,234.5 km"));
BENCHMARK_CAPTURE(BM_ParseQuantity, fraction_lb, std::u16string(u"3 1/2 lb"));
BENCHMARK_CAPTURE(BM_ParseQuantity, one_megabyte_of_groups, [] {
  std::u16string text = u"1";
  while (text.size() < (1u << 20)) text += u",000";
  return text + u" km";
}())->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ParseQuantity, one_megabyte_without_digits,
                  std::u16string(1 << 20, u'x'))
    ->Unit(benchmark::kMicrosecond);

void BM_ConvertQuantity(benchmark::State& state) {
  const qm::UnitTable& table = BuiltInUnits();
  const qm::Windows1252CodePage code_page;
  const qm::Unit& from = *table.FindName("kilometres");
  const qm::Unit& to = *table.FindName("miles");
  for (auto _ : state) {
    qm::Conversion c = qm::ConvertQuantity("12.5", from, to, code_page);
    benchmark::DoNotOptimize(c.result.data());
  }
}
BENCHMARK(BM_ConvertQuantity);

}  // namespace
