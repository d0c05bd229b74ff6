#include "new_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qm {
namespace {

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

// Gives the temporary file the name `path` only while that name is free.
// Returns 0, or the errno of the failure (EEXIST when the name is taken).
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

NewFileResult Failed(const std::string& what, int error_number, std::string* error) {
  *error = what + ": " + std::strerror(error_number);
  return NewFileResult::kFailed;
}

}  // namespace

NewFileResult WriteNewFile(const std::string& path, std::string_view bytes,
                           std::string* error) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0) return NewFileResult::kExists;
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string pattern = folder + "/." + name + ".XXXXXX";
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return Failed("cannot write in " + (folder.empty() ? "/" : folder), errno, error);
  TemporaryFile temporary(pattern);
  // mkstemp makes the file private; the file is as readable as any file
  // the user makes.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  const bool written = ::fchmod(fd, 0666 & ~mask) == 0 && WriteAll(fd, bytes) &&
                       ::fsync(fd) == 0;
  const int write_error = errno;
  if (::close(fd) != 0 || !written) {
    return Failed("cannot write " + path, written ? errno : write_error, error);
  }
  const int rename_error = NameWithoutReplacing(temporary, path);
  if (rename_error == EEXIST) return NewFileResult::kExists;
  if (rename_error != 0) return Failed("cannot write " + path, rename_error, error);
  return NewFileResult::kWritten;
}

}  // namespace qm
