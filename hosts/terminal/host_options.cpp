#include "host_options.h"

#include <string_view>

#include "file_selection_store.h"
#include "host/memory_selection_store.h"
#include "posix_module_environment.h"

namespace qm {

const char kHostOptionsUsage[] =
    "  --catalogue FILE       the user's catalogue (default: qmkit.ini in\n"
    "                         $XDG_CONFIG_HOME/qmkit or ~/.config/qmkit)\n"
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
  (option == "--catalogue" ? options->catalogue_file : options->config_dir) =
      argv[*i + 1];
  *i += 2;
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
