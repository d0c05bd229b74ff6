#include "file_selection_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "posix_file.h"
#include "text/ascii_fold.h"

namespace qm {
namespace {

// One line of the file: a value with its name, or text kept verbatim.
struct Line {
  std::string text;
  std::optional<std::uint32_t> value;
  std::string name;
};

std::optional<std::uint32_t> ParseValue(std::string_view digits) {
  if (digits.empty() || digits.size() > 10) return std::nullopt;
  std::uint64_t v = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (v > 0xFFFFFFFFu) return std::nullopt;
  return static_cast<std::uint32_t>(v);
}

std::vector<Line> ParseLines(std::string_view text) {
  std::vector<Line> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    Line parsed{std::string(line), std::nullopt, {}};
    const std::size_t tab = line.find('\t');
    if (tab != std::string_view::npos && tab + 1 < line.size()) {
      parsed.value = ParseValue(line.substr(0, tab));
      if (parsed.value) parsed.name = std::string(line.substr(tab + 1));
    }
    lines.push_back(std::move(parsed));
  }
  return lines;
}

// Reads the whole file; a missing file reads as empty text.
bool ReadAll(const std::string& path, std::string* text) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    if (errno != ENOENT) return false;
    text->clear();
    return true;
  }
  return ReadToEnd(fd.get(), text);
}

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool MakeDirectories(const std::string& directory) {
  for (std::size_t slash = directory.find('/', 1);;
       slash = directory.find('/', slash + 1)) {
    const std::string part = directory.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) return true;
  }
}

}  // namespace

FileSelectionStore::FileSelectionStore(std::string directory)
    : directory_(std::move(directory)),
      file_path_(directory_ + "/selections") {}

bool FileSelectionStore::Read(const std::string& name,
                              std::uint32_t* value) const {
  std::string text;
  if (!ReadAll(file_path_, &text)) return false;
  // The last line of a name wins, as it would after a hand edit.
  std::optional<std::uint32_t> found;
  for (const Line& line : ParseLines(text)) {
    if (line.value && CompareFolded(line.name, name) == 0) found = line.value;
  }
  if (!found) return false;
  *value = *found;
  return true;
}

bool FileSelectionStore::Write(const std::vector<RememberedValue>& values) {
  if (!MakeDirectories(directory_)) return false;
  const std::string lock_path = directory_ + "/selections.lock";
  FileDescriptor lock(
      ::open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (lock.get() < 0) return false;
  while (::flock(lock.get(), LOCK_EX) != 0) {
    if (errno != EINTR) return false;
  }

  std::string text;
  if (!ReadAll(file_path_, &text)) return false;
  std::vector<Line> lines = ParseLines(text);
  bool all = true;
  for (const RememberedValue& v : values) {
    if (v.name.empty() || v.name.find_first_of("\r\n") != std::string::npos) {
      all = false;
      continue;
    }
    bool updated = false;
    for (Line& line : lines) {
      if (line.value && CompareFolded(line.name, v.name) == 0) {
        line.value = v.value;
        line.text = std::to_string(v.value) + "\t" + line.name;
        updated = true;
      }
    }
    if (!updated) {
      lines.push_back({std::to_string(v.value) + "\t" + v.name, v.value, v.name});
    }
  }

  std::string out;
  for (const Line& line : lines) out += line.text + "\n";
  const std::string temp_path =
      file_path_ + ".tmp-" + std::to_string(::getpid());
  {
    FileDescriptor temp(::open(temp_path.c_str(),
                               O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (temp.get() < 0) return false;
    if (!WriteAll(temp.get(), out) || ::fsync(temp.get()) != 0) {
      ::unlink(temp_path.c_str());
      return false;
    }
  }
  if (::rename(temp_path.c_str(), file_path_.c_str()) != 0) {
    ::unlink(temp_path.c_str());
    return false;
  }
  return all;  // the lock goes with its descriptor
}

}  // namespace qm
