// qmkit: the terminal host. It stands in for the browser: a menu command
// word and a page described by options, the dialogs in the terminal, and
// every action shown (or carried out with --open and --run). Tool
// subcommands serve scripts and catalogue authors.
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>

#include "exit_status.h"
#include "flows/command_dispatch.h"
#include "menu_command.h"
#include "option_table.h"
#include "subcommands.h"
#include "text/ascii_fold.h"
#include "text/utf8.h"

#ifndef QMKIT_VERSION
#error "QMKIT_VERSION comes from the project version in CMakeLists.txt"
#endif

namespace {

constexpr qm::Subcommand kSubcommands[] = {
    {"catalogue", "the catalogue in force, a category's entries; --export the built-in one",
     &qm::RunCatalogueSubcommand},
    {"check", "lint a catalogue file: what the parser drops and what will never work",
     &qm::RunCheckSubcommand},
    {"convert", "read a quantity as the converter does, and convert it to another unit",
     &qm::RunConvertSubcommand},
    {"expand", "expand an entry's template against a page", &qm::RunExpandSubcommand},
    {"find", "what a recogniser finds: isbn, upc, stock, currency or amount",
     &qm::RunFindSubcommand},
    {"native-host", "serve the browser extension over native messaging (a browser starts it)",
     &qm::RunNativeHostSubcommand},
};

void WriteUsage(std::ostream& out) {
  out << "usage: qmkit COMMAND [page options] [options]   run a menu command\n"
         "       qmkit SUBCOMMAND [options]                 a tool\n"
         "       qmkit --version\n"
         "\n"
         "menu commands:";
  for (const qm::CommandWord& command : qm::CommandWordTable()) {
    out << " " << qm::ToUtf8(command.word);
  }
  out << "\n\nsubcommands:\n";
  for (const qm::Subcommand& s : kSubcommands) {
    out << "  " << s.name << std::string(12 - std::strlen(s.name), ' ') << s.summary << "\n";
  }
  out << "\nCommands and subcommands may be written in any letter case (isbn, Check);\n"
         "\"convert\" in small letters is the subcommand, in any other spelling the\n"
         "CONVERT command.\n"
         "'qmkit COMMAND --help' and 'qmkit SUBCOMMAND --help' tell more.\n";
}

const qm::Subcommand* FindSubcommand(std::string_view name) {
  for (const qm::Subcommand& s : kSubcommands) {
    if (name == s.name) return &s;
  }
  return nullptr;
}

void FoldToUpper(char* text) {
  for (; *text != '\0'; ++text) {
    if (*text >= 'a' && *text <= 'z') *text = static_cast<char>(*text - 'a' + 'A');
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    WriteUsage(std::cerr);
    return qm::kExitUsage;
  }
  const std::string first = argv[1];
  if (qm::IsHelpOption(first) || qm::CompareFolded(first, "help") == 0) {
    WriteUsage(std::cout);
    return qm::kExitDone;
  }
  if (first == "--version" || first == "-V") {
    std::cout << "qmkit " QMKIT_VERSION "\n";
    return qm::kExitDone;
  }
  // The exact spelling first: "convert" is a subcommand, "CONVERT" a menu
  // command, and folding must not turn one into the other.
  if (const qm::Subcommand* s = FindSubcommand(first)) return s->run(argc, argv);
  // The command table is case-sensitive, as the browser's script pages are;
  // people at a terminal are not, so the word is folded before it is handed
  // on. Both folds change ASCII letters only, keeping every length.
  FoldToUpper(argv[1]);
  if (qm::FindCommand(qm::FromUtf8(argv[1])) != nullptr) {
    return qm::RunMenuCommand(argc, argv);
  }
  qm::FoldAsciiInPlace(argv[1], argv[1] + std::strlen(argv[1]));
  if (const qm::Subcommand* s = FindSubcommand(argv[1])) return s->run(argc, argv);
  std::cerr << "qmkit: unknown command \"" << first << "\"\n\n";
  WriteUsage(std::cerr);
  return qm::kExitUsage;
}
