#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "actions/command_line.h"
#include "actions/template_expansion.h"
#include "context/request_context.h"
#include "page_options.h"
#include "posix_module_environment.h"
#include "exit_status.h"
#include "option_table.h"
#include "subcommands.h"
#include "terminal_page.h"
#include "terminal_text.h"
#include "text/ascii_fold.h"
#include "text/json_writer.h"
#include "text/utf8.h"
#include "text/windows_1252.h"

namespace qm {
namespace {

// What the command line asks for.
struct ExpandOptions {
  PageOptions page;
  bool json = false;
  bool encode = false;
  bool command_line = false;
  bool use_console = false;
  bool leave_console = false;
  UrlCharset charset = UrlCharset::kWindows1252;
  std::optional<std::string> tmpl;
};

// --console and --leave-console, one of them at most.
OptionAction TakeConsole(bool leave, ExpandOptions* options) {
  return [=](const std::string&, std::string* error) {
    if (options->use_console) {
      *error = "--console and --leave-console exclude each other";
      return false;
    }
    options->use_console = true;
    options->leave_console = leave;
    return true;
  };
}

OptionTable ExpandTable(ExpandOptions* options) {
  OptionTable table = OptionTable::ForTool("expand");
  table
      .Text("usage: qmkit expand TEMPLATE [--encode] [--charset C] [page options] [--json]\n"
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
            "options:\n")
      .Flag("--encode",
            "percent-encode inserted values, as URLEncode=y does\n"
            "(without it values go in as they are, as with\n"
            "URLEncode=n)",
            &options->encode)
      .Value("--charset", "C",
             "utf-8 or windows-1252 (the default): how --encode\n"
             "encodes, as the entry's charset key",
             [options](const std::string& value, std::string* error) {
               if (CompareFolded(value, "utf-8") == 0) {
                 options->charset = UrlCharset::kUtf8;
               } else if (CompareFolded(value, "windows-1252") == 0) {
                 options->charset = UrlCharset::kWindows1252;
               } else {
                 *error = "--charset takes utf-8 or windows-1252, not \"" + value + "\"";
                 return false;
               }
               return true;
             })
      .Flag("--command-line", "expand as a command entry's command", &options->command_line)
      .Flag("--console",
            "with --command-line: run in the command interpreter\n"
            "named by COMSPEC, as useConsole=y does (/C)",
            TakeConsole(false, options))
      .Flag("--leave-console",
            "the same, leaving its console open (/K), as\n"
            "useConsole=y with leaveConsole=y does",
            TakeConsole(true, options))
      .Flag("--json",
            "{\"template\":...,\"expansion\":...}; with\n"
            "--command-line {\"template\":...,\"command_line\":...,\n"
            "\"arguments\":[...]} or, when refused, \"refused\":...\n"
            "in place of \"arguments\"",
            &options->json)
      .Positional(Positionals::kNoDash,
                  {[options](const std::string& text, std::string*) {
                    options->tmpl = text;
                    return true;
                  }},
                  "one TEMPLATE only; quote it")
      .DoubleDashEndsOptions();
  AddPageOptions(table, &options->page);
  return table;
}

// Builds the command entry's two forms into *command: the Windows command
// line and the argument vector, or the reason it is refused. Returns false,
// saying why, when the line would be longer than its limit.
bool BuildBoundedCommand(const SiteEntry& entry, RequestContext& context,
                         const CodePage& code_page, EntryCommand* command) {
  // Neither form can be much longer than the plain expansion: first make
  // sure that one is bounded, so a template that repeats a long value
  // costs no more than the limit.
  const TextLimits limits = context.environment().ExpansionLimits();
  const std::size_t limit = entry.useConsole ? limits.console_line : limits.command_line;
  std::u16string bounded;
  const ValueEncoding encoding = entry.URLEncode ? ValueEncoding::kPercent : ValueEncoding::kNone;
  const bool fits = ExpandTemplateWithin(entry.command, context, code_page, encoding,
                                         entry.charset, limit, &bounded);
  *command = fits ? BuildEntryCommand(entry, context, code_page) : EntryCommand{};
  if (!fits || command->process.command_line.size() > limit) {
    std::cerr << "qmkit expand: the command line would be longer than " << limit
              << " characters, the most "
              << (entry.useConsole ? "the console" : "a started program")
              << " takes\n";
    return false;
  }
  return true;
}

// Prints both forms of the command, or the reason it is refused; returns
// the exit status.
int PrintEntryCommand(const EntryCommand& command, const std::string& shown_template,
                      const CodePage& code_page, bool json) {
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

// The template expanded as an entry's address or mail text would be;
// prints it and returns the exit status.
int ExpandAndPrint(const std::string& narrow_template, const std::string& shown_template,
                   const ExpandOptions& options, RequestContext& context,
                   const CodePage& code_page) {
  // No entry's text may be longer than an address, the longest of them.
  const std::size_t limit = context.environment().ExpansionLimits().address;
  std::u16string wide;
  const ValueEncoding encoding = options.encode ? ValueEncoding::kPercent : ValueEncoding::kNone;
  if (!ExpandTemplateWithin(narrow_template, context, code_page, encoding, options.charset,
                            limit, &wide)) {
    std::cerr << "qmkit expand: the expansion would be longer than " << limit
              << " characters, the most an entry's address may hold\n";
    return kExitUsage;
  }
  const std::string expansion = ToUtf8(wide);
  if (options.json) {
    JsonWriter answer;
    answer.BeginObject().Key("template").String(shown_template).Key("expansion").String(expansion);
    std::cout << answer.EndObject().text() << "\n";
  } else {
    std::cout << TerminalSafe(expansion, false) << "\n";
  }
  return kExitDone;
}

}  // namespace

int RunExpandSubcommand(int argc, char** argv) {
  ExpandOptions options;
  const OptionTable table = ExpandTable(&options);
  if (const std::optional<int> status = table.Read(argc, argv)) return *status;
  if (!options.tmpl) return table.UsageError("which TEMPLATE?");
  if (options.use_console && !options.command_line) {
    return table.UsageError("--console and --leave-console go with --command-line");
  }

  const Windows1252CodePage code_page;
  const std::u16string wide_template = FromUtf8(*options.tmpl);
  const std::string narrow_template = code_page.ToNarrow(wide_template);
  if (code_page.ToWide(narrow_template) != wide_template) {
    std::cerr << "qmkit expand: characters that Windows-1252 lacks became \"?\", "
                 "as a catalogue cannot hold them either\n";
  }

  const PosixModuleEnvironment env;
  ActionLog log;
  TerminalPage browser(options.page, log);
  RequestContext context(env);
  if (!BuildRequestContext(context, &browser)) {
    std::cerr << "qmkit expand: the page could not be read\n";
    return kExitUsage;
  }
  const std::string shown_template = ToUtf8(code_page.ToWide(narrow_template));
  if (options.command_line) {
    SiteEntry entry;
    entry.command = narrow_template;
    entry.URLEncode = options.encode;
    entry.charset = options.charset;
    entry.useConsole = options.use_console;
    entry.leaveConsole = options.leave_console;
    EntryCommand command;
    if (!BuildBoundedCommand(entry, context, code_page, &command)) return kExitUsage;
    return PrintEntryCommand(command, shown_template, code_page, options.json);
  }
  return ExpandAndPrint(narrow_template, shown_template, options, context, code_page);
}

}  // namespace qm
