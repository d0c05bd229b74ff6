#include "module_file_name.h"

#include <algorithm>

namespace qm {
namespace {

constexpr DWORD kLongestPath = 32768;

// A full buffer means the name may have been cut: try again with more room.
template <class String, class Get>
String ModuleFileName(HMODULE module, Get get) {
  if (module == nullptr) return {};
  String path(MAX_PATH, typename String::value_type());
  for (;;) {
    const DWORD size = static_cast<DWORD>(path.size());
    const DWORD n = get(module, path.data(), size);
    if (n == 0) return {};
    if (n < size) {
      path.resize(n);
      return path;
    }
    if (size >= kLongestPath) return {};
    path.resize(std::min<DWORD>(size * 2, kLongestPath));
  }
}

}  // namespace

std::string ModuleFileNameA(HMODULE module) {
  return ModuleFileName<std::string>(module, ::GetModuleFileNameA);
}

std::wstring ModuleFileNameW(HMODULE module) {
  return ModuleFileName<std::wstring>(module, ::GetModuleFileNameW);
}

}  // namespace qm
