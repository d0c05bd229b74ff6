// The options every qmkit command reads besides the page: where the
// catalogue and the remembered ticks live, and how to print.
#pragma once

#include <memory>
#include <string>

#include "host/selection_store.h"

namespace qm {

struct HostOptions {
  std::string catalogue_file;  // --catalogue FILE
  std::string config_dir;      // --config-dir DIR
  bool remember = true;        // --no-remember: ticks neither read nor kept
  bool json = false;           // --json
};

extern const char kHostOptionsUsage[];

// Takes argv[*i] (and its value) when it is a host option, advancing *i.
// Returns false when it is none; on a missing value, or a --catalogue file
// that cannot serve (CheckCatalogueFile), returns true with a description
// in *error.
bool TakeHostOption(int argc, char** argv, int* i, HostOptions* options,
                    std::string* error);

// The store of remembered ticks the options ask for: the file store in the
// configuration folder, or one in memory with --no-remember or when there
// is no folder to keep it in.
std::unique_ptr<SelectionStore> MakeSelectionStore(const HostOptions& options);

}  // namespace qm
