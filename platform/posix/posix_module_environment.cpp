#include "posix_module_environment.h"

#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "compiled_in_files.h"
#include "error_text.h"
#include "posix_file.h"

namespace qm {
namespace {

constexpr std::size_t kNoLimit = static_cast<std::size_t>(-1);

bool ReadPath(const std::string& path, bool plain_only, std::size_t max_bytes,
              std::string* bytes, std::string* reason) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    *reason = errno == ENOENT ? "no such file" : SystemErrorText(errno);
    return false;
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) {
    *reason = SystemErrorText(errno);
    return false;
  }
  if (S_ISDIR(info.st_mode)) {
    *reason = "is a folder";
    return false;
  }
  if (plain_only && !S_ISREG(info.st_mode)) {
    *reason = "is not a plain file";
    return false;
  }
  if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode)) {
    *reason = "is a device, not a file";
    return false;
  }
  if (S_ISREG(info.st_mode) && static_cast<std::uint64_t>(info.st_size) > max_bytes) {
    *reason = "larger than " + std::to_string(max_bytes >> 20) + " MiB";
    return false;
  }
  bool too_long = false;
  if (!ReadToEnd(fd.get(), max_bytes, bytes, &too_long)) {
    *reason = too_long ? "larger than " + std::to_string(max_bytes >> 20) + " MiB"
                       : SystemErrorText(errno);
    return false;
  }
  return true;
}

}  // namespace

std::string UserConfigFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') {
    return std::string(config) + "/qmkit";
  }
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') {
    return std::string(home) + "/.config/qmkit";
  }
  return {};
}

bool ReadUserFile(const std::string& path, std::size_t max_bytes, std::string* bytes,
                  std::string* reason) {
  return ReadPath(path, false, max_bytes, bytes, reason);
}

bool CheckCatalogueFile(const std::string& path, std::string* reason) {
  // The loader reads the catalogue again after this check: only a plain
  // file gives the same bytes twice (a pipe would be empty by then).
  std::string bytes;
  if (!ReadPath(path, true, kNoLimit, &bytes, reason)) return false;
  if (bytes.find('\0') != std::string::npos) {
    *reason = "holds a NUL byte, not a text catalogue";
    return false;
  }
  return true;
}

PosixModuleEnvironment::PosixModuleEnvironment(std::string catalogue_path)
    : catalogue_path_(std::move(catalogue_path)) {}

std::string PosixModuleEnvironment::UserCataloguePath() const {
  if (!catalogue_path_.empty()) return catalogue_path_;
  const std::string folder = UserConfigFolder();
  return folder.empty() ? std::string() : folder + "/qmkit.ini";
}

std::string PosixModuleEnvironment::ModulePath() const {
  std::string path(256, '\0');
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    if (n < 0) return {};
    if (static_cast<std::size_t>(n) < path.size()) {
      path.resize(static_cast<std::size_t>(n));
      return path;
    }
    path.resize(path.size() * 2);
  }
}

bool PosixModuleEnvironment::ReadFile(const std::string& path,
                                      std::string* bytes) const {
  std::string reason;
  return ReadPath(path, true, kNoLimit, bytes, &reason);
}

std::string_view PosixModuleEnvironment::BuiltInFile(int id) const {
  return CompiledInFile(id);
}

std::string PosixModuleEnvironment::UserCurrencyCode() const {
  // A locale object of its own: the process locale stays "C" for the rest
  // of the program.
  const locale_t user = ::newlocale(LC_MONETARY_MASK, "", static_cast<locale_t>(0));
  if (user == static_cast<locale_t>(0)) return {};
  std::string symbol = ::nl_langinfo_l(INT_CURR_SYMBOL, user);
  ::freelocale(user);
  // "EUR " carries the separator that goes between code and amount.
  const std::size_t first = symbol.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const std::size_t last = symbol.find_last_not_of(" \t");
  return symbol.substr(first, last - first + 1);
}

std::optional<std::string> PosixModuleEnvironment::EnvironmentVariable(
    const std::string& name) const {
  const char* value = std::getenv(name.c_str());
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

}  // namespace qm
