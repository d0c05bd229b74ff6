// A ModuleEnvironment with fixed values: a module path, files held in
// memory, and the compiled-in built-in files unless a test replaces them.
#pragma once

#include <map>
#include <string>
#include <utility>

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
  void SetWorkArea(int width, int height) {
    work_area_ = {width, height};
    has_work_area_ = true;
  }
  void SetUserCurrencyCode(std::string code) { currency_ = std::move(code); }
  void SetEnvironmentVariable(const std::string& name, std::string value) {
    variables_[name] = std::move(value);
  }
  void SetWindowMetrics(WindowMetrics metrics) { metrics_ = metrics; }
  void SetExpansionLimits(TextLimits limits) { limits_ = limits; }
  // The stamp StampOf reports for `path`; none set, it reports none.
  void SetStamp(const std::string& path, FileStamp stamp) { stamps_[path] = stamp; }
  void KeepCatalogues(CatalogueCache* cache) { kept_ = cache; }

  std::string ModulePath() const override { return module_path_; }
  bool ReadFile(const std::string& path, std::string* bytes) const override;
  std::string_view BuiltInFile(int id) const override;
  bool PrimaryWorkArea(int* width, int* height) const override {
    if (!has_work_area_) return false;
    *width = work_area_.first;
    *height = work_area_.second;
    return true;
  }
  std::string UserCurrencyCode() const override { return currency_; }
  std::optional<std::string> EnvironmentVariable(
      const std::string& name) const override {
    const auto it = variables_.find(name);
    if (it == variables_.end()) return std::nullopt;
    return it->second;
  }
  WindowMetrics DesktopWindowMetrics() const override { return metrics_; }
  TextLimits ExpansionLimits() const override { return limits_; }
  bool StampOf(const std::string& path, FileStamp* stamp) const override {
    const auto it = stamps_.find(path);
    if (it == stamps_.end()) return false;
    *stamp = it->second;
    return true;
  }
  CatalogueCache* KeptCatalogues() const override { return kept_; }

  // How many times ReadFile was asked for a file.
  int reads() const { return reads_; }

 private:
  std::string module_path_;
  std::map<std::string, std::string> files_;
  std::map<int, std::string> built_ins_;
  std::pair<int, int> work_area_;
  bool has_work_area_ = false;
  std::string currency_;
  std::map<std::string, std::string> variables_;
  WindowMetrics metrics_;
  TextLimits limits_ = kWindowsTextLimits;
  std::map<std::string, FileStamp> stamps_;
  CatalogueCache* kept_ = nullptr;
  mutable int reads_ = 0;
};

}  // namespace qm
