// The module environment of the terminal host: the program's own path, files
// read with POSIX calls, and the built-in files compiled into the program.
#pragma once

#include "host/module_environment.h"

namespace qm {

// The user's configuration folder of the terminal host: $XDG_CONFIG_HOME/qmkit
// when that is an absolute path, else $HOME/.config/qmkit; empty when
// neither is known.
std::string UserConfigFolder();

class PosixModuleEnvironment final : public ModuleEnvironment {
 public:
  // The user's catalogue is `catalogue_path` when it is not empty, else
  // qmkit.ini in the user's configuration folder ($XDG_CONFIG_HOME/qmkit,
  // else ~/.config/qmkit).
  explicit PosixModuleEnvironment(std::string catalogue_path = {});

  // The program's own path.
  std::string ModulePath() const override;
  std::string UserCataloguePath() const override;
  bool ReadFile(const std::string& path, std::string* bytes) const override;
  std::string_view BuiltInFile(int id) const override;
  // The international currency symbol of the user's LC_MONETARY locale.
  std::string UserCurrencyCode() const override;
  std::optional<std::string> EnvironmentVariable(
      const std::string& name) const override;

 private:
  std::string catalogue_path_;
};

}  // namespace qm
