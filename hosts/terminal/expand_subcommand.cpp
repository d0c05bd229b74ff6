#include <iostream>
#include <string>
#include <string_view>

#include "action_log.h"
#include "actions/template_expansion.h"
#include "context/request_context.h"
#include "page_options.h"
#include "posix_module_environment.h"
#include "subcommands.h"
#include "terminal_page.h"
#include "text/ascii_fold.h"
#include "text/utf8.h"
#include "text/windows_1252.h"

namespace qm {
namespace {

constexpr char kUsage[] =
    "usage: qmkit expand TEMPLATE [--encode | --command-line] [--charset C]\n"
    "                    [page options] [--json]\n"
    "\n"
    "Expands an entry's template (url, href, command or a Mail key) against\n"
    "the page, as the entry would when carried out: !S !s !- !O !u !U !w !W\n"
    "!h !H !d !D !t !T !F !L !C !I and !! are replaced, \\n \\s \\t and \\x\n"
    "escapes applied. The template is read as Windows-1252 text, as the\n"
    "catalogue holds it (after \"--\" it may begin with \"-\").\n"
    "\n"
    "options:\n"
    "  --encode               percent-encode inserted values, as URLEncode=y does\n"
    "  --command-line         make inserted values safe for a command line, as a\n"
    "                         command entry with URLEncode=n gets them\n"
    "  --charset C            utf-8 or windows-1252 (the default): how --encode\n"
    "                         encodes, as the entry's charset key\n"
    "  --json                 {\"template\":...,\"expansion\":...}\n"
    "\n";

int Usage(const std::string& error) {
  std::cerr << "qmkit expand: " << error << "\n('qmkit expand --help' tells more)\n";
  return 2;
}

}  // namespace

int RunExpandSubcommand(int argc, char** argv) {
  PageOptions page;
  bool json = false;
  ValueEncoding encoding = ValueEncoding::kNone;
  bool encoding_given = false;
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
    } else if (arg == "--encode" || arg == "--command-line") {
      if (encoding_given) return Usage("--encode and --command-line exclude each other");
      encoding_given = true;
      encoding =
          arg == "--encode" ? ValueEncoding::kPercent : ValueEncoding::kCommandLine;
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
      return 0;
    } else {
      return Usage("unknown option " + std::string(arg));
    }
  }
  if (!has_template) return Usage("which TEMPLATE?");

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
    return 2;
  }
  // No entry's text may be longer than an address, the longest of them.
  const std::size_t limit = env.ExpansionLimits().address;
  std::u16string wide;
  if (!ExpandTemplateWithin(narrow_template, context, code_page, encoding, charset, limit,
                            &wide)) {
    std::cerr << "qmkit expand: the expansion would be longer than " << limit
              << " characters, the most an entry's address may hold\n";
    return 2;
  }
  const std::string expansion = ToUtf8(wide);
  if (json) {
    std::cout << "{\"template\":" << JsonString(ToUtf8(code_page.ToWide(narrow_template)))
              << ",\"expansion\":" << JsonString(expansion) << "}\n";
  } else {
    std::cout << expansion << "\n";
  }
  return 0;
}

}  // namespace qm
