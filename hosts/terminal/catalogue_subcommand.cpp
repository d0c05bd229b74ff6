#include <iostream>
#include <string>
#include <string_view>

#include "catalogue/catalogue_loader.h"
#include "catalogue/catalogue_parser.h"
#include "catalogue_listing.h"
#include "exit_status.h"
#include "resource_ids.h"
#include "host_options.h"
#include "new_file.h"
#include "posix_module_environment.h"
#include "subcommands.h"
#include "text/windows_1252.h"

namespace qm {
namespace {

constexpr char kUsage[] =
    "usage: qmkit catalogue [CATEGORY] [options]\n"
    "       qmkit catalogue --prefix P [--file F] [options]\n"
    "       qmkit catalogue --export [FILE]\n"
    "\n"
    "  catalogue             every category: entry count and where it comes from\n"
    "  catalogue CATEGORY    one category's entries in dialog order, with the\n"
    "                        remembered ticks ([x]) and descriptions\n"
    "  --prefix P            the parsed catalogue: the sections whose names begin\n"
    "                        with P (\"\" for all), in order, with keys and values\n"
    "  --file F              parse F alone instead of the catalogue in force\n"
    "  --export [FILE]       write the built-in catalogue, byte for byte (CR LF\n"
    "                        line ends, Windows-1252), to start one of your own:\n"
    "                        to FILE, or to standard output without FILE or with\n"
    "                        \"-\". An existing FILE is never replaced.\n"
    "  --json                every form but --export as JSON\n"
    "Exit status: 0 done; 2 bad usage, an unknown category, an unreadable\n"
    "--file or an existing --export FILE; 4 FILE could not be written.\n"
    "\n";

int Usage(const std::string& error) {
  std::cerr << "qmkit catalogue: " << error << "\n('qmkit catalogue --help' tells more)\n";
  return kExitUsage;
}

int ExistsAlready(const std::string& path) {
  std::cerr << "qmkit catalogue: " << path
            << " exists already, and --export never replaces a file\n";
  return kExitUsage;
}

int ExportToFile(const std::string& path, std::string_view bytes) {
  std::string error;
  switch (WriteNewFile(path, bytes, &error)) {
    case NewFileResult::kWritten: return kExitDone;
    case NewFileResult::kExists: return ExistsAlready(path);
    case NewFileResult::kFailed: break;
  }
  std::cerr << "qmkit catalogue: " << error << "\n";
  return kExitActionFailed;
}

int Export(const std::string& path) {
  const std::string_view bytes =
      PosixModuleEnvironment().BuiltInFile(IDR_DEFAULT_CATALOGUE);
  if (!path.empty() && path != "-") return ExportToFile(path, bytes);
  std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "qmkit catalogue: cannot write to standard output\n";
    return kExitActionFailed;
  }
  return kExitDone;
}

}  // namespace

int RunCatalogueSubcommand(int argc, char** argv) {
  HostOptions host;
  std::string category;
  std::string prefix;
  bool has_prefix = false;
  std::string file;
  bool has_export = false;
  std::string export_path;
  bool has_other = false;  // anything besides --export and its FILE
  for (int i = 2; i < argc;) {
    const std::string_view arg = argv[i];
    std::string error;
    if (arg == "--export") {
      has_export = true;
      if (i + 1 < argc && (argv[i + 1][0] != '-' || std::string_view(argv[i + 1]) == "-")) {
        export_path = argv[++i];
        if (export_path.empty()) return Usage("--export FILE: the name is empty");
      }
      ++i;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage << kHostOptionsUsage;
      return kExitDone;
    }
    has_other = true;
    if (TakeHostOption(argc, argv, &i, &host, &error)) {
      if (!error.empty()) return Usage(error);
    } else if (arg == "--prefix" || arg == "--file") {
      if (i + 1 >= argc) return Usage(std::string(arg) + " needs a value");
      (arg == "--prefix" ? prefix : file) = argv[i + 1];
      has_prefix |= arg == "--prefix";
      i += 2;
    } else if (arg.empty() || arg[0] != '-') {
      if (!category.empty()) return Usage("one category at a time");
      category = std::string(arg);
      ++i;
    } else {
      return Usage("unknown option " + std::string(arg));
    }
  }
  if (has_export) {
    if (has_other) return Usage("--export takes a FILE and nothing else");
    return Export(export_path);
  }

  const PosixModuleEnvironment env(host.catalogue_file);
  const Windows1252CodePage code_page;
  const ListingFormat format = host.json ? ListingFormat::kJson : ListingFormat::kText;
  if (has_prefix || !file.empty()) {
    SiteCatalogue catalogue;
    if (!file.empty()) {
      std::string bytes;
      if (!env.ReadFile(file, &bytes)) return Usage("cannot read " + file);
      ParseCatalogue(ReadCatalogueText(std::move(bytes), code_page), prefix, catalogue);
    } else {
      LoadCatalogue(env, prefix, false, catalogue);
    }
    WriteCatalogueSections(catalogue, code_page, format, std::cout);
    return kExitDone;
  }
  if (category.empty()) {
    WriteCatalogueSummary(env, format, std::cout);
    return kExitDone;
  }
  const auto store = MakeSelectionStore(host);
  if (!WriteCatalogueListing(category, env, *store, code_page, format, std::cout)) {
    return Usage("unknown category \"" + category + "\"");
  }
  return kExitDone;
}

}  // namespace qm
