// One site or action of a category, as the choice dialog lists it and the
// actions carry it out.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/site_catalogue.h"
#include "host/selection_store.h"

namespace qm {

// How the values that templates insert are percent-encoded (key `charset`).
enum class UrlCharset {
  // "windows-1252", the default: characters up to U+00FF as one byte each,
  // anything above as "%20". Old sites decode queries this way.
  kWindows1252,
  // "utf-8": every character as its UTF-8 bytes, as most sites expect today.
  kUtf8,
};

// Text fields are 8-bit text exactly as in the catalogue; templates are
// expanded only when the entry is carried out. A key that is missing or
// empty leaves its field at the default shown.
struct SiteEntry {
  std::string shortDescription;     // the entry's line in the choice list
  std::string longDescription;      // a longer explanation
  std::string url;                  // address template for a new window
  std::string href;                 // address to follow as a link; wins over url
  std::string command;              // command-line template
  bool useConsole = false;          // run through the command interpreter
  bool leaveConsole = false;        // keep the interpreter's console open
  bool URLEncode = true;            // percent-encode inserted values
  UrlCharset charset = UrlCharset::kWindows1252;  // how they are encoded
  bool isMail = false;              // any of the five mail fields is set
  std::string MailTo;
  std::string MailCC;
  std::string MailBCC;
  std::string MailSubject;
  std::string MailBody;
  std::string windowName = "_blank";
  std::string left;                 // window position and size values
  std::string top;
  std::string width;
  std::string height;
  bool directories = true;          // window features
  bool fullScreen = false;
  bool location = true;
  bool menuBar = true;
  bool resizable = true;
  bool scrollBars = true;
  bool status = true;
  bool titleBar = true;             // no key sets it
  bool toolBar = true;
  bool exclusive = false;           // at most one exclusive entry is ticked
  bool defaultSelected = false;     // ticked when nothing is remembered
  std::string name;                 // full section name, also the remembered value's name
  bool selected = false;            // ticked
  // The tick remembered for `name` when the entry was read, if there was
  // one. A save writes only the ticks that differ from it, so that another
  // dialog of the category confirmed meanwhile keeps what it changed.
  std::optional<bool> remembered;
};

// An entry list owns its entries, in the order the dialog shows them.
using SiteEntryList = std::vector<SiteEntry>;

// Builds the entry of one section: defaults, then the section's keys (a
// flag whose first character is not one of YyTt1NnFf0 keeps its default;
// `charset` takes "utf-8" or "windows-1252" in any letter case, blanks
// around them ignored, and any other value keeps the default),
// then `selected` from `defaultSelected`, overridden by the value remembered
// in `store` (non-zero means ticked), which `remembered` keeps. Never fails.
SiteEntry ReadSiteEntry(const CatalogueSection& section,
                        const SelectionStore& store);

// What ReadSiteEntry makes of a key's value.
enum class SiteEntryKeyKind {
  kText,      // taken as written when not empty
  kTemplate,  // the same, expanded when the entry is carried out; an entry
              // with one of these set does something when chosen
  kFlag,      // decided by its first character (CatalogueSection::GetBool)
  kCharset,   // UrlCharsetNamed
};

// One key ReadSiteEntry reads, in the spelling of the built-in catalogue
// (keys match without regard to case), and the field it fills.
struct SiteEntryKey {
  std::string_view name;
  SiteEntryKeyKind kind;
  std::string SiteEntry::*text = nullptr;  // kText and kTemplate
  bool SiteEntry::*flag = nullptr;         // kFlag
};

// Every key ReadSiteEntry reads, each once.
std::span<const SiteEntryKey> SiteEntryKeys();

// The charset a `charset` value names: "utf-8" or "windows-1252" in any
// letter case, blanks and tabs around them ignored; none for any other
// value, an empty one included.
std::optional<UrlCharset> UrlCharsetNamed(std::string_view value);

// longDescription when it is not empty, else shortDescription.
const std::string& DisplayDescription(const SiteEntry& entry);

}  // namespace qm
