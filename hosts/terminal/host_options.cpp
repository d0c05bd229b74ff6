#include "host_options.h"

#include <iostream>

#include "file_selection_store.h"
#include "host/memory_selection_store.h"
#include "posix_module_environment.h"
#include "terminal_text.h"

namespace qm {

void AddHostOptions(OptionTable& table, HostOptions* options, std::string_view json_help) {
  table
      .Value("--catalogue", "FILE",
             "the user's catalogue; a FILE that cannot be read\n"
             "or is not text is an error (default: qmkit.ini in\n"
             "$XDG_CONFIG_HOME/qmkit or ~/.config/qmkit, and the\n"
             "built-in catalogue when that is missing)",
             [options](const std::string& path, std::string* error) {
               // Only the default location may be absent: a file the user
               // named and that cannot serve would otherwise be replaced by
               // the built-in catalogue without a word.
               std::string reason;
               if (!CheckCatalogueFile(path, &reason)) {
                 *error = "--catalogue " + path + ": " + reason;
                 return false;
               }
               options->catalogue_file = path;
               return true;
             })
      .Value("--config-dir", "DIR", "where remembered ticks live (default: that folder)",
             &options->config_dir)
      .Flag("--no-remember", "neither read nor keep remembered ticks",
            [options](const std::string&, std::string*) {
              options->remember = false;
              return true;
            })
      .Flag("--json", json_help, &options->json);
}

std::unique_ptr<SelectionStore> MakeSelectionStore(const HostOptions& options) {
  const std::string dir =
      options.config_dir.empty() ? UserConfigFolder() : options.config_dir;
  if (!options.remember || dir.empty()) {
    return std::make_unique<MemorySelectionStore>();
  }
  const std::string file = dir + "/selections";
  return std::make_unique<FileSelectionStore>(dir, [file](const std::string& why) {
    std::cerr << "qmkit: the remembered ticks in " << TerminalSafe(file, false)
              << " were not read (" << why << "); the defaults are used\n";
  });
}

}  // namespace qm
