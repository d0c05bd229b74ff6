// The module environment of the terminal host: the program's own path, files
// read with POSIX calls, and the built-in files compiled into the program.
#pragma once

#include "host/module_environment.h"

namespace qm {

class PosixModuleEnvironment final : public ModuleEnvironment {
 public:
  // `module_path` stands in for the program's own path when it is not empty;
  // the user's catalogue is then looked for beside it.
  explicit PosixModuleEnvironment(std::string module_path = {});

  std::string ModulePath() const override;
  bool ReadFile(const std::string& path, std::string* bytes) const override;
  std::string_view BuiltInFile(int id) const override;
  // The international currency symbol of the user's LC_MONETARY locale.
  std::string UserCurrencyCode() const override;
  std::optional<std::string> EnvironmentVariable(
      const std::string& name) const override;

 private:
  std::string module_path_;
};

}  // namespace qm
