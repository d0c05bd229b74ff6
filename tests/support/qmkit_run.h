// Runs the qmkit program as a script runs it, for the end-to-end tests of
// the terminal host: no shell between the test and the program, nothing on
// its input, the C locale, and a configuration folder of the test's own.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "support/scratch_folder.h"

namespace qm::testing_support {

struct ProgramOutcome {
  int status = -1;  // the exit status; -1 when the program did not exit
  std::string out;
  std::string err;
};

inline bool Has(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

struct RunOptions {
  std::vector<std::string> environment;  // more NAME=value settings
  rlim_t file_size_limit = RLIM_INFINITY;
  std::string input_file{};  // its standard input; /dev/null when empty
};

// Runs `program` with `args` and XDG_CONFIG_HOME set to `folder`/xdg; its
// standard output and error pass through files in `folder`. A write past
// `file_size_limit` fails with EFBIG instead of killing the program.
inline ProgramOutcome RunProgram(const std::string& program,
                                 const std::vector<std::string>& args,
                                 const std::string& folder,
                                 const RunOptions& options = {}) {
  const std::string out_path = folder + "/stdout";
  const std::string err_path = folder + "/stderr";
  const pid_t child = ::fork();
  if (child == 0) {
    ::setenv("XDG_CONFIG_HOME", (folder + "/xdg").c_str(), 1);
    ::setenv("LC_ALL", "C", 1);
    for (const std::string& setting : options.environment) {
      ::putenv(const_cast<char*>(setting.c_str()));
    }
    const int in = ::open(options.input_file.empty() ? "/dev/null" : options.input_file.c_str(),
                          O_RDONLY);
    const int out = ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0) ::_exit(127);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    if (options.file_size_limit != RLIM_INFINITY) {
      ::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{options.file_size_limit, options.file_size_limit};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ProgramOutcome outcome;
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child) return outcome;
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  outcome.out = ReadWholeFile(out_path);
  outcome.err = ReadWholeFile(err_path);
  return outcome;
}

// A test of the program with a scratch folder of its own, removed at the
// end: its files, its configuration folder and the program's output.
class ProgramTest : public ScratchFolderTest {
 protected:
  // Runs the qmkit program of the build with `args` (see RunProgram).
  ProgramOutcome Qmkit(const std::vector<std::string>& args,
                       const RunOptions& options = {}) const {
    return RunProgram(QMKIT_PROGRAM, args, dir_, options);
  }
};

}  // namespace qm::testing_support
