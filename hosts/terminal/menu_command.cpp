#include "menu_command.h"

#include <unistd.h>

#include <fstream>
#include <iostream>
#include <sstream>

#include "action_log.h"
#include "flows/command_dispatch.h"
#include "host_options.h"
#include "page_options.h"
#include "posix_module_environment.h"
#include "terminal_desktop.h"
#include "terminal_page.h"
#include "text/utf8.h"
#include "text/windows_1252.h"

namespace qm {

const char kMenuCommandUsage[] =
    "usage: qmkit COMMAND [page options] [options]\n"
    "\n"
    "Runs one menu command as the browser would: COMMAND is one of BOOK, ISBN,\n"
    "UPC, MOVIE, MUSIC, SEARCH, STOCK, TRANSLATE, URL, EMAIL, CURRENCY, CONVERT,\n"
    "OTHER, CONFIG. Each dialog is shown in the terminal; type gestures such as\n"
    "\"toggle 2\", \"text 0306406152\", \"ok\". Then every action is shown: the\n"
    "addresses opened with their window names and features, command lines, mail.\n"
    "\n"
    "options:\n"
    "  --answers GESTURES     play these gestures instead of asking, such as\n"
    "                         \"toggle 3; text 0306406152; ok\"; \"yes\"/\"no\"\n"
    "                         answer a question. Without a terminal and without\n"
    "                         answers every dialog is confirmed as offered.\n"
    "  --answers-file FILE    the gestures from a file\n"
    "  --open                 also hand the addresses to $BROWSER or xdg-open\n"
    "  --run                  also start the command lines (with /bin/sh -c)\n";

namespace {

void WriteText(const ActionLog& log, std::ostream& out) {
  for (const LoggedEvent& e : log.events()) {
    out << e.type << "\n";
    for (const auto& [name, value] : e.fields) {
      out << "  " << name << ": ";
      for (const char c : value) {
        out << c;
        if (c == '\n') out << "    ";
      }
      out << "\n";
    }
    for (std::size_t k = 0; k < e.items.size(); ++k) {
      out << "  " << k + 1 << ".";
      for (const auto& [name, value] : e.items[k]) out << " " << name << "=" << value;
      out << "\n";
    }
  }
}

bool ReadFile(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::stringstream bytes;
  bytes << in.rdbuf();
  *text = bytes.str();
  return true;
}

int Usage(const std::string& error) {
  std::cerr << "qmkit: " << error << "\n(qmkit " << "COMMAND --help for the options)\n";
  return 2;
}

}  // namespace

int RunMenuCommand(int argc, char** argv) {
  const std::string word = argv[1];
  PageOptions page;
  HostOptions host;
  TerminalDesktopOptions desktop_options;
  std::string answers_text;
  bool have_answers = false;
  for (int i = 2; i < argc;) {
    const std::string_view arg = argv[i];
    std::string error;
    if (TakePageOption(argc, argv, &i, &page, &error) ||
        TakeHostOption(argc, argv, &i, &host, &error)) {
      if (!error.empty()) return Usage(error);
    } else if (arg == "--help" || arg == "-h") {
      std::cout << kMenuCommandUsage << "\n" << kPageOptionsUsage << kHostOptionsUsage;
      return 0;
    } else if (arg == "--open" || arg == "--run") {
      (arg == "--open" ? desktop_options.launch : desktop_options.run) = true;
      ++i;
    } else if ((arg == "--answers" || arg == "--answers-file") && i + 1 < argc) {
      have_answers = true;
      if (arg == "--answers") {
        answers_text = argv[i + 1];
      } else if (!ReadFile(argv[i + 1], &answers_text)) {
        return Usage(std::string("cannot read ") + argv[i + 1]);
      }
      i += 2;
    } else {
      return Usage("unknown option " + std::string(arg));
    }
  }

  std::vector<Gesture> gestures;
  std::string error;
  if (!ParseGestures(answers_text, &gestures, &error)) return Usage(error);
  desktop_options.interactive =
      !have_answers && ::isatty(STDIN_FILENO) && !host.json;

  const PosixModuleEnvironment env(host.catalogue_file);
  const std::unique_ptr<SelectionStore> store = MakeSelectionStore(host);
  const Windows1252CodePage code_page;
  ActionLog log;
  TerminalPage browser(page, log, desktop_options.launch);
  TerminalDesktop desktop(desktop_options,
                          std::deque<Gesture>(gestures.begin(), gestures.end()),
                          code_page, log, std::cin, host.json ? std::cerr : std::cout);
  HostPorts ports{env, *store, desktop, code_page};
  Click(FromUtf8(word), &browser, ports);

  if (host.json) {
    log.WriteJson(std::cout);
  } else {
    WriteText(log, std::cout);
  }
  if (!desktop.unused_answers().empty()) {
    std::cerr << "qmkit: " << desktop.unused_answers().size()
              << " gesture(s) of the answers were not used\n";
  }
  return 0;
}

}  // namespace qm
