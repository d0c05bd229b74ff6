#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue_loader.h"
#include "catalogue/catalogue_parser.h"
#include "catalogue_listing.h"
#include "exit_status.h"
#include "resource_ids.h"
#include "host_options.h"
#include "new_file.h"
#include "option_table.h"
#include "posix_module_environment.h"
#include "subcommands.h"
#include "text/windows_1252.h"

namespace qm {
namespace {

// What the command line asks for.
struct CatalogueOptions {
  HostOptions host;
  std::string category;
  std::optional<std::string> prefix;
  std::string file;
  bool export_built_in = false;
  std::string export_path;
};

OptionTable CatalogueTable(CatalogueOptions* options) {
  OptionTable table = OptionTable::ForTool("catalogue");
  table
      .Text("usage: qmkit catalogue [CATEGORY] [options]\n"
            "       qmkit catalogue --prefix P [--file F] [options]\n"
            "       qmkit catalogue --export [FILE]\n"
            "\n"
            "  catalogue              every category: entry count and where it comes from\n"
            "  catalogue CATEGORY     one category's entries in dialog order, with the\n"
            "                         remembered ticks ([x]) and descriptions\n"
            "\n"
            "options:\n")
      .Value("--prefix", "P",
             "the parsed catalogue: the sections whose names begin\n"
             "with P (\"\" for all), in order, with keys and values",
             [options](const std::string& value, std::string*) {
               options->prefix = value;
               return true;
             })
      .Value("--file", "F", "parse F alone instead of the catalogue in force", &options->file)
      .OptionalValue("--export", "FILE",
                     "write the built-in catalogue, byte for byte (CR LF\n"
                     "line ends, Windows-1252), to start one of your own:\n"
                     "to FILE, or to standard output without FILE or with\n"
                     "\"-\". An existing FILE is never replaced; --export\n"
                     "takes no other option",
                     [options](const std::optional<std::string>& path, std::string* error) {
                       options->export_built_in = true;
                       if (!path) return true;
                       if (path->empty()) {
                         *error = "--export FILE: the name is empty";
                         return false;
                       }
                       options->export_path = *path;
                       return true;
                     });
  AddHostOptions(table, &options->host, "every form but --export as JSON");
  table
      .Positional(Positionals::kNoDash,
                  {[options](const std::string& category, std::string* error) {
                    if (!options->category.empty()) {
                      *error = "one category at a time";
                      return false;
                    }
                    options->category = category;
                    return true;
                  }},
                  "")
      .Text("\n"
            "Exit status: 0 done; 2 bad usage, an unknown category, an unreadable\n"
            "--file or an existing --export FILE; 4 FILE could not be written.\n"
            "\n");
  return table;
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

// Writes what the options ask for besides --export; returns the exit
// status.
int List(const CatalogueOptions& options, const OptionTable& table) {
  const PosixModuleEnvironment env(options.host.catalogue_file);
  const Windows1252CodePage code_page;
  const ListingFormat format = options.host.json ? ListingFormat::kJson : ListingFormat::kText;
  if (options.prefix || !options.file.empty()) {
    SiteCatalogue catalogue;
    const std::string prefix = options.prefix.value_or("");
    if (!options.file.empty()) {
      std::string bytes;
      if (!env.ReadFile(options.file, &bytes)) return table.UsageError("cannot read " + options.file);
      ParseCatalogue(ReadCatalogueText(std::move(bytes), code_page), prefix, catalogue);
    } else {
      LoadCatalogue(env, prefix, false, catalogue);
    }
    WriteCatalogueSections(catalogue, code_page, format, std::cout);
    return kExitDone;
  }
  if (options.category.empty()) {
    WriteCatalogueSummary(env, format, std::cout);
    return kExitDone;
  }
  const auto store = MakeSelectionStore(options.host);
  if (!WriteCatalogueListing(options.category, env, *store, code_page, format, std::cout)) {
    return table.UsageError("unknown category \"" + options.category + "\"");
  }
  return kExitDone;
}

}  // namespace

int RunCatalogueSubcommand(int argc, char** argv) {
  CatalogueOptions options;
  const OptionTable table = CatalogueTable(&options);
  std::vector<std::string> met;
  if (const std::optional<int> status = table.Read(argc, argv, 2, &met)) return *status;
  if (!options.export_built_in) return List(options, table);
  for (const std::string& option : met) {
    if (option != "--export") return table.UsageError("--export takes a FILE and nothing else");
  }
  return Export(options.export_path);
}

}  // namespace qm
