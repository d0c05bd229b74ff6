#include "catalogue_listing.h"

#include <functional>
#include <iomanip>
#include <string>

#include "catalogue/catalogue_categories.h"
#include "catalogue/catalogue_loader.h"
#include "catalogue/site_entries.h"
#include "catalogue/site_entry_json.h"
#include "text/json_writer.h"
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

// A path as a JSON value; null when there is none.
void JsonPath(const std::string& path, JsonWriter& json) {
  if (path.empty()) {
    json.Null();
  } else {
    json.String(path);
  }
}

// The members that open a category's JSON listing.
void JsonHeading(std::string_view word, CatalogueSource source, const ModuleEnvironment& env,
                 JsonWriter& json) {
  json.Key("category").String(word).Key("source").String(CatalogueSourceWord(source)).Key("file");
  JsonPath(source == CatalogueSource::kUserFile ? CataloguePath(env) : "", json);
}

void WriteHeading(std::string_view word, std::size_t count, CatalogueSource source,
                  const ModuleEnvironment& env, std::ostream& out) {
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

void JsonEntries(const SiteEntryList& entries, const CodePage& code_page, JsonWriter& json) {
  json.Key("entries").BeginArray();
  for (const SiteEntry& entry : entries) {
    json.BeginObject()
        .Key("name").String(code_page.ToWide(entry.name))
        .Key("selected").Bool(entry.selected)
        .Key("exclusive").Bool(entry.exclusive);
    WriteSiteEntryActions(entry, code_page, json);
    json.EndObject();
  }
  json.EndArray();
}

void WriteEntries(const SiteEntryList& entries, const CodePage& code_page, std::ostream& out) {
  auto utf8 = [&](const std::string& narrow) { return ToUtf8(code_page.ToWide(narrow)); };
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

void JsonSections(const SiteCatalogue& catalogue, const CodePage& code_page,
                  JsonWriter& json) {
  auto utf8 = [&](std::string_view narrow) { return ToUtf8(code_page.ToWide(narrow)); };
  json.Key("sections").BeginArray();
  catalogue.ForEachSection([&](const CatalogueSection& section) {
    json.BeginObject().Key("name").String(utf8(section.name())).Key("keys").BeginObject();
    for (const CatalogueValue& v : section) json.Key(utf8(v.key)).String(utf8(v.value));
    json.EndObject().EndObject();
  });
  json.EndArray();
}

}  // namespace

bool IsCatalogueCategory(std::string_view word) {
  return !CanonicalCategory(word).empty();
}

void WriteCatalogueSections(const SiteCatalogue& catalogue, const CodePage& code_page,
                            ListingFormat format, std::ostream& out) {
  if (format == ListingFormat::kJson) {
    JsonWriter json;
    json.BeginObject();
    JsonSections(catalogue, code_page, json);
    out << json.EndObject().text() << "\n";
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

  // The heading, then what `json_body` or `text_body` writes.
  const auto write = [&](CatalogueSource source, std::size_t count,
                         const std::function<void(JsonWriter&)>& json_body,
                         const std::function<void()>& text_body) {
    if (format == ListingFormat::kJson) {
      JsonWriter listing;
      JsonHeading(word, source, env, listing.BeginObject());
      json_body(listing);
      out << listing.EndObject().text() << "\n";
    } else {
      WriteHeading(word, count, source, env, out);
      text_body();
    }
  };
  if (found.content == CategoryContent::kUnits) {  // units are not site entries: show their keys
    SiteCatalogue catalogue;
    const CatalogueSource source = LoadCatalogue(env, prefix, false, catalogue);
    write(source, catalogue.size(),
          [&](JsonWriter& json) { JsonSections(catalogue, code_page, json); },
          [&] { WriteUnitSections(catalogue, code_page, out); });
    return true;
  }
  SiteEntryList entries;
  CatalogueSource source = CatalogueSource::kBuiltInDefault;
  CollectSiteEntries(env, store, prefix, system, entries, &source);
  write(source, entries.size(), [&](JsonWriter& json) { JsonEntries(entries, code_page, json); },
        [&] { WriteEntries(entries, code_page, out); });
  return true;
}

void WriteCatalogueSummary(const ModuleEnvironment& env, ListingFormat format,
                           std::ostream& out) {
  const bool json = format == ListingFormat::kJson;
  JsonWriter summary;
  if (json) {
    summary.BeginObject().Key("file");
    JsonPath(CataloguePath(env), summary);
    summary.Key("categories").BeginArray();
  } else {
    out << "Catalogue file: " << CataloguePath(env) << "\n";
  }
  for (const CatalogueCategory& category : CatalogueCategories()) {
    const std::string_view word = category.word;
    SiteCatalogue catalogue;
    const CatalogueSource source =
        LoadCatalogue(env, category.prefix,
                      category.content == CategoryContent::kSystemEntries, catalogue);
    if (json) {
      summary.BeginObject()
          .Key("category").String(word)
          .Key("entries").Number(static_cast<long long>(catalogue.size()))
          .Key("source").String(CatalogueSourceWord(source))
          .EndObject();
    } else {
      out << std::left << std::setw(10) << word << std::right << std::setw(4)
          << catalogue.size() << "  " << SourceName(source) << "\n";
    }
  }
  if (json) out << summary.EndArray().EndObject().text() << "\n";
}

}  // namespace qm
