// Where the core lives inside the extension: the built-in catalogues are
// compiled in, the user's catalogue and the remembered ticks come from the
// extension's storage with the click's request, and the screen and the
// user's language from the page.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/module_environment.h"
#include "host/selection_store.h"

namespace qm {

// How long an expanded text may be in the browser: an address up to
// 2 MiB characters, what Chromium and Firefox take; a command line, as on
// Windows, so that a line the native host starts runs there too; a mail
// field up to a megabyte.
inline constexpr TextLimits kBrowserTextLimits = {
    std::size_t{1} << 21, kWindowsTextLimits.command_line,
    kWindowsTextLimits.command_line, kWindowsTextLimits.mail_field};

class ExtensionEnvironment : public ModuleEnvironment {
 public:
  // A name, not a file: the extension has no folder of its own to write in.
  std::string ModulePath() const override { return "qmkit"; }
  std::string UserCataloguePath() const override { return "qmkit.ini"; }
  // Only the user's catalogue can be read: its text as the options page
  // saved it, marked as UTF-8.
  bool ReadFile(const std::string& path, std::string* bytes) const override;
  std::string_view BuiltInFile(int id) const override;
  bool PrimaryWorkArea(int* width, int* height) const override;
  // The currency of the country of the browser's language ("de-CH" gives
  // CHF), else none.
  std::string UserCurrencyCode() const override;
  TextLimits ExpansionLimits() const override { return kBrowserTextLimits; }
  // The module lives from click to click: its parsed catalogues are kept
  // for the next (the user's text comes with each click, and is parsed
  // again only when it is not the text parsed before).
  CatalogueCache* KeptCatalogues() const override;

 protected:
  // The user's catalogue as the extension stores it (UTF-8), or nullopt
  // when there is none: the click's request brings it.
  virtual std::optional<std::string> UserCatalogueText() const;
};

// The key under which the extension keeps the tick of the entry `name`
// (UTF-8): the name with A-Z folded to a-z, as the core compares names.
// Every key is made here: the store request carries it, and the options
// page asks for it through the module.
//   TickKey("ISBN:WorldCat") -> "isbn:worldcat"
std::string TickKey(std::string_view name);

// The ticks the extension keeps in its storage. Reads are answered from the
// copy the click's request brought; writes go to the extension, which
// stores them before the flow goes on.
class ExtensionSelectionStore final : public SelectionStore {
 public:
  bool Read(const std::string& name, std::uint32_t* value) const override;
  bool Write(const std::vector<RememberedValue>& values) override;
};

}  // namespace qm
