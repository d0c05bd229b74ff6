#include "file_selection_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <memory>

#include "posix_file.h"
#include "text/ascii_fold.h"

namespace qm {
namespace {

constexpr std::string_view kTemporaryPrefix = "selections.tmp-";

// A temporary file this old belongs to no running save, whatever its pid
// says: a save holds the lock for milliseconds, and pids are reused.
constexpr std::time_t kAbandonedAfterSeconds = 3600;

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

SelectionsLine ValueLine(std::uint32_t value, const std::string& name,
                         bool crlf) {
  return {std::to_string(value) + "\t" + name, crlf, value, name};
}

enum class FileState { kMissing, kRead, kUnusable };

constexpr const char* kTooLarge = "larger than 1 MiB";

// Reads `path` when it is a regular file of at most kMaxFileBytes, without
// following a link at its last component and without waiting on a FIFO.
// On kRead stores its bytes in *bytes and its status in *info; on
// kUnusable says why in *why.
FileState ReadSelectionsFileAt(const std::string& path, std::string* bytes,
                               struct stat* info, std::string* why) {
  FileDescriptor fd(::open(path.c_str(),
                           O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) {
    if (errno == ENOENT) return FileState::kMissing;
    *why = errno == ELOOP ? "a symbolic link" : "it cannot be opened";
    return FileState::kUnusable;
  }
  if (::fstat(fd.get(), info) != 0 || !S_ISREG(info->st_mode)) {
    *why = "not a regular file";
    return FileState::kUnusable;
  }
  if (info->st_size < 0 ||
      static_cast<std::uint64_t>(info->st_size) > FileSelectionStore::kMaxFileBytes) {
    *why = kTooLarge;
    return FileState::kUnusable;
  }
  // The size may change under a hand edit; the bound holds all the same.
  std::string text;
  char buffer[16384];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      *why = "it cannot be read";
      return FileState::kUnusable;
    }
    text.append(buffer, static_cast<std::size_t>(n));
    if (text.size() > FileSelectionStore::kMaxFileBytes) {
      *why = kTooLarge;
      return FileState::kUnusable;
    }
  }
  *bytes = std::move(text);
  return FileState::kRead;
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

// Opens the lock file, creating it when needed. One that is there already
// must be a regular file reached without a link.
int OpenLockFile(const std::string& path) {
  const int fd = ::open(path.c_str(),
                        O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
                        0600);
  if (fd < 0) return -1;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Creates `path` anew for writing. A file or link already there under our
// pid is left from a killed save of an earlier process with the same pid,
// or planted: it is removed (a link itself, never what it points to) and
// the creation tried once more.
int CreateTemporaryFile(const std::string& path) {
  constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
  int fd = ::open(path.c_str(), kFlags, 0600);
  if (fd < 0 && errno == EEXIST && ::unlink(path.c_str()) == 0) {
    fd = ::open(path.c_str(), kFlags, 0600);
  }
  return fd;
}

// The pid of a name "selections.tmp-<digits>", or 0 for any other name.
pid_t TemporaryFilePid(std::string_view name) {
  if (name.substr(0, kTemporaryPrefix.size()) != kTemporaryPrefix) return 0;
  const std::optional<std::uint32_t> pid =
      ParseValue(name.substr(kTemporaryPrefix.size()));
  if (!pid || *pid == 0 || *pid > 0x7FFFFFFFu) return 0;
  return static_cast<pid_t>(*pid);
}

}  // namespace

std::vector<SelectionsLine> ParseSelectionsFile(std::string_view bytes) {
  std::vector<SelectionsLine> lines;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes = end == std::string_view::npos ? std::string_view{}
                                          : bytes.substr(end + 1);
    SelectionsLine parsed;
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
      parsed.crlf = true;
    }
    parsed.text = std::string(line);
    const std::size_t tab = line.find('\t');
    if (tab != std::string_view::npos && tab + 1 < line.size()) {
      parsed.value = ParseValue(line.substr(0, tab));
      if (parsed.value) parsed.name = std::string(line.substr(tab + 1));
    }
    lines.push_back(std::move(parsed));
  }
  return lines;
}

std::string FormatSelectionsFile(const std::vector<SelectionsLine>& lines) {
  std::string out;
  for (const SelectionsLine& line : lines) {
    out += line.text;
    out += line.crlf ? "\r\n" : "\n";
  }
  return out;
}

