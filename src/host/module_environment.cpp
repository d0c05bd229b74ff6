#include "host/module_environment.h"

namespace qm {

std::string ModuleEnvironment::UserCataloguePath() const {
  std::string path = ModulePath();
  if (path.empty()) return path;
  const std::size_t slash = path.find_last_of("\\/");
  const std::size_t dot = path.rfind('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
    path.erase(dot);
  }
  return path + ".ini";
}

}  // namespace qm
