// A SelectionStore that lives in memory only: for tests, and for runs that
// must leave nothing behind.
#pragma once

#include <map>

#include "host/selection_store.h"
#include "text/ascii_fold.h"

namespace qm {

class MemorySelectionStore final : public SelectionStore {
 public:
  bool Read(const std::string& name, std::uint32_t* value) const override;
  bool Write(const std::vector<RememberedValue>& values) override;

  // Everything stored so far, in folded name order.
  const std::map<std::string, std::uint32_t, FoldedLess>& values() const {
    return values_;
  }

 private:
  std::map<std::string, std::uint32_t, FoldedLess> values_;
};

}  // namespace qm
