#include "catalogue/site_entry_json.h"

namespace qm {

void WriteSiteEntryActions(const SiteEntry& entry, const CodePage& code_page,
                           JsonWriter& json) {
  const auto wide = [&](const std::string& narrow) { return code_page.ToWide(narrow); };
  json.Key("shortDescription").String(wide(entry.shortDescription))
      .Key("longDescription").String(wide(entry.longDescription))
      .Key("url").String(wide(entry.url))
      .Key("href").String(wide(entry.href))
      .Key("command").String(wide(entry.command))
      .Key("mail").Bool(entry.isMail);
}

}  // namespace qm
