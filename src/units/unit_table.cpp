#include "units/unit_table.h"

#include <algorithm>
#include <array>
#include <functional>

#include "text/ascii_fold.h"

namespace qm {
namespace {

constexpr int kLowestPower = kLowestUnitPower;
constexpr int kHighestPower = kHighestUnitPower;
constexpr std::size_t kPowerCount = kHighestPower - kLowestPower + 1;

// Letters and digits of Windows-1252, the code page of the built-in
// catalogue: ASCII, the accented letters, and the superscript digits, which
// raise what stands before them to a power ("km\xB2" is no kilometre).
bool IsWordByte(char c) {
  const auto b = static_cast<unsigned char>(c);
  if (b < 0x80) {
    return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') ||
           (b >= 'a' && b <= 'z');
  }
  switch (b) {
    case 0x83: case 0x8A: case 0x8C: case 0x8E: case 0x9A: case 0x9C:
    case 0x9E: case 0x9F: case 0xAA: case 0xB2: case 0xB3: case 0xB5:
    case 0xB9: case 0xBA:
      return true;
    default:
      return b >= 0xC0 && b != 0xD7 && b != 0xF7;
  }
}

bool IsBlank(std::string_view piece) {
  return piece.find_first_not_of(" \t") == std::string_view::npos;
}

// Whether the comma-separated list of domains `regions` holds `domain`,
// letter case aside; an empty domain is in no list.
bool ListsDomain(std::string_view regions, std::string_view domain) {
  if (domain.empty()) return false;
  for (std::size_t start = 0;;) {
    const std::size_t comma = regions.find(',', start);
    std::string_view piece = regions.substr(start, comma - start);
    while (!piece.empty() && (piece.front() == ' ' || piece.front() == '\t')) piece.remove_prefix(1);
    while (!piece.empty() && (piece.back() == ' ' || piece.back() == '\t')) piece.remove_suffix(1);
    if (FoldAsciiCopy(piece) == FoldAsciiCopy(domain)) return true;
    if (comma == std::string_view::npos) return false;
    start = comma + 1;
  }
}

// 10^count by repeated multiplication; exact for every count up to 22.
double PowerOfTen(int count) {
  double power = 1.0;
  for (int i = 0; i < count; ++i) power *= 10.0;
  return power;
}

}  // namespace

const Unit* UnitTable::FindName(std::string_view name) const {
  // A multimap inserts an equal key after the ones already there, so the
  // lower bound is the first-inserted unit of that name.
  const auto it = names_.lower_bound(name);
  if (it == names_.end() || it->first != name) return nullptr;
  return it->second;
}

UnitCategory& FindOrAddCategory(UnitTable& table, std::string_view text) {
  std::string folded = FoldAsciiCopy(text);
  auto it = table.categories_.find(folded);
  if (it == table.categories_.end()) {
    it = table.categories_.emplace(folded, UnitCategory{}).first;
    it->second.name = std::move(folded);
  }
  return it->second;
}

const Unit* AddUnit(UnitTable& table, UnitCategory& category,
                    std::string_view name_list, double a, double b,
                    bool invert, int exponent) {
  const std::string_view first = name_list.substr(0, name_list.find(','));
  if (IsBlank(first)) return nullptr;

  double factor = a;
  if (exponent > 0) {
    factor = PowerOfTen(exponent) * a;
  } else if (exponent < 0) {
    factor = a / PowerOfTen(-exponent);
  }

  Unit& unit = category.units.emplace_back();
  unit.category = &category;
  unit.name = std::string(first);
  unit.factor = factor;
  unit.offset = b;
  unit.invert = invert;
  AddUnitNames(table, unit, name_list);
  return &unit;
}

void AddUnitNames(UnitTable& table, const Unit& unit,
                  std::string_view name_list) {
  for (std::size_t start = 0;;) {
    const std::size_t comma = name_list.find(',', start);
    const std::string_view piece = name_list.substr(start, comma - start);
    if (!IsBlank(piece)) {
      table.names_.emplace(std::string(piece), &unit);
      auto& lengths = table.name_lengths_;
      const auto at = std::lower_bound(lengths.begin(), lengths.end(),
                                       piece.size(), std::greater<>());
      if (at == lengths.end() || *at != piece.size()) {
        lengths.insert(at, piece.size());
      }
    }
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
}

bool ReadUnitPowerKey(std::string_view key, int* power) {
  if (key.size() < 5 || key.size() > 6 || key.substr(0, 3) != "ten") return false;
  const char sign = key[3];
  const std::string_view digits = key.substr(4);
  if (sign != '+' && sign != '-') return false;
  if (digits.size() == 2 && digits[0] == '0') return false;
  int n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  if (n > kHighestPower || (sign == '-' && n == 0)) return false;
  *power = sign == '-' ? -n : n;
  return true;
}

void BuildUnitTable(const SiteCatalogue& catalogue, UnitTable& table,
                    std::string_view page_domain) {
  struct Regional {
    const Unit* unit;
    std::string names;
    std::string regions;
  };
  std::vector<Regional> regional;
  catalogue.ForEachSection([&](const CatalogueSection& section) {
    const UnitSectionKeys& keys = kUnitSectionKeys;
    if (!section.HasValue(keys.category)) return;
    UnitCategory& category =
        FindOrAddCategory(table, section.GetString(keys.category, ""));
    const double a = section.GetNumber(keys.scale, keys.default_scale);
    const double b = section.GetNumber(keys.offset, keys.default_offset);
    const bool invert = section.GetBool(keys.invert, keys.default_invert);
    // One pass over the section's few keys instead of 37 lookups; the
    // units are still made in ascending order of the power.
    std::array<std::string_view, kPowerCount> lists{};
    for (const CatalogueValue& value : section) {
      int n = 0;
      if (ReadUnitPowerKey(value.key, &n)) {
        lists[static_cast<std::size_t>(n - kLowestPower)] = value.value;
      }
    }
    const Unit* unit_of_power_zero = nullptr;
    for (int n = kLowestPower; n <= kHighestPower; ++n) {
      const std::string_view list = lists[static_cast<std::size_t>(n - kLowestPower)];
      if (list.empty()) continue;
      const Unit* unit = AddUnit(table, category, list, a, b, invert, n);
      if (n == 0) unit_of_power_zero = unit;
    }
    if (unit_of_power_zero != nullptr && section.HasValue(keys.regional_names)) {
      regional.push_back({unit_of_power_zero,
                          section.GetString(keys.regional_names, ""),
                          section.GetString(keys.regions, "")});
    }
  });

  // A domain that some section lists takes that section's names; every
  // other domain takes the names of the sections that list none.
  bool listed = false;
  for (const Regional& r : regional) listed = listed || ListsDomain(r.regions, page_domain);
  for (const Regional& r : regional) {
    const bool holds = IsBlank(r.regions) ? !listed : ListsDomain(r.regions, page_domain);
    if (holds) AddUnitNames(table, *r.unit, r.names);
  }
}

const Unit* FindUnitByText(const UnitTable& table, std::string_view text,
                           std::size_t* length_found) {
  // Only lengths that some name has can match, so a long selection costs a
  // few lookups instead of one per length.
  std::string folded;
  for (std::size_t length : table.name_lengths_) {
    if (length > text.size() || !EndsAWord(text, length)) continue;
    const std::string_view exact = text.substr(0, length);
    const Unit* unit = table.FindName(exact);
    if (unit == nullptr) {
      if (folded.empty()) folded = FoldAsciiCopy(exact);
      const std::string_view lower = std::string_view(folded).substr(0, length);
      if (lower != exact) unit = table.FindName(lower);
    }
    if (unit != nullptr) {
      if (length_found != nullptr) *length_found = length;
      return unit;
    }
  }
  return nullptr;
}

bool EndsAWord(std::string_view text, std::size_t length) {
  // A mark such as the foot's "'" is a word of its own: 5'11".
  if (length > 0 && length <= text.size() && !IsWordByte(text[length - 1])) {
    return true;
  }
  if (length >= text.size() || !IsWordByte(text[length])) return true;
  // "kgs", "tonnes": a plural of a name. A single letter and "s" is more
  // often a unit of its own ("ms") than a plural.
  return length >= 2 && text[length] == 's' &&
         (length + 1 == text.size() || !IsWordByte(text[length + 1]));
}

}  // namespace qm
