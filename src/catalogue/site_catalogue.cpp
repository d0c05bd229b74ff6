#include "catalogue/site_catalogue.h"

#include <algorithm>

#include "text/number_scan.h"

namespace qm {

const CatalogueValue* CatalogueSection::Find(std::string_view key) const {
  // Stored keys are folded already, so folding both sides while comparing
  // folds only the asked-for key.
  const CatalogueValue* it = std::lower_bound(
      begin(), end(), key, [](const CatalogueValue& v, std::string_view k) {
        return CompareFolded(v.key, k) < 0;
      });
  if (it != end() && CompareFolded(it->key, key) == 0) return it;
  return nullptr;
}

bool CatalogueSection::HasValue(std::string_view key) const {
  const CatalogueValue* v = Find(key);
  return v != nullptr && !v->value.empty();
}

std::string CatalogueSection::GetString(std::string_view key,
                                        std::string_view fallback) const {
  const CatalogueValue* v = Find(key);
  return std::string(v != nullptr ? v->value : fallback);
}

bool CatalogueSection::GetBool(std::string_view key, bool fallback) const {
  const CatalogueValue* v = Find(key);
  if (v == nullptr || v->value.empty()) return fallback;
  if (kFlagTrueCharacters.find(v->value.front()) != std::string_view::npos) return true;
  if (kFlagFalseCharacters.find(v->value.front()) != std::string_view::npos) return false;
  return fallback;
}

double CatalogueSection::GetNumber(std::string_view key,
                                   double fallback) const {
  const CatalogueValue* v = Find(key);
  double number = 0;
  std::size_t consumed = 0;
  if (v == nullptr || !ScanDouble(v->value, &number, &consumed)) {
    return fallback;
  }
  return number;
}

std::vector<CatalogueSection> SiteCatalogue::Sections() const {
  std::vector<CatalogueSection> sections;
  sections.reserve(index_.size());
  ForEachSection([&](const CatalogueSection& s) { sections.push_back(s); });
  return sections;
}

bool SiteCatalogue::Find(std::string_view name,
                         CatalogueSection* section) const {
  const auto it = std::lower_bound(
      index_.begin(), index_.end(), name,
      [](const SectionRecord& r, std::string_view n) {
        return CompareFolded(r.name, n) < 0;
      });
  if (it == index_.end() || CompareFolded(it->name, name) != 0) return false;
  *section = MakeSection(*it);
  return true;
}

SiteCatalogue SiteCatalogue::SectionsWithPrefix(std::string_view prefix) const {
  SiteCatalogue kept;
  kept.texts_ = texts_;
  for (const SectionRecord& record : index_) {
    if (!prefix.empty() && !StartsWithFolded(record.name, prefix)) continue;
    SectionRecord copy = record;
    copy.first = kept.values_.size();
    const auto first = values_.begin() + static_cast<std::ptrdiff_t>(record.first);
    kept.values_.insert(kept.values_.end(), first,
                        first + static_cast<std::ptrdiff_t>(record.count));
    kept.index_.push_back(copy);
  }
  return kept;
}

}  // namespace qm
