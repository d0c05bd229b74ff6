#include <functional>
#include <iostream>
#include <string>
#include <string_view>

#include "catalogue/catalogue_lint.h"
#include "catalogue/catalogue_loader.h"
#include "exit_status.h"
#include "posix_file.h"
#include "posix_module_environment.h"
#include "subcommands.h"
#include "terminal_text.h"
#include "text/json_writer.h"
#include "text/utf8.h"
#include "text/windows_1252.h"

namespace qm {
namespace {

constexpr char kUsage[] =
    "usage: qmkit check [FILE] [--json]\n"
    "\n"
    "Lints a catalogue: lines the parser drops, keys no entry reads, values\n"
    "that decide nothing, unknown placeholders, sections no command loads,\n"
    "repeated sections and keys, unit sections that define no unit, entries\n"
    "that do nothing or have no shortDescription, text that looks like UTF-8\n"
    "and NUL bytes in values. Each finding prints as\n"
    "FILE:LINE: SEVERITY: message, where SEVERITY is\n"
    "  error     something written is never read: a dropped line, an unread\n"
    "            key, a section no command loads, a unit section that defines\n"
    "            no unit\n"
    "  warning   it is read but will not do what it seems to say: a value that\n"
    "            decides nothing, an unknown placeholder, a replaced section,\n"
    "            an entry that does nothing or has no shortDescription, UTF-8\n"
    "            text, a NUL byte\n"
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
    "options:\n"
    "  --catalogue FILE       the same as giving FILE\n"
    "  --json                 {\"file\":...,\"findings\":[{\"line\":N,\n"
    "                         \"severity\":\"error\"|\"warning\"|\"note\",\n"
    "                         \"message\":...}],\"omitted\":[{\"line\":N,\n"
    "                         \"severity\":...,\"kind\":...,\"count\":N}]}\n";

int Usage(const std::string& error) {
  std::cerr << "qmkit check: " << error << "\n('qmkit check --help' tells more)\n";
  return kExitUsage;
}

}  // namespace

int RunCheckSubcommand(int argc, char** argv) {
  std::string catalogue_file;
  bool json = false;
  std::string file;
  for (int i = 2; i < argc;) {
    const std::string_view arg = argv[i];
    if (arg == "--catalogue") {
      if (i + 1 >= argc) return Usage("--catalogue needs a value");
      catalogue_file = argv[i + 1];
      i += 2;
    } else if (arg == "--json") {
      json = true;
      ++i;
    } else if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return kExitDone;
    } else if (!arg.empty() && arg[0] != '-') {
      if (!file.empty()) return Usage("one file at a time");
      file = std::string(arg);
      ++i;
    } else {
      return Usage("unknown option " + std::string(arg));
    }
  }
  if (!file.empty() && !catalogue_file.empty() && file != catalogue_file) {
    return Usage("give FILE or --catalogue, not both");
  }

  const PosixModuleEnvironment env(catalogue_file);
  const bool users_catalogue = file.empty();
  if (users_catalogue) file = CataloguePath(env);
  if (file.empty()) {
    return Usage("no FILE given, and neither $XDG_CONFIG_HOME nor $HOME tells where "
                 "the user's catalogue is");
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

  // Findings go out as they are made: a broken file of a few megabytes can
  // hold millions of them.
  const Windows1252CodePage code_page;
  auto utf8 = [&](std::string_view narrow) { return ToUtf8(code_page.ToWide(narrow)); };
  JsonWriter report;
  std::function<void(const LintFinding&)> print;
  if (json) {
    report.BeginObject().Key("file").String(file).Key("findings").BeginArray();
    print = [&](const LintFinding& f) {
      report.BeginObject()
          .Key("line").Number(static_cast<long long>(f.line))
          .Key("severity").String(LintSeverityName(f.severity))
          .Key("message").String(utf8(f.message))
          .EndObject();
      std::cout << report.Take();
    };
  } else {
    print = [&](const LintFinding& f) {
      // A finding quotes the catalogue, which may hold escape sequences.
      std::cout << TerminalSafe(file, false) << ":" << f.line << ": "
                << LintSeverityName(f.severity) << ": " << TerminalSafe(utf8(f.message), false)
                << "\n";
    };
  }
  const LintTally tally =
      LintCatalogue(bytes, code_page, kLintFindingsShownPerKind, print);
  if (json) {
    report.EndArray().Key("omitted").BeginArray();
    for (const LintOmission& o : tally.omitted) {
      report.BeginObject()
          .Key("line").Number(static_cast<long long>(o.first_line))
          .Key("severity").String(LintSeverityName(o.severity))
          .Key("kind").String(LintKindName(o.kind))
          .Key("count").Number(static_cast<long long>(o.count))
          .EndObject();
    }
    std::cout << report.EndArray().EndObject().Take() << "\n";
  } else {
    for (const LintOmission& o : tally.omitted) {
      std::cout << TerminalSafe(file, false) << ":" << o.first_line << ": "
                << LintSeverityName(o.severity) << ": " << o.count << " more of the kind \""
                << LintKindName(o.kind) << "\" from here on are not shown\n";
    }
  }
  const bool error_or_warning = tally.errors + tally.warnings > 0;
  return error_or_warning ? kExitNothingFound : kExitDone;
}

}  // namespace qm
