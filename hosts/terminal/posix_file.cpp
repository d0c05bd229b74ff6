#include "posix_file.h"

#include <unistd.h>

#include <cerrno>

namespace qm {

FileDescriptor::~FileDescriptor() {
  if (fd_ >= 0) ::close(fd_);
}

bool ReadToEnd(int fd, std::string* bytes) {
  std::string text;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.append(buffer, static_cast<std::size_t>(n));
  }
  *bytes = std::move(text);
  return true;
}

}  // namespace qm
