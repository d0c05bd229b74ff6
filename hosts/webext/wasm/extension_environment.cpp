#include "extension_environment.h"

#include "catalogue/catalogue_cache.h"
#include "catalogue/catalogue_loader.h"
#include "compiled_in_files.h"
#include "extension_bridge.h"
#include "text/json_writer.h"
#include "recognisers/currency_table.h"
#include "text/ascii_fold.h"
#include "text/utf8.h"
#include "text/windows_1252.h"

namespace qm {

std::optional<std::string> ExtensionEnvironment::UserCatalogueText() const {
  return RequestString("catalogue");
}

bool ExtensionEnvironment::ReadFile(const std::string& path, std::string* bytes) const {
  if (path != UserCataloguePath()) return false;
  const std::optional<std::string> text = UserCatalogueText();
  if (!text) return false;
  *bytes = std::string(kUtf8ByteOrderMark) + *text;
  return true;
}

CatalogueCache* ExtensionEnvironment::KeptCatalogues() const {
  static CatalogueCache kept;
  return &kept;
}

std::string_view ExtensionEnvironment::BuiltInFile(int id) const {
  return CompiledInFile(id);
}

bool ExtensionEnvironment::PrimaryWorkArea(int* width, int* height) const {
  const std::optional<double> w = RequestNumber("screen.availWidth");
  const std::optional<double> h = RequestNumber("screen.availHeight");
  if (!w || !h || *w <= 0 || *h <= 0) return false;
  *width = static_cast<int>(*w);
  *height = static_cast<int>(*h);
  return true;
}

std::string ExtensionEnvironment::UserCurrencyCode() const {
  // "de-CH", "pt-BR", "en": the region after the first "-", if any.
  const std::string language = RequestString("language").value_or("");
  const std::size_t dash = language.find('-');
  if (dash == std::string::npos) return {};
  const std::string region = language.substr(dash + 1);
  const CurrencyInfo* currency =
      FindCurrencyByDomain(FoldAsciiCopy(region.substr(0, region.find('-'))));
  return currency == nullptr ? std::string() : std::string(currency->isoCode);
}

namespace {

// Names are the catalogue's 8-bit text; the extension keeps them as UTF-8.
std::u16string WideName(const std::string& name) {
  return Windows1252CodePage().ToWide(name);
}

}  // namespace

std::string TickKey(std::string_view name) { return FoldAsciiCopy(name); }

bool ExtensionSelectionStore::Read(const std::string& name, std::uint32_t* value) const {
  const std::optional<double> stored = RequestNumber("tick:" + TickKey(ToUtf8(WideName(name))));
  if (!stored || *stored < 0) return false;
  *value = static_cast<std::uint32_t>(*stored);
  return true;
}

bool ExtensionSelectionStore::Write(const std::vector<RememberedValue>& values) {
  using namespace protocol;
  JsonWriter json = BeginRequest(kRequestStore);
  json.Key(kFieldValues).BeginArray();
  bool any = false;
  bool all_storable = true;
  for (const RememberedValue& v : values) {
    if (v.name.find_first_of("\r\n") != std::string::npos) {
      all_storable = false;
      continue;
    }
    std::uint32_t existing = 0;
    if (v.only_if_absent && Read(v.name, &existing)) continue;
    const std::u16string name = WideName(v.name);
    json.BeginObject()
        .Key(kFieldKey).String(TickKey(ToUtf8(name)))
        .Key(kFieldName).String(name)
        .Key(kFieldValue).Number(v.value)
        .EndObject();
    any = true;
  }
  json.EndArray().EndObject();
  if (!any) return all_storable;
  return AnswerDone(AskExtension(json.text())) && all_storable;
}

}  // namespace qm
