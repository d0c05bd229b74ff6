#include "catalogue/site_entry.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "text/ascii_fold.h"

namespace qm {
namespace {

using enum SiteEntryKeyKind;

constexpr std::array<SiteEntryKey, 29> kKeys = {{
    {"shortDescription", kText, &SiteEntry::shortDescription},
    {"longDescription", kText, &SiteEntry::longDescription},
    {"url", kTemplate, &SiteEntry::url},
    {"href", kTemplate, &SiteEntry::href},
    {"command", kTemplate, &SiteEntry::command},
    {"MailTo", kTemplate, &SiteEntry::MailTo},
    {"MailCC", kTemplate, &SiteEntry::MailCC},
    {"MailBCC", kTemplate, &SiteEntry::MailBCC},
    {"MailSubject", kTemplate, &SiteEntry::MailSubject},
    {"MailBody", kTemplate, &SiteEntry::MailBody},
    {"windowName", kText, &SiteEntry::windowName},
    {"left", kText, &SiteEntry::left},
    {"top", kText, &SiteEntry::top},
    {"width", kText, &SiteEntry::width},
    {"height", kText, &SiteEntry::height},
    {"useConsole", kFlag, nullptr, &SiteEntry::useConsole},
    {"leaveConsole", kFlag, nullptr, &SiteEntry::leaveConsole},
    {"URLEncode", kFlag, nullptr, &SiteEntry::URLEncode},
    {"directories", kFlag, nullptr, &SiteEntry::directories},
    {"fullScreen", kFlag, nullptr, &SiteEntry::fullScreen},
    {"location", kFlag, nullptr, &SiteEntry::location},
    {"menuBar", kFlag, nullptr, &SiteEntry::menuBar},
    {"resizable", kFlag, nullptr, &SiteEntry::resizable},
    {"scrollBars", kFlag, nullptr, &SiteEntry::scrollBars},
    {"status", kFlag, nullptr, &SiteEntry::status},
    {"toolBar", kFlag, nullptr, &SiteEntry::toolBar},
    {"exclusive", kFlag, nullptr, &SiteEntry::exclusive},
    {"defaultSelected", kFlag, nullptr, &SiteEntry::defaultSelected},
    {"charset", kCharset},
}};

}  // namespace

std::optional<UrlCharset> UrlCharsetNamed(std::string_view value) {
  const auto first = value.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::nullopt;
  value = value.substr(first, value.find_last_not_of(" \t") + 1 - first);
  if (CompareFolded(value, "utf-8") == 0) return UrlCharset::kUtf8;
  if (CompareFolded(value, "windows-1252") == 0) return UrlCharset::kWindows1252;
  return std::nullopt;
}

SiteEntry ReadSiteEntry(const CatalogueSection& section,
                        const SelectionStore& store) {
  SiteEntry entry;
  entry.name = std::string(section.name());
  for (const SiteEntryKey& key : kKeys) {
    switch (key.kind) {
      case kText:
      case kTemplate:
        if (section.HasValue(key.name)) entry.*key.text = section.GetString(key.name, "");
        break;
      case kFlag:
        entry.*key.flag = section.GetBool(key.name, entry.*key.flag);
        break;
      case kCharset:
        entry.charset =
            UrlCharsetNamed(section.GetString(key.name, "")).value_or(entry.charset);
        break;
    }
  }
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

std::span<const SiteEntryKey> SiteEntryKeys() { return kKeys; }

const std::string& DisplayDescription(const SiteEntry& entry) {
  return entry.longDescription.empty() ? entry.shortDescription
                                       : entry.longDescription;
}

}  // namespace qm
