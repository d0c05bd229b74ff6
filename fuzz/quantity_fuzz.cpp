// Selections against the built-in units, as a .com and as a .uk page would
// have them: the input's bytes, taken in pairs as UTF-16 units, are parsed
// as a quantity, and the amount is converted from the unit found to another
// of its category; the same units are read as a written number; the raw
// bytes are also looked up as a unit text and checked against the plain
// every-length search for a whole word. Any crash, hang or broken invariant
// is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "catalogue/catalogue_parser.h"
#include "compiled_in_files.h"
#include "resource_ids.h"
#include "text/ascii_fold.h"
#include "text/windows_1252.h"
#include "text/written_number.h"
#include "units/quantity.h"
#include "units/unit_table.h"

namespace {

qm::UnitTable BuiltInUnitsFor(std::string_view page_domain) {
  qm::SiteCatalogue catalogue;
  qm::ParseCatalogue(std::string(qm::CompiledInFile(IDR_DEFAULT_CATALOGUE)),
                     "UNIT:", catalogue);
  qm::UnitTable t;
  qm::BuildUnitTable(catalogue, t, page_domain);
  return t;
}

const qm::UnitTable& BuiltInUnits(bool british_page) {
  static const qm::UnitTable elsewhere = BuiltInUnitsFor("com");
  static const qm::UnitTable british = BuiltInUnitsFor("uk");
  return british_page ? british : elsewhere;
}

const qm::Unit* EveryLength(const qm::UnitTable& table, std::string_view text) {
  const std::string folded = qm::FoldAsciiCopy(text);
  for (std::size_t n = text.size(); n > 0; --n) {
    if (!qm::EndsAWord(text, n)) continue;
    if (const qm::Unit* u = table.FindName(text.substr(0, n))) return u;
    if (const qm::Unit* u = table.FindName(std::string_view(folded).substr(0, n))) {
      return u;
    }
  }
  return nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const qm::UnitTable& table = BuiltInUnits(size % 2 == 1);
  static const qm::Windows1252CodePage code_page;

  std::u16string selection(size / 2, u'\0');
  if (!selection.empty()) std::memcpy(selection.data(), data, selection.size() * 2);
  double value = 0;
  std::size_t consumed = 0;
  if (qm::ReadWrittenNumber(selection, &value, &consumed) &&
      (consumed == 0 || consumed > selection.size())) {
    std::abort();
  }
  const qm::ParsedQuantity q = qm::ParseQuantity(selection, table, code_page);
  if (q.amount.empty()) std::abort();

  if (q.unit != nullptr) {
    const qm::UnitCategory& category = *q.unit->category;
    const std::size_t pick = size == 0 ? 0 : data[size - 1] % category.units.size();
    const std::string amount = code_page.ToNarrow(q.amount);
    const qm::Conversion c =
        qm::ConvertQuantity(amount, *q.unit, category.units[pick], code_page);
    // Every amount the selection proposes reads back as written, except an
    // infinite one.
    const bool infinite = amount == "inf" || amount == "-inf";
    if (c.is_number == infinite) std::abort();
    if (c.is_number && (c.amount != amount || c.result.empty())) std::abort();
  }

  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const qm::Unit* found = qm::FindUnitByText(table, bytes);
  if (size <= 256 && found != EveryLength(table, bytes)) std::abort();
  return 0;
}
