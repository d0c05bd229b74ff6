// The converter's units: categories of mutually convertible units and an
// index from every name a unit may be written by to that unit, all built
// from the "UNIT:" sections of the catalogue.
//
//   [UNIT:Metre]
//   category=distance
//   ten+0=metres,m.,m,metre
//   ten+3=kilometres,km,Km
//
// gives the category "distance" with the units "metres" (factor 1) and
// "kilometres" (factor 1000), and the names m., m, metre, km, Km and so on.
#pragma once

#include <cstddef>
#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/site_catalogue.h"

namespace qm {

struct UnitCategory;

// One unit: one UNIT section at one power of ten. A value x in this unit is
// the reference value factor * x + offset, or factor / x + offset when
// `invert` is set. The reference unit of a category is whichever unit has
// factor 1, offset 0 and no inversion.
struct Unit {
  const UnitCategory* category = nullptr;  // the category holding it
  std::string name;  // display name, 8-bit text in the system code page
  double factor = 1.0;
  double offset = 0.0;
  bool invert = false;
};

// A category: its name with A-Z folded to lower case (nothing trimmed) and
// its units in the order they were created. A deque keeps every unit at one
// address while more are added, so units may point at each other's category
// and the names index may point at units.
struct UnitCategory {
  std::string name;
  std::deque<Unit> units;
};

// Categories keyed by folded name, iterated in byte order of those names,
// and the names index. The table owns categories and units; it cannot be
// copied (units point at their categories) but may be moved.
class UnitTable {
 public:
  using Categories = std::map<std::string, UnitCategory, std::less<>>;
  // Exact bytes, letter case kept: "Km" and "km" are different names. Equal
  // names sit in the order they were inserted.
  using NameIndex = std::multimap<std::string, const Unit*, std::less<>>;

  UnitTable() = default;
  UnitTable(const UnitTable&) = delete;
  UnitTable& operator=(const UnitTable&) = delete;
  UnitTable(UnitTable&&) = default;
  UnitTable& operator=(UnitTable&&) = default;

  const Categories& categories() const { return categories_; }
  const NameIndex& names() const { return names_; }
  bool empty() const { return categories_.empty(); }

  // The unit first indexed under exactly `name`, or null.
  const Unit* FindName(std::string_view name) const;

  // The length in bytes of the longest indexed name; 0 for an empty index.
  // No text longer than this is a name.
  std::size_t longest_name() const {
    return name_lengths_.empty() ? 0 : name_lengths_.front();
  }

 private:
  friend UnitCategory& FindOrAddCategory(UnitTable& table,
                                         std::string_view text);
  friend const Unit* AddUnit(UnitTable& table, UnitCategory& category,
                             std::string_view name_list, double a, double b,
                             bool invert, int exponent);
  friend const Unit* FindUnitByText(const UnitTable& table,
                                    std::string_view text,
                                    std::size_t* length);
  friend void AddUnitNames(UnitTable& table, const Unit& unit,
                           std::string_view name_list);

