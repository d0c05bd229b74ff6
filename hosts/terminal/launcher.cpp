#include "launcher.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

extern char** environ;

namespace qm {
namespace {

bool Spawn(std::vector<std::string> argv, std::string* error) {
  std::vector<char*> pointers;
  for (std::string& arg : argv) pointers.push_back(arg.data());
  pointers.push_back(nullptr);
  pid_t pid = 0;
  const int status = ::posix_spawnp(&pid, pointers[0], nullptr, nullptr,
                                    pointers.data(), environ);
  if (status != 0) {
    if (error != nullptr) *error = std::strerror(status);
    return false;
  }
  return true;
}

}  // namespace

bool LaunchAddress(const std::string& address) {
  const char* browser = std::getenv("BROWSER");
  if (browser != nullptr && browser[0] != '\0' &&
      Spawn({browser, address}, nullptr)) {
    return true;
  }
  return Spawn({"xdg-open", address}, nullptr);
}

bool LaunchCommand(const std::string& command_line, std::string* error) {
  return Spawn({"/bin/sh", "-c", command_line}, error);
}

}  // namespace qm
