// The parsed catalogue: sections by case-insensitive name, each a set of
// keys (folded to lower case) and values (exactly as written).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "text/ascii_fold.h"

namespace qm {

// One key line of a section. Both views point into text owned by the
// SiteCatalogue; the key is already folded to lower case.
struct CatalogueValue {
  std::string_view key;
  std::string_view value;
};

// The first characters of a flag value that decide it (GetBool).
inline constexpr std::string_view kFlagTrueCharacters = "YyTt1";
inline constexpr std::string_view kFlagFalseCharacters = "NnFf0";

// A read-only view of one section. Valid while the SiteCatalogue that gave
// it lives and receives no further text.
class CatalogueSection {
 public:
  CatalogueSection(std::string_view name, const CatalogueValue* first,
                   std::size_t count)
      : name_(name), first_(first), count_(count) {}

  // The name exactly as written between the brackets, letter case kept.
  std::string_view name() const { return name_; }

  // Each query folds `key` to lower case before the lookup.

  // True when the key is present and its value is not empty.
  bool HasValue(std::string_view key) const;
  // The value when the key is present, even when it is empty; else
  // `fallback`.
  std::string GetString(std::string_view key, std::string_view fallback) const;
  // Decided by the value's first character: one of kFlagTrueCharacters
  // (Y, y, T, t, 1) gives true, one of kFlagFalseCharacters (N, n, F, f, 0)
  // false; anything else, an empty value or a missing key give `fallback`.
  // So "yes" and "true" work, "on" and "off" do not.
  bool GetBool(std::string_view key, bool fallback) const;
  // The value read as "%lf" reads it (leading white space skipped, trailing
  // text ignored); `fallback` when the key is missing or holds no number.
  double GetNumber(std::string_view key, double fallback) const;

  // The section's keys in byte order of the folded keys, each once.
  const CatalogueValue* begin() const { return first_; }
  const CatalogueValue* end() const { return first_ + count_; }
  std::size_t size() const { return count_; }

 private:
  const CatalogueValue* Find(std::string_view key) const;

  std::string_view name_;
  const CatalogueValue* first_;
  std::size_t count_;
};

// An ordered map from section name to section. Names compare with A-Z folded
// to lower case, bytes as unsigned values, so iteration runs in that order
// (BOOK:ShopCa, BOOK:ShopCom, BOOK:ShopCoUk). The catalogue owns the text it
// was parsed from; every name, key and value is a view into it.
class SiteCatalogue {
 public:
  SiteCatalogue() = default;
  SiteCatalogue(const SiteCatalogue&) = delete;
  SiteCatalogue& operator=(const SiteCatalogue&) = delete;
  SiteCatalogue(SiteCatalogue&&) = default;
  SiteCatalogue& operator=(SiteCatalogue&&) = default;

  std::size_t size() const { return index_.size(); }
  bool empty() const { return index_.empty(); }

  // Sections in name order.
  std::vector<CatalogueSection> Sections() const;

  // Visits the sections in name order without building a list.
  template <typename Visitor>
  void ForEachSection(Visitor&& visit) const {
    for (const auto& record : index_) visit(MakeSection(record));
  }

  // The section of that name (compared case-insensitively), or none.
  bool Find(std::string_view name, CatalogueSection* section) const;

  // A catalogue of the sections whose names begin with `prefix` (compared
  // as ParseCatalogue compares it; empty keeps all), sharing this one's
  // text: what parsing the same text with that prefix gives, without
  // parsing it again. Either may outlive the other.
  SiteCatalogue SectionsWithPrefix(std::string_view prefix) const;

 private:
  friend class CatalogueBuilder;

  struct SectionRecord {
    std::string_view name;
    // The first sixteen folded bytes of the name, big-endian and
    // zero-padded: ordering by these first decides most comparisons without
    // touching the text, which lies scattered over the whole catalogue.
    std::uint64_t head[2] = {0, 0};
    std::size_t first = 0;  // into values_
    std::size_t count = 0;
  };

  CatalogueSection MakeSection(const SectionRecord& record) const {
    return CatalogueSection(record.name, values_.data() + record.first,
                            record.count);
  }

  // Each text on the heap, so views into it stay valid when the list
  // grows, and shared with catalogues made by SectionsWithPrefix.
  std::vector<std::shared_ptr<std::string>> texts_;
  std::vector<CatalogueValue> values_;
  std::vector<SectionRecord> index_;  // sorted by folded name, names unique
};

}  // namespace qm
