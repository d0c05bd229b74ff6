// The tool subcommands of qmkit, for scripts and catalogue authors. Each
// takes the whole argv (argv[1] is its name) and returns the exit status:
// 0 on success, 1 when the answer is "no" or "not found", 2 for bad usage
// or unreadable files.
#pragma once

namespace qm {

struct Subcommand {
  const char* name;
  const char* summary;
  int (*run)(int argc, char** argv);
};

int RunCatalogueSubcommand(int argc, char** argv);
int RunCheckSubcommand(int argc, char** argv);
int RunConvertSubcommand(int argc, char** argv);
int RunExpandSubcommand(int argc, char** argv);
int RunFindSubcommand(int argc, char** argv);
int RunNativeHostSubcommand(int argc, char** argv);

}  // namespace qm
