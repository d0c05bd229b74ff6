#include "host_options.h"

#include <string_view>

#include "file_selection_store.h"
#include "host/memory_selection_store.h"
#include "posix_module_environment.h"

namespace qm {

const char kHostOptionsUsage[] =
    "  --catalogue FILE       the user's catalogue; a FILE that cannot be read\n"
    "                         or is not text is an error (default: qmkit.ini in\n"
    "                         $XDG_CONFIG_HOME/qmkit or ~/.config/qmkit, and the\n"
    "                         built-in catalogue when that is missing)\n"
    "  --config-dir DIR       where remembered ticks live (default: that folder)\n"
    "  --no-remember          neither read nor keep remembered ticks\n"
    "  --json                 print the result as JSON\n";

bool TakeHostOption(int argc, char** argv, int* i, HostOptions* options,
                    std::string* error) {
  const std::string_view option = argv[*i];
  if (option == "--no-remember" || option == "--json") {
    (option == "--json" ? options->json : options->remember) = option == "--json";
    ++*i;
    return true;
  }
  if (option != "--catalogue" && option != "--config-dir") return false;
  if (*i + 1 >= argc) {
    *error = std::string(option) + " needs a value";
    return true;
  }
  const std::string value = argv[*i + 1];
  *i += 2;
  if (option == "--config-dir") {
    options->config_dir = value;
    return true;
  }
  // Only the default location may be absent: a file the user named and
  // that cannot serve would otherwise be replaced by the built-in
  // catalogue without a word.
  std::string reason;
  if (!CheckCatalogueFile(value, &reason)) {
    *error = "--catalogue " + value + ": " + reason;
    return true;
  }
  options->catalogue_file = value;
  return true;
}

std::unique_ptr<SelectionStore> MakeSelectionStore(const HostOptions& options) {
  const std::string dir =
      options.config_dir.empty() ? UserConfigFolder() : options.config_dir;
  if (!options.remember || dir.empty()) {
    return std::make_unique<MemorySelectionStore>();
  }
  return std::make_unique<FileSelectionStore>(dir);
}

}  // namespace qm
