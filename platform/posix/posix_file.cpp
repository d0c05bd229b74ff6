#include "posix_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qm {

FileDescriptor::~FileDescriptor() {
  if (fd_ >= 0) ::close(fd_);
}

bool ReadToEnd(int fd, std::string* bytes) {
  bool too_long = false;
  return ReadToEnd(fd, static_cast<std::size_t>(-1), bytes, &too_long);
}

bool ReadToEnd(int fd, std::size_t max_bytes, std::string* bytes, bool* too_long) {
  std::string text;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (static_cast<std::size_t>(n) > max_bytes - text.size()) {
      *too_long = true;
      return false;
    }
    text.append(buffer, static_cast<std::size_t>(n));
  }
  *bytes = std::move(text);
  return true;
}

bool ReadRegularFile(const std::string& path, std::string* bytes, std::string* reason) {
  // Without O_NONBLOCK a FIFO would wait for a writer.
  const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat info {};
  if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0) {
    *reason = std::strerror(errno);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    *reason = S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "not a regular file";
    return false;
  }
  if (!ReadToEnd(fd.get(), bytes)) {
    *reason = std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace qm
