// Remembered selections in a small text file under the user's configuration
// folder, for hosts without a registry.
#pragma once

#include <string>

#include "host/selection_store.h"

namespace qm {

// The file "<directory>/selections" holds one line per name: the decimal
// value, a tab, and the name to the end of the line. Lines it does not
// understand are kept as they are. Writers take an exclusive lock on
// "<directory>/selections.lock", re-read the file, merge their values and
// replace the file by renaming a completed temporary file over it, so two
// commands saving at once lose neither's values and a reader never sees a
// half-written file. Reading never creates anything.
class FileSelectionStore final : public SelectionStore {
 public:
  explicit FileSelectionStore(std::string directory);

  bool Read(const std::string& name, std::uint32_t* value) const override;
  bool Write(const std::vector<RememberedValue>& values) override;

  const std::string& file_path() const { return file_path_; }

 private:
  std::string directory_;
  std::string file_path_;
};

}  // namespace qm
