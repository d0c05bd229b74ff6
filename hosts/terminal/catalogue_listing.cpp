#include "catalogue_listing.h"

#include <iomanip>
#include <string>

#include "action_log.h"
#include "catalogue/catalogue_categories.h"
#include "catalogue/catalogue_loader.h"
#include "catalogue/site_entries.h"
#include "text/utf8.h"

namespace qm {
namespace {

// The category word in capitals, or empty when it is none of ours.
std::string CanonicalCategory(std::string_view word) {
  if (!word.empty() && word.back() == ':') word.remove_suffix(1);
  const CatalogueCategory* category = FindCatalogueCategory(word);
  return category != nullptr ? std::string(category->word) : std::string();
}

const char* SourceName(CatalogueSource source) {
  switch (source) {
    case CatalogueSource::kUserFile: return "the user's catalogue";
    case CatalogueSource::kBuiltInDefault: return "the built-in default";
    case CatalogueSource::kBuiltInSystem: return "the built-in system catalogue";
  }
  return "";
}

// The same, as one word for scripts.
const char* SourceWord(CatalogueSource source) {
  switch (source) {
    case CatalogueSource::kUserFile: return "user";
    case CatalogueSource::kBuiltInDefault: return "default";
    case CatalogueSource::kBuiltInSystem: return "system";
  }
  return "";
}

// A path as a JSON value; null when there is none.
std::string JsonPath(const std::string& path) {
  return path.empty() ? "null" : JsonString(path);
}

const char* JsonBool(bool value) { return value ? "true" : "false"; }

void WriteHeading(std::string_view word, std::size_t count, CatalogueSource source,
                  const ModuleEnvironment& env, ListingFormat format,
                  std::ostream& out) {
  if (format == ListingFormat::kJson) {
    out << "{\"category\":" << JsonString(std::string(word)) << ",\"source\":\""
        << SourceWord(source) << "\",\"file\":"
        << JsonPath(source == CatalogueSource::kUserFile ? CataloguePath(env) : "");
    return;
  }
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

void WriteEntries(const SiteEntryList& entries, const CodePage& code_page,
                  ListingFormat format, std::ostream& out) {
  auto utf8 = [&](const std::string& narrow) { return ToUtf8(code_page.ToWide(narrow)); };
  if (format == ListingFormat::kJson) {
    out << ",\"entries\":[";
    bool first = true;
    for (const SiteEntry& entry : entries) {
      out << (first ? "" : ",") << "{\"name\":" << JsonString(utf8(entry.name))
          << ",\"selected\":" << JsonBool(entry.selected)
          << ",\"exclusive\":" << JsonBool(entry.exclusive)
          << ",\"shortDescription\":" << JsonString(utf8(entry.shortDescription))
          << ",\"longDescription\":" << JsonString(utf8(entry.longDescription))
          << ",\"url\":" << JsonString(utf8(entry.url))
          << ",\"href\":" << JsonString(utf8(entry.href))
          << ",\"command\":" << JsonString(utf8(entry.command))
          << ",\"mail\":" << JsonBool(entry.isMail) << "}";
      first = false;
    }
    out << "]}\n";
    return;
  }
  for (const SiteEntry& entry : entries) {
    out << (entry.selected ? "[x] " : "[ ] ") << utf8(entry.name);
    if (entry.exclusive) out << "  (exclusive)";
    out << "\n    " << utf8(entry.shortDescription) << "\n";
    const std::string& description = DisplayDescription(entry);
    if (&description != &entry.shortDescription) {
      out << "    " << utf8(description) << "\n";
    }
  }
}

void WriteJsonSections(const SiteCatalogue& catalogue, const CodePage& code_page,
                       std::ostream& out) {
  auto utf8 = [&](std::string_view narrow) { return ToUtf8(code_page.ToWide(narrow)); };
  out << "\"sections\":[";
  bool first = true;
  catalogue.ForEachSection([&](const CatalogueSection& section) {
    out << (first ? "" : ",") << "{\"name\":" << JsonString(utf8(section.name()))
        << ",\"keys\":{";
    bool first_key = true;
    for (const CatalogueValue& v : section) {
      out << (first_key ? "" : ",") << JsonString(utf8(v.key)) << ":"
          << JsonString(utf8(v.value));
      first_key = false;
    }
    out << "}}";
    first = false;
  });
  out << "]";
}

}  // namespace

bool IsCatalogueCategory(std::string_view word) {
  return !CanonicalCategory(word).empty();
}

void WriteCatalogueSections(const SiteCatalogue& catalogue, const CodePage& code_page,
                            ListingFormat format, std::ostream& out) {
  if (format == ListingFormat::kJson) {
    out << "{";
    WriteJsonSections(catalogue, code_page, out);
    out << "}\n";
    return;
  }
  catalogue.ForEachSection([&](const CatalogueSection& section) {
    out << "[" << ToUtf8(code_page.ToWide(section.name())) << "]\n";
    for (const CatalogueValue& v : section) {
      out << ToUtf8(code_page.ToWide(v.key)) << "=" << ToUtf8(code_page.ToWide(v.value))
          << "\n";
    }
  });
}

bool WriteCatalogueListing(std::string_view category,
                           const ModuleEnvironment& env,
                           const SelectionStore& store,
                           const CodePage& code_page, ListingFormat format,
                           std::ostream& out) {
  const std::string word = CanonicalCategory(category);
  if (word.empty()) return false;
  const CatalogueCategory& found = *FindCatalogueCategory(word);
  const std::string prefix(found.prefix);
  const bool system = found.content == CategoryContent::kSystemEntries;

  if (found.content == CategoryContent::kUnits) {  // units are not site entries: show their keys
    SiteCatalogue catalogue;
    const CatalogueSource source = LoadCatalogue(env, prefix, false, catalogue);
    WriteHeading(word, catalogue.size(), source, env, format, out);
    if (format == ListingFormat::kJson) {
      out << ",";
      WriteJsonSections(catalogue, code_page, out);
      out << "}\n";
    } else {
      WriteUnitSections(catalogue, code_page, out);
    }
    return true;
  }
  SiteEntryList entries;
  CatalogueSource source = CatalogueSource::kBuiltInDefault;
  CollectSiteEntries(env, store, prefix, system, entries, &source);
  WriteHeading(word, entries.size(), source, env, format, out);
  WriteEntries(entries, code_page, format, out);
  return true;
}

void WriteCatalogueSummary(const ModuleEnvironment& env, ListingFormat format,
                           std::ostream& out) {
  const bool json = format == ListingFormat::kJson;
  if (json) {
    out << "{\"file\":" << JsonPath(CataloguePath(env)) << ",\"categories\":[";
  } else {
    out << "Catalogue file: " << CataloguePath(env) << "\n";
  }
  bool first = true;
  for (const CatalogueCategory& category : CatalogueCategories()) {
    const std::string_view word = category.word;
    SiteCatalogue catalogue;
    const CatalogueSource source =
        LoadCatalogue(env, category.prefix,
                      category.content == CategoryContent::kSystemEntries, catalogue);
    if (json) {
      out << (first ? "" : ",") << "{\"category\":\"" << word
          << "\",\"entries\":" << catalogue.size() << ",\"source\":\""
          << SourceWord(source) << "\"}";
    } else {
      out << std::left << std::setw(10) << word << std::right << std::setw(4)
          << catalogue.size() << "  " << SourceName(source) << "\n";
    }
    first = false;
  }
  if (json) out << "]}\n";
}

}  // namespace qm
