#include "host/memory_selection_store.h"

namespace qm {

bool MemorySelectionStore::Read(const std::string& name,
                                std::uint32_t* value) const {
  const auto it = values_.find(name);
  if (it == values_.end()) return false;
  *value = it->second;
  return true;
}

bool MemorySelectionStore::Write(const std::vector<RememberedValue>& values) {
  bool all = true;
  for (const RememberedValue& v : values) {
    if (v.name.find_first_of("\r\n") != std::string::npos) {
      all = false;
      continue;
    }
    // Like a registry value, a name keeps the spelling it was first written
    // with while later writes in other letter case update it.
    const auto it = values_.find(v.name);
    if (it != values_.end()) {
      if (!v.only_if_absent) it->second = v.value;
    } else {
      values_.emplace(v.name, v.value);
    }
  }
  return all;
}

}  // namespace qm
