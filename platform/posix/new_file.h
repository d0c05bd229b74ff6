// Writing a file that must not exist yet, such as an exported catalogue:
// whole or not at all, and never over a file that is there.
#pragma once

#include <string>
#include <string_view>

namespace qm {

enum class NewFileResult {
  kWritten,  // `path` holds the bytes
  kExists,   // something has that name already and stays as it is
  kFailed,   // nothing was written; *error says why
};

// Writes `bytes` into a new file `path`, as readable as any file the user
// makes (the umask decides). The bytes go to a temporary file beside it
// first, which gets the name only while the name is free, so a failure part
// way leaves no half-written file behind, and a file made meanwhile by
// someone else survives. On kFailed, *error is "cannot write PATH: REASON"
// or "cannot write in FOLDER: REASON", REASON the system's text.
NewFileResult WriteNewFile(const std::string& path, std::string_view bytes,
                           std::string* error);

}  // namespace qm
