// What the module's tests share: a scratch folder holding a loaded copy of
// the built qmkit.dll, scratch registry keys, and a readable dump of a
// registry tree.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qm::test {

// A fresh folder under the user's temporary folder, removed with its files
// (read-only ones too).
class ScratchFolder {
 public:
  // The folder's name ends with `name_end`.
  explicit ScratchFolder(const std::wstring& name_end = L"");
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::wstring& path() const { return path_; }
  std::wstring File(const std::wstring& name) const {
    return path_ + L"\\" + name;
  }
  // Names of the files in the folder, sorted.
  std::vector<std::wstring> FileNames() const;

 private:
  std::wstring path_;
};

// A copy of the built module in a folder of its own, loaded, with its four
// entry points. Every copy is a module of its own: its lock count and class
// factory start afresh.
class LoadedModule {
 public:
  // The folder's name ends with `folder_name_end`.
  explicit LoadedModule(const std::wstring& folder_name_end = L"");
  ~LoadedModule();
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;

  // With all four entry points.
  bool loaded() const {
    return GetClassObject && CanUnloadNow && RegisterServer && UnregisterServer;
  }
  // As the loaded module reports it.
  const std::wstring& path() const { return path_; }
  // A file beside the module.
  std::wstring Beside(const std::wstring& name) const {
    return path_.substr(0, path_.rfind(L'\\') + 1) + name;
  }
  const ScratchFolder& folder() const { return folder_; }

  HRESULT(STDAPICALLTYPE* GetClassObject)(REFCLSID, REFIID, void**) = nullptr;
  HRESULT(STDAPICALLTYPE* CanUnloadNow)() = nullptr;
  HRESULT(STDAPICALLTYPE* RegisterServer)() = nullptr;
  HRESULT(STDAPICALLTYPE* UnregisterServer)() = nullptr;

 private:
  ScratchFolder folder_;
  std::wstring path_;
  HMODULE handle_ = nullptr;
};

// A key of its own under HKCU\Software, deleted with its tree at the end.
class ScratchKey {
 public:
  ScratchKey();
  ~ScratchKey();
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  // Full access.
  HKEY get() const { return key_; }
  // A subkey that lasts only until Windows restarts and, like every such
  // key, refuses lasting subkeys of its own; the caller closes it.
  HKEY CreateVolatileChild(const wchar_t* name) const;

 private:
  std::wstring name_;
  HKEY key_ = nullptr;
};

// Makes a predefined root such as HKEY_CLASSES_ROOT stand for `key` in this
// process until destroyed.
class RootOverride {
 public:
  RootOverride(HKEY root, HKEY key);
  ~RootOverride();
  RootOverride(const RootOverride&) = delete;
  RootOverride& operator=(const RootOverride&) = delete;

  bool active() const { return active_; }

 private:
  HKEY root_;
  bool active_;
};

// Every key and value below `root`, one line each and sorted: "path" for a
// key, "path|name=REG_SZ:text" or "path|name=REG_DWORD:0x31" for a value
// ("@" names the default value). Subtrees named in `skip` (paths relative
// to `root`) are left out.
std::vector<std::wstring> DumpTree(HKEY root,
                                   const std::vector<std::wstring>& skip = {});

bool KeyExists(HKEY root, const std::wstring& path);

// The bytes of a file, or empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);

}  // namespace qm::test
