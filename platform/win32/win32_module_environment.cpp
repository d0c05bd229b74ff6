#include "win32_module_environment.h"

#include <algorithm>

#include "module_file_name.h"
#include "win32_handles.h"

namespace qm {
namespace {

// Any function of this module will do; its address names the module.
void AddressInThisModule() {}

}  // namespace

Win32ModuleEnvironment::Win32ModuleEnvironment(std::string module_path, CatalogueCache* kept)
    : module_path_(std::move(module_path)), kept_(kept) {}

HMODULE Win32ModuleEnvironment::OwnModule() {
  HMODULE module = nullptr;
  if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&AddressInThisModule),
                            &module)) {
    return nullptr;
  }
  return module;
}

std::string Win32ModuleEnvironment::ModulePath() const {
  if (!module_path_.empty()) return module_path_;
  return ModuleFileNameA(OwnModule());
}

bool Win32ModuleEnvironment::StampOf(const std::string& path, FileStamp* stamp) const {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return false;
  }
  stamp->size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  stamp->written = static_cast<std::int64_t>(
      (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
      data.ftLastWriteTime.dwLowDateTime);
  return true;
}

bool Win32ModuleEnvironment::ReadFile(const std::string& path,
                                      std::string* bytes) const {
  ScopedHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
  if (!file.valid() || ::GetFileType(file.get()) != FILE_TYPE_DISK) {
    return false;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file.get(), &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return false;
  }
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return false;
  const auto expected = static_cast<unsigned long long>(size.QuadPart);
  if (expected > std::string().max_size()) return false;

  // The size only sizes the buffer: the file is read to its end, so one that
  // changes meanwhile is neither cut short nor padded.
  std::string text(static_cast<std::size_t>(expected), '\0');
  std::size_t filled = 0;
  constexpr std::size_t kMaxRead = std::size_t{1} << 20;
  for (;;) {
    DWORD got = 0;
    if (filled < text.size()) {
      const DWORD want =
          static_cast<DWORD>(std::min(text.size() - filled, kMaxRead));
      if (!::ReadFile(file.get(), text.data() + filled, want, &got, nullptr)) {
        return false;
      }
      filled += got;
    } else {
      // Usually only confirms the end of the file.
      char more[4096];
      if (!::ReadFile(file.get(), more, sizeof more, &got, nullptr)) {
        return false;
      }
      text.append(more, got);
      filled += got;
    }
    if (got == 0) break;
  }
  text.resize(filled);
  *bytes = std::move(text);
  return true;
}

std::string_view Win32ModuleEnvironment::BuiltInFile(int id) const {
  if (id <= 0 || id > 0xFFFF) return {};
  const HMODULE module = OwnModule();
  if (module == nullptr) return {};
  const HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id), "FILE");
  if (found == nullptr) return {};
  const HGLOBAL loaded = ::LoadResource(module, found);
  if (loaded == nullptr) return {};
  const void* data = ::LockResource(loaded);
  const DWORD size = ::SizeofResource(module, found);
  if (data == nullptr) return {};
  return std::string_view(static_cast<const char*>(data), size);
}

bool Win32ModuleEnvironment::PrimaryWorkArea(int* width, int* height) const {
  RECT area{};
  if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) return false;
  *width = area.right - area.left;
  *height = area.bottom - area.top;
  return true;
}

std::string Win32ModuleEnvironment::UserCurrencyCode() const {
  char symbol[16] = {};
  const int n = ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SINTLSYMBOL,
                                 symbol, static_cast<int>(sizeof symbol));
  if (n <= 1) return {};
  std::string code(symbol, static_cast<std::size_t>(n - 1));
  const std::size_t first = code.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return code.substr(first, code.find_last_not_of(" \t") - first + 1);
}

std::optional<std::string> Win32ModuleEnvironment::EnvironmentVariable(
    const std::string& name) const {
  std::string value(256, '\0');
  for (;;) {
    ::SetLastError(ERROR_SUCCESS);
    const DWORD n = ::GetEnvironmentVariableA(name.c_str(), value.data(),
                                              static_cast<DWORD>(value.size()));
    if (n == 0) {
      if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    // Too small a buffer: n is the size needed, the terminator included.
    if (n < value.size()) {
      value.resize(n);
      return value;
    }
    value.resize(n);
  }
}

ModuleEnvironment::WindowMetrics Win32ModuleEnvironment::DesktopWindowMetrics() const {
  WindowMetrics metrics;
  metrics.frame_width = ::GetSystemMetrics(SM_CXFRAME);
  metrics.frame_height = ::GetSystemMetrics(SM_CYFRAME);
  metrics.scroll_bar_width = ::GetSystemMetrics(SM_CXVSCROLL);
  metrics.menu_height = ::GetSystemMetrics(SM_CYMENU);
  return metrics;
}

const CodePage& Win32ModuleEnvironment::SystemCodePage() const { return code_page_; }

}  // namespace qm
