#include "support/fake_module_environment.h"

#include "compiled_in_files.h"

namespace qm {

bool FakeModuleEnvironment::ReadFile(const std::string& path,
                                     std::string* bytes) const {
  ++reads_;
  const auto it = files_.find(path);
  if (it == files_.end()) return false;
  *bytes = it->second;
  return true;
}

std::string_view FakeModuleEnvironment::BuiltInFile(int id) const {
  const auto it = built_ins_.find(id);
  if (it != built_ins_.end()) return it->second;
  return CompiledInFile(id);
}

}  // namespace qm
