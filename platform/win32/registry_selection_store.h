// Remembered selections as REG_DWORD values of one registry key of the
// current user.
#pragma once

#include <windows.h>

#include <string>

#include "host/selection_store.h"

namespace qm {

// Each remembered value is a REG_DWORD value of the key, named by the entry's
// full section name; value names compare without regard to letter case in
// the registry itself. Reading opens an existing key for querying only and
// never creates it; a value of any other type or size reads as absent.
// Writing creates the key when needed and sets only the values it is given,
// each on its own, so the last write of a value wins. Names holding CR, LF or NUL are
// refused: the file store of other hosts cannot hold them and the 8-bit API
// would cut a name at a NUL.
class RegistrySelectionStore final : public SelectionStore {
 public:
  // The key under HKEY_CURRENT_USER.
  static constexpr const char* kDefaultSubKey = "Software\\VKR\\Quillmark";

  RegistrySelectionStore();
  // `root` is a predefined key such as HKEY_CURRENT_USER; it is not closed.
  RegistrySelectionStore(HKEY root, std::string sub_key);

  bool Read(const std::string& name, std::uint32_t* value) const override;
  bool Write(const std::vector<RememberedValue>& values) override;

 private:
  HKEY root_;
  std::string sub_key_;
};

}  // namespace qm
