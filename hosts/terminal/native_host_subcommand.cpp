// qmkit native-host: the program a browser extension talks to over native
// messaging, to start the commands of catalogue entries.
#include <sys/wait.h>
#include <unistd.h>

#include <iostream>
#include <string>

#include "exit_status.h"
#include "launcher.h"
#include "native_messaging.h"
#include "option_table.h"
#include "subcommands.h"

#ifndef QMKIT_VERSION
#error "QMKIT_VERSION comes from the project version in CMakeLists.txt"
#endif

namespace qm {
namespace {

// Browsers pass origins and paths, which are read as nothing; the one
// option is --help, alone.
OptionTable NativeHostTable() {
  OptionTable table = OptionTable::ForTool("native-host");
  table.Text(
      "usage: qmkit native-host [ORIGIN...]\n"
      "\n"
      "The native messaging host of the browser extension; the browser starts it\n"
      "and passes the caller's origin (or the host manifest and the extension's\n"
      "id), which are ignored. It reads requests on standard input, each a 32-bit\n"
      "length in the machine's byte order and that many bytes of UTF-8 JSON, and\n"
      "answers each on standard output in the same form, until the input ends:\n"
      "  {\"type\":\"hello\"}\n"
      "      -> {\"type\":\"hello\",\"version\":\"" QMKIT_VERSION "\"}\n"
      "  {\"type\":\"start\",\"arguments\":[\"PROGRAM\",\"ARG\",...]}\n"
      "      -> {\"type\":\"start\",\"started\":true}, or false with \"error\"\n"
      "PROGRAM is looked up in $PATH and started with the arguments exactly as\n"
      "they are, no shell between, and not waited for; it reads and writes\n"
      "/dev/null. A name that is empty or begins with \"-\" is refused. Any\n"
      "other request gets {\"type\":\"error\",\"error\":TEXT}.\n"
      "Exit status: 0 when the input ends between requests, 2 after a request\n"
      "longer than 1 MiB or input that ends inside one.\n"
      "tools/install-native-host.sh writes the browsers' host manifests.\n");
  return table;
}

// Started programs are not waited for; the ones that have ended are
// collected so that a long session does not pile up zombies.
void CollectEndedPrograms() {
  while (::waitpid(-1, nullptr, WNOHANG) > 0) {
  }
}

const char* FatalFrameText(FrameRead read) {
  switch (read) {
    case FrameRead::kTruncatedLength: return "the input ended inside a message length";
    case FrameRead::kTruncatedBody: return "the input ended inside a message";
    case FrameRead::kTooLong: return "a message is longer than 1 MiB";
    default: return "unreadable input";
  }
}

bool WriteReply(const std::string& json) {
  std::cout << FrameNativeMessage(json) << std::flush;
  return static_cast<bool>(std::cout);
}

}  // namespace

int RunNativeHostSubcommand(int argc, char** argv) {
  // Browsers pass origins and paths here, never these.
  if (argc == 3 && IsHelpOption(argv[2])) {
    NativeHostTable().WriteHelp(std::cout);
    return kExitDone;
  }
  if (::isatty(STDIN_FILENO)) {
    std::cerr << "qmkit native-host: waiting for native messages on standard input; "
                 "a browser starts this (see qmkit native-host --help)\n";
  }
  std::string message;
  for (;;) {
    const FrameRead read = ReadNativeMessage(std::cin, &message);
    if (read == FrameRead::kEnd) return kExitDone;
    if (read != FrameRead::kMessage) {
      const char* text = FatalFrameText(read);
      WriteReply(NativeErrorReply(text));
      std::cerr << "qmkit native-host: " << text << "\n";
      return kExitUsage;
    }
    const std::string reply = AnswerNativeRequest(message, QMKIT_VERSION, &LaunchCommandDetached);
    CollectEndedPrograms();
    if (!WriteReply(reply)) return kExitActionFailed;
  }
}

}  // namespace qm
