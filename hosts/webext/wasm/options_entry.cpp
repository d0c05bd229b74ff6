// The module's entry points for the options page: the linter over the
// user's catalogue as the page's editor holds it, and the catalogue in force
// category by category.
//
// Both take the user's catalogue as UTF-8 text, the form the extension
// stores it in, with its length, so that a NUL in it is read as a command
// reads it rather than taken for its end, and return JSON (UTF-8) in a
// buffer of the module's own:
// the text stays valid until the next call of the same function, so the
// caller reads it at once (UTF8ToString) and never frees it.
#include <emscripten.h>

#include <optional>
#include <string>
#include <string_view>

#include "catalogue/catalogue_categories.h"
#include "catalogue/catalogue_lint.h"
#include "catalogue/catalogue_loader.h"
#include "catalogue/site_entries.h"
#include "catalogue/site_entry_json.h"
#include "extension_environment.h"
#include "flows/command_dispatch.h"
#include "text/json_writer.h"
#include "text/utf8.h"
#include "text/windows_1252.h"

namespace {

// The extension's environment with the user's catalogue handed in directly
// rather than brought by a click's request.
class OptionsEnvironment final : public qm::ExtensionEnvironment {
 public:
  OptionsEnvironment(const char* user_catalogue, std::size_t length) {
    if (user_catalogue != nullptr) user_catalogue_.emplace(user_catalogue, length);
  }

 protected:
  std::optional<std::string> UserCatalogueText() const override { return user_catalogue_; }

 private:
  std::optional<std::string> user_catalogue_;
};

// The page shows the default ticks, not the remembered ones.
class NoSelections final : public qm::SelectionStore {
 public:
  bool Read(const std::string&, std::uint32_t*) const override { return false; }
  bool Write(const std::vector<qm::RememberedValue>&) override { return false; }
};

// Catalogue text is Windows-1252 inside the module.
std::u16string Wide(std::string_view narrow) {
  return qm::Windows1252CodePage().ToWide(narrow);
}

void WriteSiteEntries(const qm::SiteEntryList& entries, qm::JsonWriter& json) {
  for (const qm::SiteEntry& entry : entries) {
    json.BeginObject().Key("name").String(Wide(entry.name));
    qm::WriteSiteEntryActions(entry, qm::Windows1252CodePage(), json);
    json.Key("mailTo").String(Wide(entry.MailTo))
        .Key("defaultSelected").Bool(entry.defaultSelected)
        .EndObject();
  }
}

// Unit sections define units, not entries: their name and the kind of
// quantity they measure.
void WriteUnits(const qm::SiteCatalogue& catalogue, qm::JsonWriter& json) {
  catalogue.ForEachSection([&](const qm::CatalogueSection& section) {
    json.BeginObject()
        .Key("name").String(Wide(section.name()))
        .Key("unitCategory").String(Wide(section.GetString("category", "")))
        .EndObject();
  });
}

}  // namespace

extern "C" {

// The linter's findings for the user's catalogue, the `length` bytes of
// UTF-8 at `utf8_catalogue` (NUL bytes included), checked as the loader will
// read it (as UTF-8, converted to Windows-1252):
// {"findings":[{"line":N,"severity":"error"|"warning"|"note","kind":...,
// "message":...}],"omitted":[{"line":N,"severity":...,"kind":...,"count":N}],
// "errors":N,"warnings":N,"notes":N}. The note that the text is read as
// UTF-8 is left out: the extension always stores it so.
EMSCRIPTEN_KEEPALIVE const char* qm_lint(const char* utf8_catalogue, std::size_t length) {
  static std::string result;
  const qm::Windows1252CodePage code_page;
  std::string text(qm::kUtf8ByteOrderMark);
  if (utf8_catalogue != nullptr) text.append(utf8_catalogue, length);
  qm::JsonWriter json;
  json.BeginObject().Key("findings").BeginArray();
  std::size_t utf8_notes = 0;
  const qm::LintTally tally = qm::LintCatalogue(
      text, code_page, qm::kLintFindingsShownPerKind, [&](const qm::LintFinding& f) {
        if (f.kind == qm::LintKind::kUtf8Catalogue) {
          ++utf8_notes;
          return;
        }
        json.BeginObject()
            .Key("line").Number(static_cast<long long>(f.line))
            .Key("severity").String(qm::LintSeverityName(f.severity))
            .Key("kind").String(qm::LintKindName(f.kind))
            .Key("message").String(f.message)
            .EndObject();
      });
  json.EndArray().Key("omitted").BeginArray();
  for (const qm::LintOmission& o : tally.omitted) {
    json.BeginObject()
        .Key("line").Number(static_cast<long long>(o.first_line))
        .Key("severity").String(qm::LintSeverityName(o.severity))
        .Key("kind").String(qm::LintKindName(o.kind))
        .Key("count").Number(static_cast<long long>(o.count))
        .EndObject();
  }
  json.EndArray()
      .Key("errors").Number(static_cast<long long>(tally.errors))
      .Key("warnings").Number(static_cast<long long>(tally.warnings))
      .Key("notes").Number(static_cast<long long>(tally.notes - utf8_notes))
      .EndObject();
  result = json.text();
  return result.c_str();
}

// The catalogue in force with the user's catalogue, the `length` bytes of
// UTF-8 at `utf8_user_catalogue` (null when there is none), loaded category by category as a
// command loads it, so a category the user's catalogue lacks comes from the
// built-in default: {"categories":[{"category":"ISBN","source":"user"|
// "default","entries":[{"name":...,"shortDescription":...,
// "longDescription":...,"url":...,"href":...,"command":...,"mail":bool,
// "mailTo":...,"defaultSelected":bool}]}]}; the unit category's entries are
// {"name":...,"unitCategory":...}.
EMSCRIPTEN_KEEPALIVE const char* qm_catalogue(const char* utf8_user_catalogue,
                                              std::size_t length) {
  static std::string result;
  const OptionsEnvironment environment(utf8_user_catalogue, length);
  const NoSelections selections;
  qm::JsonWriter json;
  json.BeginObject().Key("categories").BeginArray();
  // The categories a user's catalogue can supply, in the menu's order. The
  // system entries never come from it, so the page has nothing to show of
  // them.
  for (const qm::CommandWord* command : qm::CommandsInMenuOrder()) {
    const qm::CatalogueCategory& category = *qm::FindCatalogueCategory(command->category);
    if (category.content == qm::CategoryContent::kSystemEntries) continue;
    const std::string prefix(category.prefix);
    json.BeginObject().Key("category").String(category.word);
    if (category.content == qm::CategoryContent::kUnits) {
      qm::SiteCatalogue catalogue;
      const qm::CatalogueSource source =
          qm::LoadCatalogue(environment, prefix, false, catalogue);
      json.Key("source").String(qm::CatalogueSourceWord(source)).Key("entries").BeginArray();
      WriteUnits(catalogue, json);
    } else {
      qm::SiteEntryList entries;
      qm::CatalogueSource source = qm::CatalogueSource::kBuiltInDefault;
      qm::CollectSiteEntries(environment, selections, prefix, false, entries, &source);
      json.Key("source").String(qm::CatalogueSourceWord(source)).Key("entries").BeginArray();
      WriteSiteEntries(entries, json);
    }
    json.EndArray().EndObject();
  }
  json.EndArray().EndObject();
  result = json.text();
  return result.c_str();
}

}  // extern "C"
