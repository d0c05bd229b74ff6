#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/catalogue_lint.h"
#include "catalogue/catalogue_loader.h"
#include "exit_status.h"
#include "option_table.h"
#include "posix_file.h"
#include "posix_module_environment.h"
#include "subcommands.h"
#include "terminal_text.h"
#include "text/json_writer.h"
#include "text/utf8.h"
#include "text/windows_1252.h"

namespace qm {
namespace {

// What the command line asks for.
struct CheckOptions {
  std::string catalogue_file;
  bool json = false;
  std::string file;
};

OptionTable CheckTable(CheckOptions* options) {
  OptionTable table = OptionTable::ForTool("check");
  table
      .Text("usage: qmkit check [FILE] [--json]\n"
            "\n"
            "Lints a catalogue: lines the parser drops, keys no entry reads, values\n"
            "that decide nothing, unknown placeholders, sections no command loads,\n"
            "repeated sections and keys, unit sections that define no unit, entries\n"
            "that do nothing or have no shortDescription, text that looks like UTF-8,\n"
            "NUL bytes in values and, in a file that begins with the UTF-8 byte-order\n"
            "mark, characters Windows-1252 lacks (they are read as \"?\"). Each\n"
            "finding prints as\n"
            "FILE:LINE: SEVERITY: message, where SEVERITY is\n"
            "  error     something written is never read: a dropped line, an unread\n"
            "            key, a section no command loads, a unit section that defines\n"
            "            no unit\n"
            "  warning   it is read but will not do what it seems to say: a value that\n"
            "            decides nothing, an unknown placeholder, a replaced section,\n"
            "            an entry that does nothing or has no shortDescription, UTF-8\n"
            "            text, a NUL byte, a character Windows-1252 lacks\n"
            "  note      worth knowing and often meant: a key given twice in a section\n"
            "            (the later value wins), a file read as UTF-8 because it begins\n"
            "            with the byte-order mark\n"
            "After 20 findings of one kind the rest are counted, not shown:\n"
            "FILE:LINE: SEVERITY: N more of the kind \"...\" from here on are not shown.\n"
            "Without FILE the user's catalogue (--catalogue, else qmkit.ini in the\n"
            "configuration folder) is checked.\n"
            "Exit status: 0 no error and no warning (notes may be printed), 1 an error\n"
            "or a warning, 2 an unreadable file or bad usage.\n"
            "\n"
            "options:\n")
      .Value("--catalogue", "FILE", "the same as giving FILE", &options->catalogue_file)
      .Flag("--json",
            "{\"file\":...,\"findings\":[{\"line\":N,\n"
            "\"severity\":\"error\"|\"warning\"|\"note\",\n"
            "\"message\":...}],\"omitted\":[{\"line\":N,\n"
            "\"severity\":...,\"kind\":...,\"count\":N}]}",
            &options->json)
      .Positional(Positionals::kNoDashNotEmpty, {StoreIn(&options->file)}, "one file at a time");
  return table;
}

// Prints each finding as it is made, as text or as one JSON object: a
// broken file of a few megabytes can hold millions of them.
class FindingPrinter {
 public:
  FindingPrinter(std::string file, bool json) : file_(std::move(file)), json_(json) {
    if (json_) report_.BeginObject().Key("file").String(file_).Key("findings").BeginArray();
  }

  void Print(const LintFinding& f) {
    if (json_) {
      report_.BeginObject()
          .Key("line").Number(static_cast<long long>(f.line))
          .Key("severity").String(LintSeverityName(f.severity))
          .Key("message").String(ToUtf8(f.message))
          .EndObject();
      std::cout << report_.Take();
      return;
    }
    // A finding quotes the catalogue, which may hold escape sequences.
    std::cout << TerminalSafe(file_, false) << ":" << f.line << ": "
              << LintSeverityName(f.severity) << ": " << TerminalSafe(ToUtf8(f.message), false)
              << "\n";
  }

  // The findings counted but not shown.
  void End(const LintTally& tally) {
    if (!json_) {
      for (const LintOmission& o : tally.omitted) {
        std::cout << TerminalSafe(file_, false) << ":" << o.first_line << ": "
                  << LintSeverityName(o.severity) << ": " << o.count << " more of the kind \""
                  << LintKindName(o.kind) << "\" from here on are not shown\n";
      }
      return;
    }
    report_.EndArray().Key("omitted").BeginArray();
    for (const LintOmission& o : tally.omitted) {
      report_.BeginObject()
          .Key("line").Number(static_cast<long long>(o.first_line))
          .Key("severity").String(LintSeverityName(o.severity))
          .Key("kind").String(LintKindName(o.kind))
          .Key("count").Number(static_cast<long long>(o.count))
          .EndObject();
    }
    std::cout << report_.EndArray().EndObject().Take() << "\n";
  }

 private:
  std::string file_;
  bool json_;
  JsonWriter report_;
};

}  // namespace

int RunCheckSubcommand(int argc, char** argv) {
  CheckOptions options;
  const OptionTable table = CheckTable(&options);
  if (const std::optional<int> status = table.Read(argc, argv)) return *status;
  std::string file = options.file;
  if (!file.empty() && !options.catalogue_file.empty() && file != options.catalogue_file) {
    return table.UsageError("give FILE or --catalogue, not both");
  }

  const PosixModuleEnvironment env(options.catalogue_file);
  const bool users_catalogue = file.empty();
  if (users_catalogue) file = CataloguePath(env);
  if (file.empty()) {
    return table.UsageError("no FILE given, and neither $XDG_CONFIG_HOME nor $HOME tells "
                            "where the user's catalogue is");
  }
  std::string bytes;
  std::string reason;
  if (!ReadRegularFile(file, &bytes, &reason)) {
    std::cerr << "qmkit check: cannot read " << (users_catalogue ? "the user's catalogue " : "")
              << TerminalSafe(file, false) << ": " << reason << "\n";
    if (users_catalogue) {
      std::cerr << "('qmkit catalogue --export FILE' writes the built-in catalogue to "
                   "start from)\n";
    }
    return kExitUsage;
  }

  const Windows1252CodePage code_page;
  FindingPrinter printer(file, options.json);
  const LintTally tally = LintCatalogue(bytes, code_page, kLintFindingsShownPerKind,
                                        [&](const LintFinding& f) { printer.Print(f); });
  printer.End(tally);
  const bool error_or_warning = tally.errors + tally.warnings > 0;
  return error_or_warning ? kExitNothingFound : kExitDone;
}

}  // namespace qm
