#include "launcher.h"

#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "error_text.h"

extern char** environ;

namespace qm {
namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    std::string part = text.substr(start, end == std::string::npos ? end : end - start);
    if (!part.empty()) parts.push_back(std::move(part));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

// What the child gets for its standard input and output; standard error is
// always ours.
enum class ChildStreams { kOurs, kOutputToStandardError, kNone };

// Starts argv[0] (looked up in $PATH) without waiting for it.
bool Spawn(std::vector<std::string> argv, ChildStreams streams, std::string* error) {
  std::vector<char*> pointers;
  for (std::string& arg : argv) pointers.push_back(arg.data());
  pointers.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  if (streams == ChildStreams::kOutputToStandardError) {
    ::posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO);
  } else if (streams == ChildStreams::kNone) {
    ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  }
  pid_t pid = 0;
  const int status = ::posix_spawnp(&pid, pointers[0], &actions, nullptr,
                                    pointers.data(), environ);
  ::posix_spawn_file_actions_destroy(&actions);
  if (status != 0) {
    if (error != nullptr) *error = SystemErrorText(status);
    return false;
  }
  return true;
}

// The commands of a $BROWSER value for `address`, each as the argument
// list to start, in the order to try them. Empty commands are left out, and
// so is one whose program holds "%s".
std::vector<std::vector<std::string>> BrowserCommands(const std::string& browser,
                                                      const std::string& address) {
  std::vector<std::vector<std::string>> commands;
  for (const std::string& command : Split(browser, ':')) {
    std::vector<std::string> argv;
    bool has_address = false;
    for (const std::string& word : Split(command, ' ')) {
      std::string arg;
      for (std::size_t i = 0; i < word.size(); ++i) {
        if (word[i] == '%' && i + 1 < word.size() && word[i + 1] == 's') {
          arg += address;
          has_address = true;
          ++i;
        } else if (word[i] == '%' && i + 1 < word.size() && word[i + 1] == '%') {
          arg += '%';
          ++i;
        } else {
          arg += word[i];
        }
      }
      // An address in the program's place would be run as a program.
      if (argv.empty() && has_address) break;
      argv.push_back(std::move(arg));
    }
    if (argv.empty()) continue;
    if (!has_address) argv.push_back(address);
    commands.push_back(std::move(argv));
  }
  return commands;
}

}  // namespace

bool LaunchAddress(const std::string& address, std::string* error) {
  std::string reasons;
  const auto fail = [&](const std::string& reason) {
    if (error != nullptr) *error = reason;
    return false;
  };
  if (address.empty()) return fail("the address is empty");
  if (address[0] == '-') {
    return fail("an address that begins with \"-\" is not handed on");
  }
  const char* browser = std::getenv("BROWSER");
  std::vector<std::vector<std::string>> commands =
      BrowserCommands(browser == nullptr ? std::string() : browser, address);
  commands.push_back({"xdg-open", address});
  for (const std::vector<std::string>& argv : commands) {
    std::string reason;
    // What a browser prints must not mix with the record of the command
    // that qmkit prints.
    if (Spawn(argv, ChildStreams::kOutputToStandardError, &reason)) return true;
    reasons += (reasons.empty() ? "cannot start " : "; ") + argv[0] + ": " + reason;
  }
  return fail(reasons);
}

bool LaunchCommand(const std::vector<std::string>& arguments, std::string* error) {
  if (arguments.empty()) {
    *error = "no program to start";
    return false;
  }
  return Spawn(arguments, ChildStreams::kOurs, error);
}

bool LaunchCommandDetached(const std::vector<std::string>& arguments, std::string* error) {
  if (arguments.empty()) {
    *error = "no program to start";
    return false;
  }
  return Spawn(arguments, ChildStreams::kNone, error);
}

}  // namespace qm
