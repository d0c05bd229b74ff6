// Parsed catalogues kept from one menu command to the next, for a host whose
// module serves many commands: parsing the catalogue was most of what a pick
// cost before its dialog appeared.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/site_catalogue.h"
#include "host/module_environment.h"

namespace qm {

class CatalogueCache {
 public:
  // Fills the empty `catalogue` as ParseCatalogue(text, prefix, catalogue)
  // does. A text met before (the same bytes) is not parsed again: its
  // sections are shared from the whole of it, parsed the first time.
  void Parse(std::string_view text, std::string_view prefix, SiteCatalogue& catalogue);

  // The bytes of the file at `path` as env.ReadFile gives them; while the
  // environment reports the same stamp for it as when it was last read,
  // the bytes kept from then, without reading it again.
  bool ReadFile(const ModuleEnvironment& env, const std::string& path, std::string* bytes);

  // How many times a text was parsed whole, and a file read: for tests.
  std::size_t parses() const;
  std::size_t reads() const;

 private:
  struct Parsed {
    std::string text;
    std::shared_ptr<const SiteCatalogue> whole;
  };
  struct Read {
    std::string path;
    FileStamp stamp;
    std::string bytes;
  };

  // The built-in default and system catalogues and a user's file, with
  // room for the file's last versions: the least recently used goes first.
  static constexpr std::size_t kKeptTexts = 4;

  mutable std::mutex mutex_;
  std::vector<Parsed> parsed_;  // the most recently used last
  std::vector<Read> read_;
  std::size_t parses_ = 0;
  std::size_t reads_ = 0;
};

}  // namespace qm
