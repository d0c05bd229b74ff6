#include "menu_command.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <iostream>

#include "action_log.h"
#include "actions/address_policy.h"
#include "actions/template_expansion.h"
#include "exit_status.h"
#include "flows/command_dispatch.h"
#include "help_page.h"
#include "host_options.h"
#include "launcher.h"
#include "page_options.h"
#include "posix_module_environment.h"
#include "terminal_desktop.h"
#include "terminal_page.h"
#include "terminal_text.h"
#include "text/utf8.h"
#include "text/windows_1252.h"

namespace qm {

namespace {

void WriteText(const ActionLog& log, std::ostream& out) {
  for (const LoggedEvent& e : log.events()) {
    out << e.type << "\n";
    for (const auto& [name, value] : e.fields) {
      out << "  " << name << ": ";
      for (const char c : TerminalSafe(value, true)) {
        out << c;
        if (c == '\n') out << "    ";
      }
      out << "\n";
    }
    for (std::size_t k = 0; k < e.items.size(); ++k) {
      out << "  " << k + 1 << ".";
      for (const auto& [name, value] : e.items[k]) {
        out << " " << name << "=" << TerminalSafe(value, false);
      }
      out << "\n";
    }
  }
}

// The events whose address a browser shows, and the field that holds it.
struct AddressEvent {
  const char* type;
  const char* field;
};
constexpr AddressEvent kAddressEvents[] = {
    {"open", "url"}, {"navigate", "url"}, {"link", "href"}, {"shell-open", "url"}};

// A regular file that someone may execute: xdg-open may start it. A path
// the file system cannot answer for (not permitted, a file used as a
// folder, a loop of links) counts as one: only a missing file is surely not.
bool IsProgramFile(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return errno != ENOENT;
  return S_ISREG(info.st_mode) && (info.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) != 0;
}

// Where the program lives: the one folder a file: address may point into.
ProgramFolder ProgramFolderOf(const PosixModuleEnvironment& env, const CodePage& code_page) {
  const std::string path = env.ModulePath();
  const std::size_t slash = path.rfind('/');
  return {ToUtf8(ModuleFolderUrl(env, code_page)),
          slash == std::string::npos ? std::string() : path.substr(0, slash + 1),
          IsProgramFile};
}

// Hands every address the command opened to the user's browser, in order;
// adds a line to *failures for each that was skipped or that none took.
void OpenAddresses(const ActionLog& log, const ProgramFolder& program,
                   std::vector<std::string>* failures) {
  for (const LoggedEvent& e : log.events()) {
    for (const AddressEvent& kind : kAddressEvents) {
      if (e.type != kind.type) continue;
      for (const auto& [name, value] : e.fields) {
        if (name != kind.field) continue;
        std::string reason;
        const std::optional<std::string> address = OpenableAddress(value, program, &reason);
        if (!address) {
          const bool blank = value.find_first_not_of(" \t\r\n\f\v") == std::string::npos;
          failures->push_back("skipped " + (blank ? "an empty address" : value) + ": " +
                              reason);
        } else if (!LaunchAddress(*address, &reason)) {
          failures->push_back("could not open " + *address + ": " + reason);
        }
      }
    }
  }
}

// What the command line asks for.
struct MenuCommandOptions {
  PageOptions page;
  HostOptions host;
  TerminalDesktopOptions desktop;
  bool open_addresses = false;
  std::vector<Gesture> gestures;
  bool have_answers = false;
};

// A file of answers far longer than any person's script.
constexpr std::size_t kMaxAnswersFileBytes = std::size_t{1} << 20;

// --answers and --answers-file: gestures added to the script, in order.
OptionAction TakeAnswers(const char* option, bool from_file, MenuCommandOptions* options) {
  return [=](const std::string& value, std::string* error) {
    std::string script = value;
    std::string reason;
    if (from_file && !ReadUserFile(value, kMaxAnswersFileBytes, &script, &reason)) {
      *error = std::string(option) + " " + value + ": " + reason;
      return false;
    }
    std::vector<Gesture> more;
    if (!ParseGestures(script, &more, &reason)) {
      *error = std::string(option) + ": " + reason;
      return false;
    }
    options->gestures.insert(options->gestures.end(), more.begin(), more.end());
    options->have_answers = true;
    return true;
  };
}

OptionTable MenuCommandTable(MenuCommandOptions* options) {
  OptionTable table("qmkit", "qmkit COMMAND --help for the options");
  table
      .Text("usage: qmkit COMMAND [page options] [options]\n"
            "\n"
            "Runs one menu command as the browser would: COMMAND is one of BOOK, ISBN,\n"
            "UPC, MOVIE, MUSIC, SEARCH, STOCK, TRANSLATE, URL, EMAIL, CURRENCY, CONVERT,\n"
            "OTHER, CONFIG. Each dialog takes the whole terminal and is worked from the\n"
            "keyboard (Tab, arrows, Space ticks, Enter is OK, Escape is Cancel, F1 is\n"
            "Help); with --answers, or where the screen cannot be drawn (output not a\n"
            "terminal, TERM=dumb), it takes gestures such as \"toggle 2\",\n"
            "\"text 0306406152\", \"ok\". Then every action is shown: the addresses\n"
            "opened with their window names and features, command lines, mail.\n"
            "\n"
            "options:\n")
      .Value("--answers", "GESTURES",
             "play these gestures instead of asking, such as\n"
             "\"toggle 3; text 0306406152; ok\"; \"yes\"/\"no\"\n"
             "answer a question. A gesture the open dialog does\n"
             "not take (an unknown word, \"toggle 99\" in a\n"
             "shorter list) stops the command with status 2 and\n"
             "runs nothing. When the gestures run out, an open\n"
             "dialog is confirmed with OK, or cancelled when OK\n"
             "does not close it. Without a terminal and without\n"
             "answers every dialog is confirmed as offered.",
             TakeAnswers("--answers", false, options))
      .Value("--answers-file", "FILE",
             "the gestures from a file, one a line or separated\n"
             "by \";\"; with --answers, in the order given",
             TakeAnswers("--answers-file", true, options))
      .Flag("--open",
            "also hand each address to the commands of $BROWSER\n"
            "(\":\"-separated; %s in an argument is the address,\n"
            "else it comes last), then to xdg-open. Only http,\n"
            "https, ftp and mailto addresses are handed on; a\n"
            "host name such as www.example.com gets https://;\n"
            "a file: address only inside qmkit's own folder\n"
            "(what !I inserts); any other address is skipped\n"
            "with a message",
            &options->open_addresses)
      .Flag("--run", "also start the commands (no shell between)", &options->desktop.run);
  AddHostOptions(table, &options->host);
  AddPageOptions(table, &options->page);
  table.Text("\n"
             "exit status:\n"
             "  0  done\n"
             "  2  bad usage: an unknown option, a missing value, a catalogue or file of\n"
             "     answers that cannot be read, answers that do not fit the dialogs\n"
             "  3  cancelled: a dialog ended with \"cancel\" or the end of input, or a\n"
             "     question was answered \"no\"\n"
             "  4  an action failed: an address that was skipped or that no browser\n"
             "     took with --open, a command refused or not started with --run, a\n"
             "     text longer than its limit, ticks that could not be remembered\n");
  return table;
}

// How the command went, besides what it logged.
struct MenuCommandOutcome {
  std::string script_fault;  // answers that did not fit the dialogs
  std::vector<std::string> failures;
  std::size_t unused_answers = 0;
  bool cancelled = false;
};

// Runs the command `word` as the options ask, logging what it does.
MenuCommandOutcome Run(const std::string& word, const MenuCommandOptions& options,
                       ActionLog& log) {
  TerminalDesktopOptions desktop_options = options.desktop;
  desktop_options.interactive =
      !options.have_answers && ::isatty(STDIN_FILENO) && !options.host.json;
  // The dialogs take the whole screen only where the person sees it; with
  // output going elsewhere they ask at a prompt, as before.
  desktop_options.full_screen = desktop_options.interactive && ::isatty(STDOUT_FILENO);

  const PosixModuleEnvironment env(options.host.catalogue_file);
  // Someone at a terminal reads a help page in a browser; a script's output
  // gets the page's text, unless $BROWSER names what should take it.
  const char* browser_setting = std::getenv("BROWSER");
  TerminalHelp help;
  help.in_browser =
      (browser_setting != nullptr && *browser_setting != '\0') || ::isatty(STDOUT_FILENO);
  help.folders = HelpFolders(env.ModulePath());
  const std::unique_ptr<SelectionStore> store = MakeSelectionStore(options.host);
  const Windows1252CodePage code_page;
  // The page only logs where it goes; the addresses are handed on below,
  // where a failure can be told.
  TerminalPage browser(options.page, log);
  TerminalDesktop desktop(desktop_options,
                          std::deque<Gesture>(options.gestures.begin(), options.gestures.end()),
                          code_page, log, std::cin, options.host.json ? std::cerr : std::cout);
  desktop.SetHelp(std::move(help));
  HostPorts ports{env, *store, desktop, desktop, desktop, code_page};
  Click(FromUtf8(word), &browser, ports);
  // What the command did is printed on the terminal as it was.
  desktop.CloseScreen();

  MenuCommandOutcome outcome;
  outcome.script_fault = desktop.script_fault();
  if (!outcome.script_fault.empty()) return outcome;
  outcome.failures = desktop.failed_actions();
  if (options.open_addresses) {
    OpenAddresses(log, ProgramFolderOf(env, code_page), &outcome.failures);
  }
  outcome.unused_answers = desktop.unused_answers().size();
  outcome.cancelled = desktop.cancelled();
  return outcome;
}

// Prints the log and what went wrong; returns the exit status.
int Print(const ActionLog& log, const MenuCommandOutcome& outcome, bool json) {
  if (!outcome.script_fault.empty()) {
    std::cerr << "qmkit: " << TerminalSafe(outcome.script_fault, false) << "\n";
    return kExitUsage;
  }
  if (json) {
    log.WriteJson(std::cout);
  } else {
    WriteText(log, std::cout);
  }
  if (outcome.unused_answers > 0) {
    std::cerr << "qmkit: " << outcome.unused_answers
              << " gesture(s) of the answers were not used\n";
  }
  for (const std::string& failure : outcome.failures) {
    std::cerr << "qmkit: " << TerminalSafe(failure, false) << "\n";
  }
  if (!outcome.failures.empty()) return kExitActionFailed;
  if (outcome.cancelled) return kExitCancelled;
  return kExitDone;
}

}  // namespace

int RunMenuCommand(int argc, char** argv) {
  MenuCommandOptions options;
  if (const std::optional<int> status = MenuCommandTable(&options).Read(argc, argv)) {
    return *status;
  }
  ActionLog log;
  const MenuCommandOutcome outcome = Run(argv[1], options, log);
  return Print(log, outcome, options.host.json);
}

}  // namespace qm
