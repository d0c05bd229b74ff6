// The port that remembers, per user, which entries were ticked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qm {

// One remembered value: the entry's full section name (8-bit, system code
// page, such as "ISBN:ShopCom") and 1 for ticked, 0 for not ticked.
struct RememberedValue {
  std::string name;
  std::uint32_t value = 0;
  // Store it only when the name has no value yet: a default that the user
  // left alone must not undo a tick another command stored meanwhile.
  bool only_if_absent = false;
};

// Names compare without regard to ASCII letter case, as registry value
// names do. Values of other names are never touched.
class SelectionStore {
 public:
  virtual ~SelectionStore() = default;

  // On success stores the remembered value of `name` in *value and returns
  // true. Returns false when there is none or it cannot be read. Reading
  // never creates anything.
  virtual bool Read(const std::string& name, std::uint32_t* value) const = 0;

  // Stores every value of `values` (an only_if_absent one only when its
  // name has no value that Read would find), creating the store when
  // needed, and touches no other value. Returns false when any of them could not be
  // stored; the others are stored all the same where the store allows it.
  // A name holding a line break cannot be stored. An empty `values` stores
  // nothing and succeeds.
  virtual bool Write(const std::vector<RememberedValue>& values) = 0;
};

}  // namespace qm
