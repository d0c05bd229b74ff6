#include "catalogue/catalogue_cache.h"

#include <algorithm>
#include <utility>

#include "catalogue/catalogue_parser.h"

namespace qm {

void CatalogueCache::Parse(std::string_view text, std::string_view prefix,
                           SiteCatalogue& catalogue) {
  std::shared_ptr<const SiteCatalogue> whole;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto found = std::find_if(parsed_.begin(), parsed_.end(),
                                    [text](const Parsed& p) { return p.text == text; });
    if (found != parsed_.end()) {
      whole = found->whole;
      std::rotate(found, found + 1, parsed_.end());
    }
  }
  if (whole == nullptr) {
    // Parsed outside the lock: another command may parse the same text at
    // the same time, and one of the two results is kept.
    auto parsed = std::make_shared<SiteCatalogue>();
    ParseCatalogue(std::string(text), "", *parsed);
    whole = parsed;
    const std::lock_guard<std::mutex> lock(mutex_);
    ++parses_;
    if (parsed_.size() == kKeptTexts) parsed_.erase(parsed_.begin());
    parsed_.push_back({std::string(text), whole});
  }
  catalogue = whole->SectionsWithPrefix(prefix);
}

bool CatalogueCache::ReadFile(const ModuleEnvironment& env, const std::string& path,
                              std::string* bytes) {
  FileStamp stamp;
  const bool stamped = env.StampOf(path, &stamp);
  if (stamped) {
    const std::lock_guard<std::mutex> lock(mutex_);
    for (const Read& read : read_) {
      if (read.path == path && read.stamp == stamp) {
        *bytes = read.bytes;
        return true;
      }
    }
  }
  std::string fresh;
  if (!env.ReadFile(path, &fresh)) return false;
  const std::lock_guard<std::mutex> lock(mutex_);
  ++reads_;
  std::erase_if(read_, [&path](const Read& read) { return read.path == path; });
  if (stamped) {
    if (read_.size() == kKeptTexts) read_.erase(read_.begin());
    read_.push_back({path, stamp, fresh});
  }
  *bytes = std::move(fresh);
  return true;
}

std::size_t CatalogueCache::parses() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return parses_;
}

std::size_t CatalogueCache::reads() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return reads_;
}

}  // namespace qm
