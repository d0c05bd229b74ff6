// The options every qmkit command reads besides the page: where the
// catalogue and the remembered ticks live, and how to print.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "host/selection_store.h"
#include "option_table.h"

namespace qm {

struct HostOptions {
  std::string catalogue_file;  // --catalogue FILE
  std::string config_dir;      // --config-dir DIR
  bool remember = true;        // --no-remember: ticks neither read nor kept
  bool json = false;           // --json
};

// Adds the host options to `table`, each storing into *options, with
// `json_help` as the help of --json. A --catalogue file that cannot serve
// (CheckCatalogueFile) is a usage error.
void AddHostOptions(OptionTable& table, HostOptions* options,
                    std::string_view json_help = "print the result as JSON");

// The store of remembered ticks the options ask for: the file store in the
// configuration folder, or one in memory with --no-remember or when there
// is no folder to keep it in. A file store tells on stderr, once, when its
// file cannot be read.
std::unique_ptr<SelectionStore> MakeSelectionStore(const HostOptions& options);

}  // namespace qm
