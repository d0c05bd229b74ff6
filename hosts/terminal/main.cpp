// qmkit: the terminal host. For now it shows the catalogue in force.
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue_listing.h"
#include "file_selection_store.h"
#include "host/memory_selection_store.h"
#include "posix_module_environment.h"
#include "text/windows_1252.h"

namespace {

constexpr const char* kUsage =
    "usage: qmkit catalogue [CATEGORY] [--catalogue FILE] [--config-dir DIR]\n"
    "\n"
    "  catalogue            list the categories, their entry counts and sources\n"
    "  catalogue CATEGORY   list the entries of one category (BOOK, ISBN, UPC,\n"
    "                       MOVIE, MUSIC, SEARCH, STOCK, TRANSLATE, URL, EMAIL,\n"
    "                       CURRENCY, OTHER, UNIT, SYSTEM) in dialog order, with\n"
    "                       the remembered ticks ([x]) and descriptions\n"
    "\n"
    "  --catalogue FILE     read the user's catalogue from FILE instead of\n"
    "                       qmkit.ini beside the program\n"
    "  --config-dir DIR     where the remembered ticks live (default\n"
    "                       $XDG_CONFIG_HOME/qmkit or ~/.config/qmkit)\n";

struct Options {
  std::vector<std::string> words;
  std::string catalogue_file;
  std::string config_dir;
};

bool ParseOptions(int argc, char** argv, Options* options, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--catalogue" || arg == "--config-dir") {
      if (i + 1 >= argc) {
        *error = std::string(arg) + " needs a value";
        return false;
      }
      (arg == "--catalogue" ? options->catalogue_file : options->config_dir) =
          argv[++i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      *error = "unknown option " + std::string(arg);
      return false;
    } else {
      options->words.emplace_back(arg);
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::string error;
  if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 ||
                    std::strcmp(argv[1], "-h") == 0)) {
    std::cout << kUsage;
    return 0;
  }
  if (!ParseOptions(argc, argv, &options, &error)) {
    std::cerr << "qmkit: " << error << "\n" << kUsage;
    return 2;
  }
  if (options.words.empty() || options.words[0] != "catalogue" ||
      options.words.size() > 2) {
    std::cerr << kUsage;
    return 2;
  }

  // A catalogue named on the command line stands where the program's own
  // would: the user's file is always the module path with ".ini".
  const qm::PosixModuleEnvironment env(options.catalogue_file);
  const std::string config_dir = options.config_dir.empty()
                                     ? qm::FileSelectionStore::DefaultDirectory()
                                     : options.config_dir;
  const qm::Windows1252CodePage code_page;

  if (options.words.size() == 1) {
    qm::WriteCatalogueSummary(env, std::cout);
    return 0;
  }
  const std::string& category = options.words[1];
  bool known = false;
  if (config_dir.empty()) {
    const qm::MemorySelectionStore store;  // nowhere to remember anything
    known = qm::WriteCatalogueListing(category, env, store, code_page, std::cout);
  } else {
    const qm::FileSelectionStore store(config_dir);
    known = qm::WriteCatalogueListing(category, env, store, code_page, std::cout);
  }
  if (!known) {
    std::cerr << "qmkit: unknown category \"" << category << "\"\n" << kUsage;
    return 2;
  }
  return 0;
}
