// A ModuleEnvironment with fixed values: a module path, files held in
// memory, and the compiled-in built-in files unless a test replaces them.
#pragma once

#include <map>
#include <string>

#include "host/module_environment.h"

namespace qm {

class FakeModuleEnvironment final : public ModuleEnvironment {
 public:
  explicit FakeModuleEnvironment(std::string module_path = "C:\\Apps\\qmkit.dll")
      : module_path_(std::move(module_path)) {}

  void SetFile(const std::string& path, std::string bytes) {
    files_[path] = std::move(bytes);
  }
  void SetBuiltIn(int id, std::string bytes) { built_ins_[id] = std::move(bytes); }

  std::string ModulePath() const override { return module_path_; }
  bool ReadFile(const std::string& path, std::string* bytes) const override;
  std::string_view BuiltInFile(int id) const override;

  // How many times ReadFile was asked for a file.
  int reads() const { return reads_; }

 private:
  std::string module_path_;
  std::map<std::string, std::string> files_;
  std::map<int, std::string> built_ins_;
  mutable int reads_ = 0;
};

}  // namespace qm
