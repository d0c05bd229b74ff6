// The module environment on Windows: the path of the module that holds this
// code, files read with the Win32 file API, and the module's own FILE
// resources.
#pragma once

#include <windows.h>

#include "host/module_environment.h"
#include "win32_code_page.h"

namespace qm {

// Paths are 8-bit text in the ANSI code page, as the "A" functions take
// them. Built-in files are the resources of type "FILE" of the module that
// contains this code (the DLL when linked into it, the program otherwise),
// not of the process's executable.
class Win32ModuleEnvironment final : public ModuleEnvironment {
 public:
  // `module_path` stands in for the module's own path when it is not empty;
  // the user's catalogue is then looked for beside it. Resources still come
  // from the module that contains this code.
  // `kept`, when given, holds the parsed catalogues that outlive this
  // environment (the module's, for all its commands).
  explicit Win32ModuleEnvironment(std::string module_path = {}, CatalogueCache* kept = nullptr);

  // The module that contains this code.
  static HMODULE OwnModule();

  std::string ModulePath() const override;
  // Only regular files are read: a directory, a device or a pipe fails.
  bool ReadFile(const std::string& path, std::string* bytes) const override;
  std::string_view BuiltInFile(int id) const override;
  // The size and last-write time GetFileAttributesEx reports for a file
  // (not a directory).
  bool StampOf(const std::string& path, FileStamp* stamp) const override;
  CatalogueCache* KeptCatalogues() const override { return kept_; }
  // SPI_GETWORKAREA of the primary screen.
  bool PrimaryWorkArea(int* width, int* height) const override;
  // LOCALE_SINTLSYMBOL of the user's default locale.
  std::string UserCurrencyCode() const override;
  std::optional<std::string> EnvironmentVariable(
      const std::string& name) const override;
  // SM_CXFRAME, SM_CYFRAME, SM_CXVSCROLL and SM_CYMENU.
  WindowMetrics DesktopWindowMetrics() const override;
  // The ANSI code page, in which Windows hands out 8-bit text.
  const CodePage& SystemCodePage() const override;

 private:
  std::string module_path_;
  CatalogueCache* kept_;
  Win32CodePage code_page_;
};

}  // namespace qm
