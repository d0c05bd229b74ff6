// The port through which the core learns where it lives and reads the files
// and built-in data that belong to the module.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/code_page.h"

namespace qm {

// The longest texts, in UTF-16 code units, that the places an entry's
// expanded templates go to take. A text that would be longer is refused
// with a message, never cut: a cut address or command line does something
// the author did not write.
struct TextLimits {
  std::size_t address = 0;       // an address opened, followed or navigated to
  std::size_t command_line = 0;  // a command line started as it is
  std::size_t console_line = 0;  // a command line handed to the interpreter
  std::size_t mail_field = 0;    // one field of a message for the mail program
};

// What the Windows browser and the Win32 calls take, for the Windows module:
// the browser's longest address (2,083 characters), CreateProcess's command
// line (32,767 with its terminating NUL), and the console's line (8,191
// characters). Simple MAPI sets no limit of its own; a field is held to a
// megabyte so that a runaway template cannot exhaust memory.
inline constexpr TextLimits kWindowsTextLimits = {2083, 32766, 8191, 1u << 20};

class CatalogueCache;

// What tells whether a file changed since it was last read: its size and
// the time it was last written, in the file system's own units.
struct FileStamp {
  std::uint64_t size = 0;
  std::int64_t written = 0;
  bool operator==(const FileStamp&) const = default;
};

class ModuleEnvironment {
 public:
  virtual ~ModuleEnvironment() = default;

  // The full path of the module's own file (the DLL, not the host process;
  // the executable for a host that is a program), as 8-bit text in the
  // system code page. Empty when it cannot be found.
  virtual std::string ModulePath() const = 0;

  // The user's catalogue file. By default the module's path with its
  // extension replaced by ".ini" ("C:\\Apps\\qmkit.dll" gives
  // "C:\\Apps\\qmkit.ini"); a file name without an extension gets ".ini"
  // appended, and a "." in a folder name is not taken for one. Empty when
  // the module path is unknown.
  virtual std::string UserCataloguePath() const;

  // Reads the whole file at `path`, opened shared for reading and only if it
  // exists. On success stores its bytes in *bytes and returns true; on
  // failure returns false and leaves *bytes untouched.
  virtual bool ReadFile(const std::string& path, std::string* bytes) const = 0;

  // The built-in file resource `id` (see resource_ids.h). The bytes live as
  // long as the module. Empty when there is no such resource.
  virtual std::string_view BuiltInFile(int id) const = 0;

  // The size and last-write time of the file at `path`. False when the
  // file is not there or the host cannot tell; a file is then read afresh.
  virtual bool StampOf(const std::string& path, FileStamp* stamp) const {
    (void)path, (void)stamp;
    return false;
  }

  // Parsed catalogues that this host keeps from one command to the next,
  // or none: a host whose module serves many commands keeps them (see
  // CatalogueCache); a program that serves one parses afresh.
  virtual CatalogueCache* KeptCatalogues() const { return nullptr; }

  // The size of the primary screen's work area (the desktop less task bars)
  // in pixels. Returns false when the system cannot say.
  virtual bool PrimaryWorkArea(int* width, int* height) const {
    (void)width, (void)height;
    return false;
  }

  // The user's own currency as its three-letter international code (such
  // as "EUR"), from the user's locale settings; empty when unknown.
  virtual std::string UserCurrencyCode() const { return {}; }

  // The value of an environment variable as 8-bit text, or nullopt when it
  // is not set.
  virtual std::optional<std::string> EnvironmentVariable(
      const std::string& name) const {
    (void)name;
    return std::nullopt;
  }

  // Sizes of window parts on this desktop, in pixels, that new browser
  // windows are cascaded by.
  struct WindowMetrics {
    int frame_width = 4;      // sizing frame, horizontal
    int frame_height = 4;     // sizing frame, vertical
    int scroll_bar_width = 16;  // vertical scroll bar
    int menu_height = 19;     // a single-line menu bar
  };
  virtual WindowMetrics DesktopWindowMetrics() const { return {}; }

  // The system code page, in which the module's 8-bit text is; a user's
  // catalogue saved as UTF-8 is converted to it. Windows-1252 unless the
  // host has a code page of its own. The object lives as long as the
  // environment.
  virtual const CodePage& SystemCodePage() const;

  // How long an expanded address, command line or mail field may be where
  // this host sends it. kWindowsTextLimits unless the host says otherwise.
  virtual TextLimits ExpansionLimits() const { return kWindowsTextLimits; }
};

}  // namespace qm
