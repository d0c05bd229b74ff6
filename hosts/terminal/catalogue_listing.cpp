#include "catalogue_listing.h"

#include <array>
#include <iomanip>

#include "catalogue/site_entries.h"
#include "text/ascii_fold.h"
#include "text/utf8.h"

namespace qm {
namespace {

constexpr std::array<std::string_view, 14> kCategories = {
    "BOOK", "CURRENCY", "EMAIL",     "ISBN", "MOVIE", "MUSIC",  "OTHER",
    "SEARCH", "STOCK",  "TRANSLATE", "UPC",  "URL",   "UNIT", "SYSTEM"};

// The category word in capitals, or empty when it is none of ours.
std::string CanonicalCategory(std::string_view word) {
  if (!word.empty() && word.back() == ':') word.remove_suffix(1);
  for (std::string_view category : kCategories) {
    if (CompareFolded(category, word) == 0) return std::string(category);
  }
  return {};
}

const char* SourceName(CatalogueSource source) {
  switch (source) {
    case CatalogueSource::kUserFile: return "the user's catalogue";
    case CatalogueSource::kBuiltInDefault: return "the built-in default";
    case CatalogueSource::kBuiltInSystem: return "the built-in system catalogue";
  }
  return "";
}

void WriteHeading(std::string_view word, std::size_t count,
                  CatalogueSource source, const ModuleEnvironment& env,
                  std::ostream& out) {
  out << word << ": " << count << " entries from " << SourceName(source);
  if (source == CatalogueSource::kUserFile) out << " " << CataloguePath(env);
  out << "\n";
}

void WriteUnitSections(const SiteCatalogue& catalogue,
                       const CodePage& code_page, std::ostream& out) {
  catalogue.ForEachSection([&](const CatalogueSection& section) {
    out << "[" << ToUtf8(code_page.ToWide(section.name())) << "]\n";
    for (const CatalogueValue& v : section) {
      out << "    " << ToUtf8(code_page.ToWide(v.key)) << " = "
          << ToUtf8(code_page.ToWide(v.value)) << "\n";
    }
  });
}

}  // namespace

bool IsCatalogueCategory(std::string_view word) {
  return !CanonicalCategory(word).empty();
}

bool WriteCatalogueListing(std::string_view category,
                           const ModuleEnvironment& env,
                           const SelectionStore& store,
                           const CodePage& code_page, std::ostream& out) {
  const std::string word = CanonicalCategory(category);
  if (word.empty()) return false;
  const std::string prefix = word + ":";
  const bool system = word == "SYSTEM";

  if (word == "UNIT") {  // units are not site entries: show their keys
    SiteCatalogue catalogue;
    const CatalogueSource source = LoadCatalogue(env, prefix, false, catalogue);
    WriteHeading(word, catalogue.size(), source, env, out);
    WriteUnitSections(catalogue, code_page, out);
    return true;
  }
  SiteEntryList entries;
  CatalogueSource source = CatalogueSource::kBuiltInDefault;
  CollectSiteEntries(env, store, prefix, system, entries, &source);
  WriteHeading(word, entries.size(), source, env, out);
  for (const SiteEntry& entry : entries) {
    out << (entry.selected ? "[x] " : "[ ] ")
        << ToUtf8(code_page.ToWide(entry.name));
    if (entry.exclusive) out << "  (exclusive)";
    out << "\n    " << ToUtf8(code_page.ToWide(entry.shortDescription)) << "\n";
    const std::string& description = DisplayDescription(entry);
    if (&description != &entry.shortDescription) {
      out << "    " << ToUtf8(code_page.ToWide(description)) << "\n";
    }
  }
  return true;
}

void WriteCatalogueSummary(const ModuleEnvironment& env, std::ostream& out) {
  out << "Catalogue file: " << CataloguePath(env) << "\n";
  for (std::string_view word : kCategories) {
    SiteCatalogue catalogue;
    const CatalogueSource source = LoadCatalogue(
        env, std::string(word) + ":", word == "SYSTEM", catalogue);
    out << std::left << std::setw(10) << word << std::right << std::setw(4)
        << catalogue.size() << "  " << SourceName(source) << "\n";
  }
}

}  // namespace qm
