// What one menu command of the terminal program costs, next to the cheapest
// program there is: the CPU time (user and system, from the kernel's count
// for finished children) of
//   qmkit ISBN --url https://shop.example/ --answers ok
// and of /bin/true, in interleaved rounds so that both see the same
// machine. The command shows its message and its site list and ends as
// cancelled (status 3) once the one answer is used: the whole of a command
// but the browser. Prints, tab-separated, the median microseconds per run of each
// and their ratio:
//   qmkit_isbn_us  <us>
//   true_us        <us>
//   ratio          <qmkit / true>
//   command_start_bench QMKIT [ROUNDS]
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int kRunsPerRound = 20;

double ChildrenCpuMicroseconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return (static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e6) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
}

// Runs `argv` to its end with its output thrown away; false when it could
// not be started or did not exit with `status`.
bool RunOnce(const std::vector<const char*>& argv, int expected) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int error = posix_spawn(&pid, argv[0], &actions, nullptr,
                                const_cast<char* const*>(argv.data()), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return false;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == expected;
}

// The CPU microseconds per run of `argv` over one round, or a negative
// number when a run failed.
double Round(const std::vector<const char*>& argv, int expected) {
  const double before = ChildrenCpuMicroseconds();
  for (int i = 0; i < kRunsPerRound; ++i) {
    if (!RunOnce(argv, expected)) return -1;
  }
  return (ChildrenCpuMicroseconds() - before) / kRunsPerRound;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: command_start_bench QMKIT [ROUNDS]\n");
    return 2;
  }
  const int rounds = argc == 3 ? std::atoi(argv[2]) : 15;
  if (rounds < 1 || rounds > 1000) {
    std::fprintf(stderr, "command_start_bench: ROUNDS is 1 to 1000\n");
    return 2;
  }
  const std::vector<const char*> qmkit = {argv[1], "ISBN", "--url", "https://shop.example/",
                                          "--answers", "ok", nullptr};
  const std::vector<const char*> truth = {"/bin/true", nullptr};
  std::vector<double> qmkit_us;
  std::vector<double> true_us;
  for (int r = 0; r < rounds; ++r) {
    const double a = Round(qmkit, 3);
    const double b = Round(truth, 0);
    if (a < 0 || b < 0) {
      std::fprintf(stderr, "command_start_bench: %s did not run to a clean end\n",
                   a < 0 ? argv[1] : "/bin/true");
      return 1;
    }
    qmkit_us.push_back(a);
    true_us.push_back(b);
  }
  const double a = Median(qmkit_us);
  const double b = Median(true_us);
  std::printf("qmkit_isbn_us\t%.1f\ntrue_us\t%.1f\nratio\t%.2f\n", a, b, a / b);
  return 0;
}
