// Small owners and helpers for POSIX file descriptors.
#pragma once

#include <string>

namespace qm {

// Closes its descriptor when it goes; -1 is none.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor();
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Reads `fd` to its end. On success stores the bytes in *bytes and returns
// true; on a read error returns false and leaves *bytes untouched.
bool ReadToEnd(int fd, std::string* bytes);

}  // namespace qm
