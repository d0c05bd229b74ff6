#include "catalogue/site_entry.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "text/ascii_fold.h"

namespace qm {
namespace {

struct TextKey {
  const char* key;
  std::string SiteEntry::*field;
};

struct FlagKey {
  const char* key;
  bool SiteEntry::*field;
};

constexpr std::array<TextKey, 15> kTextKeys = {{
    {"shortDescription", &SiteEntry::shortDescription},
    {"longDescription", &SiteEntry::longDescription},
    {"url", &SiteEntry::url},
    {"href", &SiteEntry::href},
    {"command", &SiteEntry::command},
    {"MailTo", &SiteEntry::MailTo},
    {"MailCC", &SiteEntry::MailCC},
    {"MailBCC", &SiteEntry::MailBCC},
    {"MailSubject", &SiteEntry::MailSubject},
    {"MailBody", &SiteEntry::MailBody},
    {"windowName", &SiteEntry::windowName},
    {"left", &SiteEntry::left},
    {"top", &SiteEntry::top},
    {"width", &SiteEntry::width},
    {"height", &SiteEntry::height},
}};

constexpr std::array<FlagKey, 13> kFlagKeys = {{
    {"useConsole", &SiteEntry::useConsole},
    {"leaveConsole", &SiteEntry::leaveConsole},
    {"URLEncode", &SiteEntry::URLEncode},
    {"directories", &SiteEntry::directories},
    {"fullScreen", &SiteEntry::fullScreen},
    {"location", &SiteEntry::location},
    {"menuBar", &SiteEntry::menuBar},
    {"resizable", &SiteEntry::resizable},
    {"scrollBars", &SiteEntry::scrollBars},
    {"status", &SiteEntry::status},
    {"toolBar", &SiteEntry::toolBar},
    {"exclusive", &SiteEntry::exclusive},
    {"defaultSelected", &SiteEntry::defaultSelected},
}};

UrlCharset CharsetOf(std::string_view value, UrlCharset fallback) {
  const auto first = value.find_first_not_of(" \t");
  if (first == std::string_view::npos) return fallback;
  value = value.substr(first, value.find_last_not_of(" \t") + 1 - first);
  if (CompareFolded(value, "utf-8") == 0) return UrlCharset::kUtf8;
  if (CompareFolded(value, "windows-1252") == 0) return UrlCharset::kWindows1252;
  return fallback;
}

}  // namespace

SiteEntry ReadSiteEntry(const CatalogueSection& section,
                        const SelectionStore& store) {
  SiteEntry entry;
  entry.name = std::string(section.name());
  for (const TextKey& t : kTextKeys) {
    if (section.HasValue(t.key)) entry.*t.field = section.GetString(t.key, "");
  }
  for (const FlagKey& f : kFlagKeys) {
    entry.*f.field = section.GetBool(f.key, entry.*f.field);
  }
  entry.charset = CharsetOf(section.GetString("charset", ""), entry.charset);
  entry.isMail = !entry.MailTo.empty() || !entry.MailCC.empty() ||
                 !entry.MailBCC.empty() || !entry.MailSubject.empty() ||
                 !entry.MailBody.empty();
  entry.selected = entry.defaultSelected;
  std::uint32_t remembered = 0;
  if (store.Read(entry.name, &remembered)) {
    entry.remembered = remembered != 0;
    entry.selected = *entry.remembered;
  }
  return entry;
}

std::vector<std::string_view> SiteEntryKeys() {
  std::vector<std::string_view> keys;
  for (const TextKey& t : kTextKeys) keys.push_back(t.key);
  for (const FlagKey& f : kFlagKeys) keys.push_back(f.key);
  keys.push_back("charset");
  return keys;
}

const std::string& DisplayDescription(const SiteEntry& entry) {
  return entry.longDescription.empty() ? entry.shortDescription
                                       : entry.longDescription;
}

}  // namespace qm
