// What the stand-in libraries (help_control_stub.cpp, mail_program_stub.cpp)
// recorded: they write into the process's environment, which outlives them.
#pragma once

#include <windows.h>

#include <string>

namespace qm {

// The value of the environment variable `name`, which is then removed;
// empty when it was not set.
inline std::string TakeStubRecord(const char* name) {
  static char value[32767];
  const DWORD n = ::GetEnvironmentVariableA(name, value, sizeof value);
  ::SetEnvironmentVariableA(name, nullptr);
  return n == 0 || n >= sizeof value ? std::string() : std::string(value, n);
}

// The folder of this test program, where the stand-in libraries are built,
// with its final backslash.
inline std::string TestProgramFolder() {
  char path[MAX_PATH + 1] = {};
  const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, n);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

}  // namespace qm
