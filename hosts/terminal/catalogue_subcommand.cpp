#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>

#include "catalogue/catalogue_loader.h"
#include "catalogue/catalogue_parser.h"
#include "catalogue_listing.h"
#include "exit_status.h"
#include "resource_ids.h"
#include "host_options.h"
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

int Failed(const std::string& what) {
  std::cerr << "qmkit catalogue: " << what << ": " << std::strerror(errno) << "\n";
  return kExitActionFailed;
}

int ExistsAlready(const std::string& path) {
  std::cerr << "qmkit catalogue: " << path
            << " exists already, and --export never replaces a file\n";
  return kExitUsage;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Removes the temporary file unless it was given its final name.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    if (!kept_) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  const std::string& path() const { return path_; }
  void Keep() { kept_ = true; }

 private:
  std::string path_;
  bool kept_ = false;
};

// Gives the temporary file the name `path` only while that name is free,
// so that a file made meanwhile by someone else survives. Returns 0, or the
// errno of the failure (EEXIST when the name is taken).
int NameWithoutReplacing(TemporaryFile& temporary, const std::string& path) {
  if (::renameat2(AT_FDCWD, temporary.path().c_str(), AT_FDCWD, path.c_str(),
                  RENAME_NOREPLACE) == 0) {
    temporary.Keep();
    return 0;
  }
  // Some file systems know no RENAME_NOREPLACE; a hard link never replaces,
  // and the temporary name goes with the TemporaryFile.
  if (errno != EINVAL && errno != ENOSYS) return errno;
  return ::link(temporary.path().c_str(), path.c_str()) == 0 ? 0 : errno;
}

// Writes `bytes` into a new file `path`. They go to a temporary file beside
// it first, so a failure part way leaves no half-written catalogue behind.
int ExportToFile(const std::string& path, std::string_view bytes) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0) return ExistsAlready(path);
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string pattern = folder + "/." + name + ".XXXXXX";
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return Failed("cannot write in " + (folder.empty() ? "/" : folder));
  TemporaryFile temporary(pattern);
  // mkstemp makes the file private; a catalogue is as readable as any file
  // the user makes.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  const bool written = ::fchmod(fd, 0666 & ~mask) == 0 && WriteAll(fd, bytes) &&
                       ::fsync(fd) == 0;
  const int write_error = errno;
  if (::close(fd) != 0 || !written) {
    if (!written) errno = write_error;
    return Failed("cannot write " + path);
  }
  const int error = NameWithoutReplacing(temporary, path);
  if (error == EEXIST) return ExistsAlready(path);
  if (error != 0) {
    errno = error;
    return Failed("cannot write " + path);
  }
  return kExitDone;
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
