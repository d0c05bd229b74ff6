// The module environment of the terminal host: the program's own path, files
// read with POSIX calls, and the built-in files compiled into the program.
#pragma once

#include <cstddef>

#include "host/module_environment.h"

namespace qm {

// The user's configuration folder of the terminal host: $XDG_CONFIG_HOME/qmkit
// when that is an absolute path, else $HOME/.config/qmkit; empty when
// neither is known.
std::string UserConfigFolder();

// Reads the file at `path` that the user named for qmkit to read: a plain
// file, or a pipe such as <(...), of at most `max_bytes` bytes. On success
// stores its bytes in *bytes and returns true; otherwise returns false with
// the reason in *reason: "no such file", "is a folder", "is a device, not a
// file" (/dev/zero never ends), "larger than <n> MiB" (read no further than
// that), or the system's text for the error ("permission denied").
bool ReadUserFile(const std::string& path, std::size_t max_bytes, std::string* bytes,
                  std::string* reason);

// Whether the file at `path` can serve as the user's catalogue: a plain
// file that can be read and holds text. Returns false with the reason in
// *reason when it cannot: those of ReadUserFile, "is not a plain file", or
// "holds a NUL byte, not a text catalogue".
bool CheckCatalogueFile(const std::string& path, std::string* reason);

// How long an expanded text may be here. An address up to 2 MiB
// characters, what the common browsers take (one handed to the browser with
// --open must also fit Linux's 128 KiB for one program argument). A command
// line up to 32,766 characters, as on Windows, so a line that runs here runs
// there too; even at three UTF-8 bytes a character it fits in one argument.
// There is no console interpreter here, so its line has the same limit. A
// mail field up to a megabyte, as on Windows.
inline constexpr TextLimits kTerminalTextLimits = {
    std::size_t{1} << 21, kWindowsTextLimits.command_line,
    kWindowsTextLimits.command_line, kWindowsTextLimits.mail_field};

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
  // kTerminalTextLimits.
  TextLimits ExpansionLimits() const override { return kTerminalTextLimits; }

 private:
  std::string catalogue_path_;
};

}  // namespace qm
