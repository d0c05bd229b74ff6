// qmkit: the terminal host. It stands in for the browser: a menu command
// word and a page described by options, the dialogs in the terminal, and
// every action shown (or carried out with --open and --run). Tool
// subcommands serve scripts and catalogue authors.
#include <cstring>
#include <iostream>
#include <string_view>

#include "flows/command_dispatch.h"
#include "menu_command.h"
#include "subcommands.h"
#include "text/utf8.h"

namespace {

constexpr qm::Subcommand kSubcommands[] = {
    {"catalogue", "the catalogue in force, a category's entries, or the parsed sections",
     &qm::RunCatalogueSubcommand},
    {"check", "lint a catalogue file: what the parser drops and what will never work",
     &qm::RunCheckSubcommand},
    {"convert", "read a quantity as the converter does, and convert it to another unit",
     &qm::RunConvertSubcommand},
    {"expand", "expand an entry's template against a page", &qm::RunExpandSubcommand},
    {"find", "what a recogniser finds: isbn, upc, stock, currency or amount",
     &qm::RunFindSubcommand},
};

void WriteUsage(std::ostream& out) {
  out << "usage: qmkit COMMAND [page options] [options]   run a menu command\n"
         "       qmkit SUBCOMMAND [options]                 a tool\n"
         "\n"
         "menu commands:";
  for (const qm::CommandWord& command : qm::CommandWordTable()) {
    out << " " << qm::ToUtf8(command.word);
  }
  out << "\n\nsubcommands:\n";
  for (const qm::Subcommand& s : kSubcommands) {
    out << "  " << s.name << std::string(12 - std::strlen(s.name), ' ') << s.summary << "\n";
  }
  out << "\n'qmkit COMMAND --help' and 'qmkit SUBCOMMAND --help' tell more.\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    WriteUsage(std::cerr);
    return 2;
  }
  const std::string_view first = argv[1];
  if (first == "--help" || first == "-h" || first == "help") {
    WriteUsage(std::cout);
    return 0;
  }
  for (const qm::Subcommand& s : kSubcommands) {
    if (first == s.name) return s.run(argc, argv);
  }
  if (qm::FindCommandFlow(qm::FromUtf8(first)) != nullptr) {
    return qm::RunMenuCommand(argc, argv);
  }
  std::cerr << "qmkit: unknown command \"" << first
            << "\" (command words are in capitals, such as ISBN)\n\n";
  WriteUsage(std::cerr);
  return 2;
}
