#include <iostream>
#include <string>
#include <string_view>

#include "action_log.h"
#include "catalogue/catalogue_loader.h"
#include "catalogue/catalogue_parser.h"
#include "catalogue_listing.h"
#include "host_options.h"
#include "posix_module_environment.h"
#include "subcommands.h"
#include "text/utf8.h"
#include "text/windows_1252.h"

namespace qm {
namespace {

constexpr char kUsage[] =
    "usage: qmkit catalogue [CATEGORY] [options]\n"
    "       qmkit catalogue --prefix P [--file F] [options]\n"
    "\n"
    "  catalogue             every category: entry count and where it comes from\n"
    "  catalogue CATEGORY    one category's entries in dialog order, with the\n"
    "                        remembered ticks ([x]) and descriptions\n"
    "  --prefix P            the parsed catalogue: the sections whose names begin\n"
    "                        with P (\"\" for all), in order, with keys and values\n"
    "  --file F              parse F alone instead of the catalogue in force\n"
    "\n";

int Usage(const std::string& error) {
  std::cerr << "qmkit catalogue: " << error << "\n" << kUsage;
  return 2;
}

// The sections of `catalogue` with their keys, as text or JSON.
void WriteSections(const SiteCatalogue& catalogue, const CodePage& code_page,
                   bool json, std::ostream& out) {
  auto utf8 = [&](std::string_view narrow) { return ToUtf8(code_page.ToWide(narrow)); };
  if (json) out << "{\"sections\":[";
  bool first = true;
  catalogue.ForEachSection([&](const CatalogueSection& section) {
    if (json) {
      out << (first ? "" : ",") << "{\"name\":" << JsonString(utf8(section.name()))
          << ",\"keys\":{";
      bool first_key = true;
      for (const CatalogueValue& v : section) {
        out << (first_key ? "" : ",") << JsonString(utf8(v.key)) << ":"
            << JsonString(utf8(v.value));
        first_key = false;
      }
      out << "}}";
    } else {
      out << "[" << utf8(section.name()) << "]\n";
      for (const CatalogueValue& v : section) {
        out << utf8(v.key) << "=" << utf8(v.value) << "\n";
      }
    }
    first = false;
  });
  if (json) out << "]}\n";
}

}  // namespace

int RunCatalogueSubcommand(int argc, char** argv) {
  HostOptions host;
  std::string category;
  std::string prefix;
  bool has_prefix = false;
  std::string file;
  for (int i = 2; i < argc;) {
    const std::string_view arg = argv[i];
    std::string error;
    if (TakeHostOption(argc, argv, &i, &host, &error)) {
      if (!error.empty()) return Usage(error);
    } else if (arg == "--help" || arg == "-h") {
      std::cout << kUsage << kHostOptionsUsage;
      return 0;
    } else if ((arg == "--prefix" || arg == "--file") && i + 1 < argc) {
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

  const PosixModuleEnvironment env(host.catalogue_file);
  const Windows1252CodePage code_page;
  if (has_prefix || !file.empty()) {
    SiteCatalogue catalogue;
    if (!file.empty()) {
      std::string bytes;
      if (!env.ReadFile(file, &bytes)) return Usage("cannot read " + file);
      ParseCatalogue(std::move(bytes), prefix, catalogue);
    } else {
      LoadCatalogue(env, prefix, false, catalogue);
    }
    WriteSections(catalogue, code_page, host.json, std::cout);
    return 0;
  }
  if (category.empty()) {
    WriteCatalogueSummary(env, std::cout);
    return 0;
  }
  const auto store = MakeSelectionStore(host);
  if (!WriteCatalogueListing(category, env, *store, code_page, std::cout)) {
    return Usage("unknown category \"" + category + "\"");
  }
  return 0;
}

}  // namespace qm
