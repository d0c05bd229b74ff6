#include "posix_module_environment.h"

#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "compiled_in_files.h"
#include "posix_file.h"

namespace qm {

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
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return false;
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  return ReadToEnd(fd.get(), bytes);
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
