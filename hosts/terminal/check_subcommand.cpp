#include <iostream>
#include <string>
#include <string_view>

#include "action_log.h"
#include "catalogue/catalogue_lint.h"
#include "catalogue/catalogue_loader.h"
#include "posix_module_environment.h"
#include "subcommands.h"
#include "text/utf8.h"
#include "text/windows_1252.h"

namespace qm {
namespace {

constexpr char kUsage[] =
    "usage: qmkit check [FILE] [--json]\n"
    "\n"
    "Lints a catalogue: lines the parser drops, keys no entry reads, values\n"
    "that decide nothing, unknown placeholders, sections no command loads,\n"
    "repeated sections and keys, unit sections that define no unit. Each\n"
    "finding prints as FILE:LINE: message. Without FILE the user's catalogue\n"
    "(--catalogue, else qmkit.ini in the configuration folder) is checked.\n"
    "Exit status: 0 clean, 1 findings, 2 unreadable file or bad usage.\n"
    "\n"
    "options:\n"
    "  --catalogue FILE       the same as giving FILE\n"
    "  --json                 "
    "{\"file\":...,\"findings\":[{\"line\":N,\"message\":...}]}\n";

int Usage(const std::string& error) {
  std::cerr << "qmkit check: " << error << "\n('qmkit check --help' tells more)\n";
  return 2;
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
      return 0;
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
  if (file.empty()) file = CataloguePath(env);
  if (file.empty()) return Usage("no FILE given and no user catalogue known");
  std::string bytes;
  if (!env.ReadFile(file, &bytes)) {
    std::cerr << "qmkit check: cannot read " << file << "\n";
    return 2;
  }

  const std::vector<LintFinding> findings = LintCatalogue(bytes);
  const Windows1252CodePage code_page;
  auto utf8 = [&](std::string_view narrow) { return ToUtf8(code_page.ToWide(narrow)); };
  if (json) {
    std::cout << "{\"file\":" << JsonString(file) << ",\"findings\":[";
    for (std::size_t k = 0; k < findings.size(); ++k) {
      std::cout << (k == 0 ? "" : ",") << "{\"line\":" << findings[k].line
                << ",\"message\":" << JsonString(utf8(findings[k].message)) << "}";
    }
    std::cout << "]}\n";
  } else {
    for (const LintFinding& f : findings) {
      std::cout << file << ":" << f.line << ": " << utf8(f.message) << "\n";
    }
  }
  return findings.empty() ? 0 : 1;
}

}  // namespace qm
