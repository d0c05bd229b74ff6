// The module's entry points for the options page: the linter over the
// user's catalogue as the page's editor holds it, and the catalogue in force
// category by category.
//
// Both take the user's catalogue as UTF-8 text, the form the extension
// stores it in, and return JSON (UTF-8) in a buffer of the module's own:
// the text stays valid until the next call of the same function, so the
// caller reads it at once (UTF8ToString) and never frees it.
#include <emscripten.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/catalogue_lint.h"
#include "catalogue/catalogue_loader.h"
#include "catalogue/site_entries.h"
#include "extension_environment.h"
#include "text/json_writer.h"
#include "text/utf8.h"
#include "text/windows_1252.h"

namespace {

// The extension's environment with the user's catalogue handed in directly
// rather than brought by a click's request.
class OptionsEnvironment final : public qm::ExtensionEnvironment {
 public:
  explicit OptionsEnvironment(const char* user_catalogue) {
    if (user_catalogue != nullptr) user_catalogue_ = user_catalogue;
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

// The categories a user's catalogue can supply, in the menu's order. The
// system entries never come from it, so the page has nothing to show of
// them.
constexpr std::array<std::string_view, 13> kCategories = {
    "BOOK", "ISBN", "UPC", "MOVIE", "MUSIC", "SEARCH", "STOCK",
    "TRANSLATE", "URL", "EMAIL", "CURRENCY", "UNIT", "OTHER"};

const char* SourceWord(qm::CatalogueSource source) {
  switch (source) {
    case qm::CatalogueSource::kUserFile: return "user";
    case qm::CatalogueSource::kBuiltInDefault: return "default";
    case qm::CatalogueSource::kBuiltInSystem: return "system";
  }
  return "";
}

// Catalogue text is Windows-1252 inside the module.
std::u16string Wide(std::string_view narrow) {
  return qm::Windows1252CodePage().ToWide(narrow);
}

void WriteSiteEntries(const qm::SiteEntryList& entries, qm::JsonWriter& json) {
  for (const qm::SiteEntry& entry : entries) {
    json.BeginObject()
        .Key("name").String(Wide(entry.name))
        .Key("shortDescription").String(Wide(entry.shortDescription))
        .Key("longDescription").String(Wide(entry.longDescription))
        .Key("url").String(Wide(entry.url))
        .Key("href").String(Wide(entry.href))
        .Key("command").String(Wide(entry.command))
        .Key("mail").Bool(entry.isMail)
        .Key("mailTo").String(Wide(entry.MailTo))
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

struct UnheldCharacters {
  std::size_t lines = 0;               // lines holding such characters
  std::size_t first_omitted_line = 0;  // the first line not reported
};

// The catalogue is read in the Windows-1252 code page, as on the desktop,
// where a character it cannot hold becomes "?": a warning per line that
// holds one, naming the first, so that nothing is lost unseen.
UnheldCharacters ReportUnheldCharacters(std::string_view utf8, const qm::CodePage& code_page,
                                        qm::JsonWriter& json) {
  UnheldCharacters found;
  std::size_t line = 1;
  std::size_t start = 0;
  while (start <= utf8.size()) {
    const std::size_t end = std::min(utf8.find('\n', start), utf8.size());
    const std::u16string text = qm::FromUtf8(utf8.substr(start, end - start));
    for (std::size_t i = 0; i < text.size(); ++i) {
      const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF &&
                        text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
      const std::u16string_view character(text.data() + i, pair ? 2 : 1);
      if (character == u"?" || code_page.ToNarrow(character) != "?") continue;
      if (++found.lines <= qm::kLintFindingsShownPerKind) {
        json.BeginObject()
            .Key("line").Number(static_cast<long long>(line))
            .Key("severity").String("warning")
            .Key("kind").String("unheld-character")
            .Key("message").String(u"\"" + std::u16string(character) +
                                   u"\" and any other character that Windows-1252 cannot "
                                   u"hold become \"?\" when the catalogue is read")
            .EndObject();
      } else if (found.first_omitted_line == 0) {
        found.first_omitted_line = line;
      }
      break;
    }
    if (end == utf8.size()) break;
    start = end + 1;
    ++line;
  }
  return found;
}

}  // namespace

extern "C" {

// The linter's findings for the user's catalogue `utf8_catalogue`, checked
// as the loader will read it (as UTF-8, converted to Windows-1252):
// {"findings":[{"line":N,"severity":"error"|"warning"|"note","kind":...,
// "message":...}],"omitted":[{"line":N,"severity":...,"kind":...,"count":N}],
// "errors":N,"warnings":N,"notes":N}. The note that the text is read as
// UTF-8 is left out: the extension always stores it so.
EMSCRIPTEN_KEEPALIVE const char* qm_lint(const char* utf8_catalogue) {
  static std::string result;
  const qm::Windows1252CodePage code_page;
  const std::string text =
      std::string(qm::kUtf8ByteOrderMark) + (utf8_catalogue ? utf8_catalogue : "");
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
            .Key("message").String(code_page.ToWide(f.message))
            .EndObject();
      });
  const UnheldCharacters unheld = ReportUnheldCharacters(
      utf8_catalogue ? utf8_catalogue : "", code_page, json);
  json.EndArray().Key("omitted").BeginArray();
  if (unheld.lines > qm::kLintFindingsShownPerKind) {
    json.BeginObject()
        .Key("line").Number(static_cast<long long>(unheld.first_omitted_line))
        .Key("severity").String("warning")
        .Key("kind").String("unheld-character")
        .Key("count").Number(
            static_cast<long long>(unheld.lines - qm::kLintFindingsShownPerKind))
        .EndObject();
  }
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
      .Key("warnings").Number(static_cast<long long>(tally.warnings + unheld.lines))
      .Key("notes").Number(static_cast<long long>(tally.notes - utf8_notes))
      .EndObject();
  result = json.text();
  return result.c_str();
}

// The catalogue in force with the user's catalogue `utf8_user_catalogue`
// (UTF-8; null when there is none), loaded category by category as a
// command loads it, so a category the user's catalogue lacks comes from the
// built-in default: {"categories":[{"category":"ISBN","source":"user"|
// "default","entries":[{"name":...,"shortDescription":...,
// "longDescription":...,"url":...,"href":...,"command":...,"mail":bool,
// "mailTo":...,"defaultSelected":bool}]}]}; the unit category's entries are
// {"name":...,"unitCategory":...}.
EMSCRIPTEN_KEEPALIVE const char* qm_catalogue(const char* utf8_user_catalogue) {
  static std::string result;
  const OptionsEnvironment environment(utf8_user_catalogue);
  const NoSelections selections;
  qm::JsonWriter json;
  json.BeginObject().Key("categories").BeginArray();
  for (std::string_view word : kCategories) {
    const std::string prefix = std::string(word) + ":";
    json.BeginObject().Key("category").String(word);
    if (word == "UNIT") {
      qm::SiteCatalogue catalogue;
      const qm::CatalogueSource source =
          qm::LoadCatalogue(environment, prefix, false, catalogue);
      json.Key("source").String(SourceWord(source)).Key("entries").BeginArray();
      WriteUnits(catalogue, json);
    } else {
      qm::SiteEntryList entries;
      qm::CatalogueSource source = qm::CatalogueSource::kBuiltInDefault;
      qm::CollectSiteEntries(environment, selections, prefix, false, entries, &source);
      json.Key("source").String(SourceWord(source)).Key("entries").BeginArray();
      WriteSiteEntries(entries, json);
    }
    json.EndArray().EndObject();
  }
  json.EndArray().EndObject();
  result = json.text();
  return result.c_str();
}

}  // extern "C"