  Categories categories_;
  NameIndex names_;
  // The distinct lengths of the indexed names, longest first: a lookup of a
  // leading part need only try these.
  std::vector<std::size_t> name_lengths_;
};

// The keys of a unit section besides its power keys, as BuildUnitTable
// reads them, and what it takes when one is missing or holds nothing it can
// read. A section without a category defines no unit.
struct UnitSectionKeys {
  std::string_view category = "category";
  std::string_view scale = "a";
  double default_scale = 1.0;
  std::string_view offset = "b";
  double default_offset = 0.0;
  std::string_view invert = "invert";
  bool default_invert = false;
  // Names the section's "ten+0" unit has only on pages of some countries,
  // and those countries' top-level domains ("uk,ie"). Without "regions"
  // the names hold on the pages of every domain that no section of the
  // catalogue lists in its "regions": a gallon is the US gallon except on
  // the pages that name the imperial one.
  std::string_view regional_names = "regionalNames";
  std::string_view regions = "regions";
};
inline constexpr UnitSectionKeys kUnitSectionKeys{};

// The powers of ten a unit section's power keys name, "ten-18" to "ten+18".
inline constexpr int kLowestUnitPower = -18;
inline constexpr int kHighestUnitPower = 18;

// True when the folded key `key` is a power key, spelled as "ten%+d" spells
// its power within the range above, and then sets *power: "ten+0", "ten+3"
// and "ten-18" are, "ten0", "ten-0", "ten+03" and "ten+19" are not.
bool ReadUnitPowerKey(std::string_view key, int* power);

// Fills the empty `table` from `catalogue`, loaded with the prefix "UNIT:",
// section by section in the catalogue's order. A section without a
// non-empty "category" is skipped; "a" (default 1), "b" (default 0) and
// "invert" (default false) apply to each of its power keys "ten-18" ...
// "ten+0" ... "ten+18", taken in ascending order of the power. Keys spelled
// otherwise ("ten0", "ten+03") are ignored. Then the regional names (see
// UnitSectionKeys) that hold for `page_domain`, a top-level domain in
// lower case without a dot ("uk"; empty when the page has none), are
// indexed after every other name, in the catalogue's order. Never fails.
void BuildUnitTable(const SiteCatalogue& catalogue, UnitTable& table,
                    std::string_view page_domain = {});

// The category named `text` with A-Z folded to lower case, created empty
// when there is none yet. "Distance" and "distance" give the same category;
// "distance " (trailing space) another.
UnitCategory& FindOrAddCategory(UnitTable& table, std::string_view text);

// Cuts `name_list` at every ","; pieces are not trimmed, and a piece that is
// empty or only spaces and tabs is blank. When the first piece is blank
// nothing happens and null is returned. Otherwise appends to `category` a
// unit named by the first piece with factor a * 10^exponent (the power is
// formed by repeated multiplication by 10, and a is divided by it for a
// negative exponent), offset b (never scaled) and `invert`, indexes every
// non-blank piece under that unit in list order, and returns the unit.
// REQUIRES: `category` belongs to `table`.
const Unit* AddUnit(UnitTable& table, UnitCategory& category,
                    std::string_view name_list, double a, double b,
                    bool invert, int exponent);

// Indexes every non-blank piece of the comma-separated `name_list` under
// `unit`, after the names already there.
// REQUIRES: `unit` belongs to `table`.
void AddUnitNames(UnitTable& table, const Unit& unit,
                  std::string_view name_list);

// The unit whose name is the longest leading part of `text` (8-bit text in
// the system code page) that ends a word, or null; when found and `length`
// is not null, stores the length of that name in bytes there. A leading part ends a
// word when the byte after it is no letter or digit (see EndsAWord). At
// each length the exact bytes are tried before a copy with A-Z folded to
// lower case, so "KM" finds "km" and "C" finds "Celsius" through the name
// "C", while "c" finds nothing.
//   "km/h rising" -> km/h (speed), "kms" -> kilometres, "km away" ->
//   kilometres, "ms" -> null, "stone" -> null unless "stone" is a name
const Unit* FindUnitByText(const UnitTable& table, std::string_view text,
                           std::size_t* length = nullptr);

// True when the first `length` bytes of `text` (0 < length) are a whole
// word: they end in a mark (no letter or digit: "'", "\xB0"), or the text
// ends there, or the byte after them is no letter or digit, or it is a
// plural "s" after at least two bytes and itself ends the text or is
// followed by no letter or digit. Letters and digits beyond ASCII are
// those of Windows-1252, superscript digits included.
//   ("km away", 2), ("km/h", 2), ("kms", 2), ("kgs.", 2), ("'11", 1) -> true
//   ("kmh", 2), ("ms", 1), ("kmsx", 2), ("km\xB2", 2)                 -> false
bool EndsAWord(std::string_view text, std::size_t length);

}  // namespace qm
