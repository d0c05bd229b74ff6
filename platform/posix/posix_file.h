// Small owners and helpers for POSIX file descriptors.
#pragma once

#include <cstddef>
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
// true; on a read error returns false and leaves *bytes untouched. With
// `max_bytes`, more bytes than that are an error too: reading stops there
// and *too_long is set.
bool ReadToEnd(int fd, std::string* bytes);
bool ReadToEnd(int fd, std::size_t max_bytes, std::string* bytes, bool* too_long);

// Reads the regular file `path` whole; a FIFO named by mistake is refused
// rather than waited on. On failure returns false with the reason in
// *reason: the system's text as it stands ("No such file or directory",
// "Is a directory"), or "not a regular file".
bool ReadRegularFile(const std::string& path, std::string* bytes, std::string* reason);

}  // namespace qm