void MergeIntoSelections(std::vector<SelectionsLine>& lines,
                         const RememberedValue& value) {
  bool present = false;
  for (SelectionsLine& line : lines) {
    if (line.value && CompareFolded(line.name, value.name) == 0) {
      if (!value.only_if_absent) {
        line = ValueLine(value.value, line.name, line.crlf);
      }
      present = true;
    }
  }
  if (!present) {
    lines.push_back(ValueLine(value.value, value.name,
                              !lines.empty() && lines.back().crlf));
  }
}

FileSelectionStore::FileSelectionStore(std::string directory, DamageReport on_damage)
    : directory_(std::move(directory)),
      file_path_(directory_ + "/selections"),
      on_damage_(std::move(on_damage)) {}

void FileSelectionStore::Remember(const std::vector<SelectionsLine>& lines) const {
  values_.emplace();
  // The last line of a name wins, as it would after a hand edit.
  for (const SelectionsLine& line : lines) {
    if (line.value) values_->insert_or_assign(line.name, *line.value);
  }
}

bool FileSelectionStore::Read(const std::string& name,
                              std::uint32_t* value) const {
  if (!values_) {
    std::string text;
    struct stat info {};
    std::string why;
    const FileState state = ReadSelectionsFileAt(file_path_, &text, &info, &why);
    Remember(ParseSelectionsFile(text));
    if (state == FileState::kUnusable && on_damage_) on_damage_(why);
  }
  const auto found = values_->find(name);
  if (found == values_->end()) return false;
  *value = found->second;
  return true;
}

void FileSelectionStore::RemoveAbandonedTemporaryFiles() const {
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory_.c_str()),
                                                 &::closedir);
  if (!dir) return;
  const std::time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(dir.get())) {
    const pid_t pid = TemporaryFilePid(entry->d_name);
    if (pid == 0) continue;
    struct stat info {};
    if (::fstatat(::dirfd(dir.get()), entry->d_name, &info,
                  AT_SYMLINK_NOFOLLOW) != 0) {
      continue;
    }
    // Our own pid writes nothing yet; kill() tells only whether some
    // process has the pid (EPERM: one of another user's).
    const bool owner_gone =
        pid == ::getpid() || (::kill(pid, 0) != 0 && errno == ESRCH);
    const bool old = now - info.st_mtime > kAbandonedAfterSeconds;
    if (owner_gone || old) ::unlinkat(::dirfd(dir.get()), entry->d_name, 0);
  }
}

bool FileSelectionStore::Write(const std::vector<RememberedValue>& values) {
  bool all = true;
  std::vector<const RememberedValue*> storable;
  for (const RememberedValue& v : values) {
    if (v.name.empty() || v.name.find_first_of("\r\n") != std::string::npos) {
      all = false;
    } else {
      storable.push_back(&v);
    }
  }
  if (storable.empty()) return all;

  if (!MakeDirectories(directory_)) return false;
  FileDescriptor lock(OpenLockFile(directory_ + "/selections.lock"));
  if (lock.get() < 0) return false;
  while (::flock(lock.get(), LOCK_EX) != 0) {
    if (errno != EINTR) return false;
  }
  RemoveAbandonedTemporaryFiles();

  // Re-read under the lock: what other commands saved since this one's
  // dialog opened stays, and only the given names change.
  std::string text;
  struct stat existing {};
  std::string why;
  const FileState state = ReadSelectionsFileAt(file_path_, &text, &existing, &why);
  if (state == FileState::kUnusable) return false;
  std::vector<SelectionsLine> lines = ParseSelectionsFile(text);
  for (const RememberedValue* v : storable) MergeIntoSelections(lines, *v);
  const std::string bytes = FormatSelectionsFile(lines);
  // The old file stays rather than one the next command could not read.
  if (bytes.size() > kMaxFileBytes) return false;

  const std::string temp_path = directory_ + "/" +
                                std::string(kTemporaryPrefix) +
                                std::to_string(::getpid());
  bool written = false;
  {
    FileDescriptor temp(CreateTemporaryFile(temp_path));
    if (temp.get() < 0) return false;
    written = WriteAll(temp.get(), bytes);
    if (written && state == FileState::kRead) {
      // The replacement is the same file to its owner. Only root can hand
      // a file to another owner; when that fails the bits still hold.
      if (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()) {
        (void)::fchown(temp.get(), existing.st_uid, existing.st_gid);
      }
      written = ::fchmod(temp.get(), existing.st_mode & 07777) == 0;
    }
    written = written && ::fsync(temp.get()) == 0;
  }
  if (!written || ::rename(temp_path.c_str(), file_path_.c_str()) != 0) {
    ::unlink(temp_path.c_str());
    return false;
  }
  if (values_) Remember(lines);
  return all;  // the lock goes with its descriptor
}

}  // namespace qm
