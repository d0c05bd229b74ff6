#include <iostream>
#include <string>
#include <string_view>

#include "actions/command_line.h"
#include "actions/template_expansion.h"
#include "context/request_context.h"
#include "page_options.h"
#include "posix_module_environment.h"
#include "exit_status.h"
#include "subcommands.h"
#include "terminal_page.h"
#include "terminal_text.h"
#include "text/ascii_fold.h"
#include "text/json_writer.h"
#include "text/utf8.h"
#include "text/windows_1252.h"

namespace qm {
namespace {

constexpr char kUsage[] =
    "usage: qmkit expand TEMPLATE [--encode] [--charset C] [page options] [--json]\n"
    "       qmkit expand TEMPLATE --command-line [--encode] [--charset C]\n"
    "                    [--console | --leave-console] [page options] [--json]\n"
    "\n"
    "Expands an entry's template (url, href, command or a Mail key) against\n"
    "the page, as the entry would when carried out: !S !s !- !O !u !U !w !W\n"
    "!h !H !d !D !t !T !F !L !C !I and !! are replaced, \\n \\s \\t and \\x\n"
    "escapes applied. The template is read as Windows-1252 text, as the\n"
    "catalogue holds it (after \"--\" it may begin with \"-\").\n"
    "\n"
    "With --command-line the template is an entry's command, and both forms of\n"
    "it are shown: the command line that Windows would start, then the program\n"
    "and its arguments as qmkit --run starts them, one per line, without a\n"
    "shell. The template is split by the Windows rules and every inserted value\n"
    "stays inside its argument. A command that takes its program from the page,\n"
    "or in which a page value would begin an argument with \"-\", is refused:\n"
    "the reason is shown and the exit status is 1.\n"
    "\n"
    "options:\n"
    "  --encode               percent-encode inserted values, as URLEncode=y does\n"
    "                         (without it values go in as they are, as with\n"
    "                         URLEncode=n)\n"
    "  --charset C            utf-8 or windows-1252 (the default): how --encode\n"
    "                         encodes, as the entry's charset key\n"
    "  --command-line         expand as a command entry's command\n"
    "  --console              with --command-line: run in the command interpreter\n"
    "                         named by COMSPEC, as useConsole=y does (/C)\n"
    "  --leave-console        the same, leaving its console open (/K), as\n"
    "                         useConsole=y with leaveConsole=y does\n"
    "  --json                 {\"template\":...,\"expansion\":...}; with\n"
    "                         --command-line {\"template\":...,\"command_line\":...,\n"
    "                         \"arguments\":[...]} or, when refused, \"refused\":...\n"
    "                         in place of \"arguments\"\n"
    "\n";

int Usage(const std::string& error) {
  std::cerr << "qmkit expand: " << error << "\n('qmkit expand --help' tells more)\n";
  return kExitUsage;
}

// A command entry's two forms: the Windows command line and the argument
// vector, or the reason it is refused.
int ShowEntryCommand(const SiteEntry& entry, const std::string& shown_template,
                     RequestContext& context, const CodePage& code_page, bool json) {
  // Neither form can be much longer than the plain expansion: first make
  // sure that one is bounded, so a template that repeats a long value
  // costs no more than the limit.
  const TextLimits limits = context.environment().ExpansionLimits();
  const std::size_t limit = entry.useConsole ? limits.console_line : limits.command_line;
  std::u16string bounded;
  const ValueEncoding encoding = entry.URLEncode ? ValueEncoding::kPercent : ValueEncoding::kNone;
  const bool fits = ExpandTemplateWithin(entry.command, context, code_page, encoding,
                                         entry.charset, limit, &bounded);
  const EntryCommand command =
      fits ? BuildEntryCommand(entry, context, code_page) : EntryCommand{};
  if (!fits || command.process.command_line.size() > limit) {
    std::cerr << "qmkit expand: the command line would be longer than " << limit
              << " characters, the most "
              << (entry.useConsole ? "the console" : "a started program")
              << " takes\n";
    return kExitUsage;
  }
  const auto utf8 = [&](const std::string& narrow) { return ToUtf8(code_page.ToWide(narrow)); };
  const std::string line = utf8(command.process.command_line);
  const std::string refusal = ToUtf8(command.refusal);
  if (json) {
    JsonWriter answer;
    answer.BeginObject().Key("template").String(shown_template).Key("command_line").String(line);
    if (!command.refusal.empty()) {
      answer.Key("refused").String(refusal);
    } else {
      answer.Key("arguments").BeginArray();
      for (const std::string& argument : command.process.arguments) {
        answer.String(utf8(argument));
      }
      answer.EndArray();
    }
    std::cout << answer.EndObject().text() << "\n";
  } else {
    std::cout << "command line: " << TerminalSafe(line, false) << "\n";
    if (!command.refusal.empty()) {
      std::cout << "refused: " << TerminalSafe(refusal, false) << "\n";
    }
    for (std::size_t i = 0; i < command.process.arguments.size(); ++i) {
      std::cout << "argument " << i << ": "
                << TerminalSafe(utf8(command.process.arguments[i]), false) << "\n";
    }
  }
  return command.refusal.empty() ? kExitDone : kExitNothingFound;
}

}  // namespace

int RunExpandSubcommand(int argc, char** argv) {
  PageOptions page;
  bool json = false;
  bool encode = false;
  bool command_line = false;
  bool use_console = false;
  bool leave_console = false;
  UrlCharset charset = UrlCharset::kWindows1252;
  bool has_template = false;
  std::string tmpl;
  bool options_end = false;
  for (int i = 2; i < argc;) {
    const std::string_view arg = argv[i];
    std::string error;
    if (options_end || arg.empty() || arg[0] != '-') {
      if (has_template) return Usage("one TEMPLATE only; quote it");
      has_template = true;
      tmpl = std::string(arg);
      ++i;
    } else if (arg == "--") {
      options_end = true;
      ++i;
    } else if (TakePageOption(argc, argv, &i, &page, &error)) {
      if (!error.empty()) return Usage(error);
    } else if (arg == "--encode") {
      encode = true;
      ++i;
    } else if (arg == "--command-line") {
      command_line = true;
      ++i;
    } else if (arg == "--console" || arg == "--leave-console") {
      if (use_console) return Usage("--console and --leave-console exclude each other");
      use_console = true;
      leave_console = arg == "--leave-console";
      ++i;
    } else if (arg == "--charset") {
      if (i + 1 >= argc) return Usage("--charset needs a value");
      const std::string_view value = argv[i + 1];
      if (CompareFolded(value, "utf-8") == 0) {
        charset = UrlCharset::kUtf8;
      } else if (CompareFolded(value, "windows-1252") == 0) {
        charset = UrlCharset::kWindows1252;
      } else {
        return Usage("--charset takes utf-8 or windows-1252, not \"" +
                     std::string(value) + "\"");
      }
      i += 2;
    } else if (arg == "--json") {
      json = true;
      ++i;
    } else if (arg == "--help" || arg == "-h") {
      std::cout << kUsage << kPageOptionsUsage;
      return kExitDone;
    } else {
      return Usage("unknown option " + std::string(arg));
    }
  }
  if (!has_template) return Usage("which TEMPLATE?");
  if (use_console && !command_line) {
    return Usage("--console and --leave-console go with --command-line");
  }

  const Windows1252CodePage code_page;
  const std::u16string wide_template = FromUtf8(tmpl);
  const std::string narrow_template = code_page.ToNarrow(wide_template);
  if (code_page.ToWide(narrow_template) != wide_template) {
    std::cerr << "qmkit expand: characters that Windows-1252 lacks became \"?\", "
                 "as a catalogue cannot hold them either\n";
  }

  const PosixModuleEnvironment env;
  ActionLog log;
  TerminalPage browser(page, log);
  RequestContext context(env);
  if (!BuildRequestContext(context, &browser)) {
    std::cerr << "qmkit expand: the page could not be read\n";
    return kExitUsage;
  }
  const std::string shown_template = ToUtf8(code_page.ToWide(narrow_template));
  if (command_line) {
    SiteEntry entry;
    entry.command = narrow_template;
    entry.URLEncode = encode;
    entry.charset = charset;
    entry.useConsole = use_console;
    entry.leaveConsole = leave_console;
    return ShowEntryCommand(entry, shown_template, context, code_page, json);
  }
  // No entry's text may be longer than an address, the longest of them.
  const std::size_t limit = env.ExpansionLimits().address;
  std::u16string wide;
  const ValueEncoding encoding = encode ? ValueEncoding::kPercent : ValueEncoding::kNone;
  if (!ExpandTemplateWithin(narrow_template, context, code_page, encoding, charset, limit,
                            &wide)) {
    std::cerr << "qmkit expand: the expansion would be longer than " << limit
              << " characters, the most an entry's address may hold\n";
    return kExitUsage;
  }
  const std::string expansion = ToUtf8(wide);
  if (json) {
    JsonWriter answer;
    answer.BeginObject().Key("template").String(shown_template).Key("expansion").String(expansion);
    std::cout << answer.EndObject().text() << "\n";
  } else {
    std::cout << TerminalSafe(expansion, false) << "\n";
  }
  return kExitDone;
}

}  // namespace qm
