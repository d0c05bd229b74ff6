#include "host/module_environment.h"

#include "text/windows_1252.h"

namespace qm {

const CodePage& ModuleEnvironment::SystemCodePage() const {
  static const Windows1252CodePage code_page;
  return code_page;
}

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
