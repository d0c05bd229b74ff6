// Self-registration through the entry points of the built module, with the
// process's HKEY_CLASSES_ROOT and HKEY_CURRENT_USER standing for scratch
// keys, so that the whole registry state it leaves can be compared.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "com_test_support.h"
#include "qmkit_h.h"

namespace qm::test {
namespace {

struct MenuRow {
  const wchar_t* word;
  const wchar_t* page;
  const wchar_t* menu_text;
  const wchar_t* status_text;
};

// The fourteen commands in registration order.
const MenuRow kMenus[] = {
    {L"CONFIG", L"config.htm", L"=> Pellmor Quillmark",
     L"Configure Pellmor Quillmark"},
    {L"BOOK", L"book.htm", L"=>Book", L"Find a book by its title or author"},
    {L"CONVERT", L"convert.htm", L"=>Convert",
     L"Convert the selected amount to different units."},
    {L"CURRENCY", L"currency.htm", L"=>Currency",
     L"Convert a value to a different currency"},
    {L"EMAIL", L"email.htm", L"=>Email", L"Email a URL or quotation"},
    {L"ISBN", L"isbn.htm", L"=>ISBN", L"Find a book by its ISBN code"},
    {L"MOVIE", L"movie.htm", L"=>Movie", L"Find a movie by its title"},
    {L"MUSIC", L"music.htm", L"=>Music",
     L"Find a piece of music by its title or artist"},
    {L"OTHER", L"other.htm", L"=>Other", L"Other links"},
    {L"SEARCH", L"search.htm", L"=>Search", L"Search for the selected text"},
    {L"STOCK", L"stock.htm", L"=>Stock Symbol",
     L"Find information about a stock symbol"},
    {L"TRANSLATE", L"translate.htm", L"=>Translate",
     L"Translate the current web page"},
    {L"UPC", L"upc.htm", L"=>UPC", L"Find an item by its UPC code"},
    {L"URL", L"url.htm", L"=>URL", L"Find information about a URL"},
};

const std::wstring kInternetExplorer =
    L"Software\\Microsoft\\Internet Explorer";
const std::wstring kContextMenus = kInternetExplorer + L"\\MenuExt";
const std::wstring kToolsMenus = kInternetExplorer + L"\\Extensions";
// Entries of others, which registration and removal leave alone.
const std::wstring kOtherContextMenu = kContextMenus + L"\\&Another tool";
const std::wstring kOtherToolsMenu =
    kToolsMenus + L"\\{0F0E0D0C-0B0A-0908-0706-050403020100}";
const std::wstring kOtherClass =
    L"CLSID\\{01020304-0506-0708-090A-0B0C0D0E0F10}";

std::wstring Guid(REFGUID guid) {
  wchar_t text[39] = {};
  ::StringFromGUID2(guid, text, 39);
  return text;
}

std::string PageText(const std::wstring& word) {
  return "<SCRIPT LANGUAGE=\"JavaScript\" defer>\r\n"
         "var helper = new ActiveXObject( \"VKR.AQuillmark\");\r\n"
         "helper.Click( external.menuArguments, \"" +
         std::string(word.begin(), word.end()) +
         "\", \"\", \"\" );\r\n"
         "</SCRIPT>\r\n";
}

std::wstring Sz(const std::wstring& key, const std::wstring& name,
                const std::wstring& text) {
  return key + L"|" + name + L"=REG_SZ:" + text;
}

// The class's keys as a dump shows them; the type library's own keys are
// the platform's and are checked apart.
std::vector<std::wstring> ExpectedClassesTree(const std::wstring& module) {
  const std::wstring id = Guid(CLSID_AQuillmark);
  const std::wstring c = L"CLSID\\" + id;
  const std::wstring categories = c + L"\\Implemented Categories";
  std::vector<std::wstring> lines = {
      L"CLSID",
      kOtherClass,
      c,
      Sz(c, L"@", L"AQuillmark Class"),
      categories,
      categories + L"\\{7DD95801-9882-11CF-9FA9-00AA006C42C4}",
      categories + L"\\{7DD95802-9882-11CF-9FA9-00AA006C42C4}",
      c + L"\\InprocServer32",
      Sz(c + L"\\InprocServer32", L"@", module),
      Sz(c + L"\\InprocServer32", L"ThreadingModel", L"Apartment"),
      c + L"\\ProgID",
      Sz(c + L"\\ProgID", L"@", L"VKR.AQuillmark.1"),
      c + L"\\Programmable",
      c + L"\\TypeLib",
      Sz(c + L"\\TypeLib", L"@", Guid(LIBID_QMKITLib)),
      c + L"\\VersionIndependentProgID",
      Sz(c + L"\\VersionIndependentProgID", L"@", L"VKR.AQuillmark"),
      L"VKR.AQuillmark",
      Sz(L"VKR.AQuillmark", L"@", L"AQuillmark Class"),
      L"VKR.AQuillmark\\CLSID",
      Sz(L"VKR.AQuillmark\\CLSID", L"@", id),
      L"VKR.AQuillmark\\CurVer",
      Sz(L"VKR.AQuillmark\\CurVer", L"@", L"VKR.AQuillmark.1"),
      L"VKR.AQuillmark.1",
      Sz(L"VKR.AQuillmark.1", L"@", L"AQuillmark Class"),
      L"VKR.AQuillmark.1\\CLSID",
      Sz(L"VKR.AQuillmark.1\\CLSID", L"@", id),
  };
  std::sort(lines.begin(), lines.end());
  return lines;
}

// What is there before registration and must be there after removal.
std::vector<std::wstring> OthersUserTree() {
  std::vector<std::wstring> lines = {L"Software",
          L"Software\\Microsoft",
          kInternetExplorer,
          kToolsMenus,
          kOtherToolsMenu,
          kContextMenus,
          kOtherContextMenu,
          Sz(kOtherContextMenu, L"@", L"file:///C:\\other.htm")};
  std::sort(lines.begin(), lines.end());
  return lines;
}

// The menu's address of a page: what the test's folder holds, encoded.
std::wstring PageAddress(const std::wstring& page) {
  std::wstring address = L"file:///";
  for (const wchar_t c : page) {
    switch (c) {
      case L'\\': address += L'/'; break;
      case L' ': address += L"%20"; break;
      case L'#': address += L"%23"; break;
      case L'%': address += L"%25"; break;
      default: address += c;
    }
  }
  return address;
}

class ModuleRegistrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(module_.loaded());
    ASSERT_NE(classes_.get(), nullptr);
    ASSERT_NE(user_.get(), nullptr);
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(classes_.get(), kOtherClass.c_str(), 0,
                                nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
    ASSERT_EQ(::RegCreateKeyExW(user_.get(), kOtherToolsMenu.c_str(), 0,
                                nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
    ASSERT_EQ(::RegSetKeyValueW(user_.get(), kOtherContextMenu.c_str(),
                                nullptr, REG_SZ, L"file:///C:\\other.htm",
                                sizeof L"file:///C:\\other.htm"),
              ERROR_SUCCESS);
  }

  // Makes the process's roots stand for the scratch keys, the classes root
  // for `classes` when given.
  void Redirect(HKEY classes = nullptr) {
    classes_root_.emplace(HKEY_CLASSES_ROOT,
                          classes != nullptr ? classes : classes_.get());
    user_root_.emplace(HKEY_CURRENT_USER, user_.get());
    ASSERT_TRUE(classes_root_->active());
    ASSERT_TRUE(user_root_->active());
  }

  // The GUIDs that name the Tools-menu keys, in the order of the rows they
  // belong to.
  std::vector<std::wstring> ToolsMenuGuids() const {
    std::vector<std::wstring> guids;
    for (const std::wstring& line : DumpTree(user_.get())) {
      const std::wstring prefix = kToolsMenus + L"\\";
      if (line.rfind(prefix, 0) == 0 && line.find(L'|') == std::wstring::npos &&
          line != kOtherToolsMenu) {
        guids.push_back(line.substr(prefix.size()));
      }
    }
    return guids;
  }

  std::vector<std::wstring> ExpectedUserTree(
      const std::vector<std::wstring>& guids) const {
    std::vector<std::wstring> lines = OthersUserTree();
    for (std::size_t i = 0; i < std::size(kMenus); ++i) {
      const MenuRow& row = kMenus[i];
      const std::wstring page = module_.Beside(row.page);
      const std::wstring context = kContextMenus + L"\\" + row.menu_text;
      lines.push_back(context);
      lines.push_back(Sz(context, L"@", PageAddress(page)));
      lines.push_back(context + L"|Contexts=REG_DWORD:0x31");
      const std::wstring tools = kToolsMenus + L"\\" + guids.at(i);
      lines.push_back(tools);
      lines.push_back(Sz(tools, L"MenuCustomize", L"Tools"));
      lines.push_back(
          Sz(tools, L"CLSID", L"{1FBA04EE-3024-11d2-8F1F-0000F87ABD16}"));
      lines.push_back(Sz(tools, L"MenuText", row.menu_text));
      lines.push_back(Sz(tools, L"MenuStatusBar", row.status_text));
      lines.push_back(Sz(tools, L"Script", page));
    }
    std::sort(lines.begin(), lines.end());
    return lines;
  }

  std::vector<std::wstring> ClassesTree() const {
    return DumpTree(classes_.get(), {L"TypeLib", L"Interface"});
  }

  bool TypeLibraryRegistered() const {
    return KeyExists(classes_.get(),
                     L"TypeLib\\" + Guid(LIBID_QMKITLib) + L"\\1.0");
  }

  void ExpectPagesWritten() const {
    for (const MenuRow& row : kMenus) {
      const std::wstring page = module_.Beside(row.page);
      EXPECT_EQ(ReadFileBytes(page), PageText(row.word)) << row.page;
      const DWORD attributes = ::GetFileAttributesW(page.c_str());
      EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES) << row.page;
      EXPECT_EQ(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
                static_cast<DWORD>(FILE_ATTRIBUTE_READONLY |
                                   FILE_ATTRIBUTE_HIDDEN))
          << row.page;
    }
  }

  // A folder whose name an address cannot hold as it stands.
  LoadedModule module_{L" #1 (100%)"};
  ScratchKey classes_;
  ScratchKey user_;
  std::optional<RootOverride> classes_root_;
  std::optional<RootOverride> user_root_;
};

TEST_F(ModuleRegistrationTest, RegistrationWritesEveryEntryAndRemovalTakesThemAway) {
  Redirect();
  ASSERT_EQ(module_.RegisterServer(), S_OK);

  EXPECT_EQ(ClassesTree(), ExpectedClassesTree(module_.path()));
  EXPECT_TRUE(TypeLibraryRegistered());
  const std::vector<std::wstring> guids = ToolsMenuGuids();
  ASSERT_EQ(guids.size(), std::size(kMenus));
  for (const std::wstring& guid : guids) {
    // Braced, and differing from the first only in the last two digits.
    EXPECT_EQ(guid.size(), 38u) << guid;
    EXPECT_EQ(guid.substr(0, 35), guids[0].substr(0, 35)) << guid;
  }
  EXPECT_EQ(DumpTree(user_.get()), ExpectedUserTree(guids));
  ExpectPagesWritten();

  ASSERT_EQ(module_.UnregisterServer(), S_OK);
  // The "CLSID" key itself and the entries of others stay.
  EXPECT_EQ(ClassesTree(),
            (std::vector<std::wstring>{L"CLSID", kOtherClass}));
  EXPECT_FALSE(TypeLibraryRegistered());
  EXPECT_FALSE(KeyExists(classes_.get(),
                         L"Interface\\" + Guid(IID_IAQuillmark)));
  EXPECT_EQ(DumpTree(user_.get()), OthersUserTree());
  EXPECT_EQ(module_.folder().FileNames(),
            std::vector<std::wstring>{L"qmkit.dll"});

  // Removing again finds nothing to remove, which is no failure.
  EXPECT_EQ(module_.UnregisterServer(), S_OK);
}

TEST_F(ModuleRegistrationTest, RegisteringAgainRewritesValuesAndKeepsPages) {
  Redirect();
  ASSERT_EQ(module_.RegisterServer(), S_OK);
  const std::vector<std::wstring> guids = ToolsMenuGuids();
  ASSERT_EQ(guids.size(), std::size(kMenus));

  // Values changed and taken away behind the module's back, and a key of
  // an older registration below the class.
  const std::wstring class_key = L"CLSID\\" + Guid(CLSID_AQuillmark);
  const DWORD zero = 0;
  ASSERT_EQ(::RegSetKeyValueW(classes_.get(),
                              (class_key + L"\\InprocServer32").c_str(),
                              nullptr, REG_SZ, L"old.dll", sizeof L"old.dll"),
            ERROR_SUCCESS);
  ASSERT_EQ(::RegDeleteKeyValueW(classes_.get(), L"VKR.AQuillmark\\CurVer",
                                 nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(::RegSetKeyValueW(classes_.get(),
                              (class_key + L"\\Obsolete").c_str(), nullptr,
                              REG_SZ, L"x", sizeof L"x"),
            ERROR_SUCCESS);
  ASSERT_EQ(::RegSetKeyValueW(user_.get(),
                              (kContextMenus + L"\\=>Convert").c_str(),
                              L"Contexts", REG_DWORD, &zero, sizeof zero),
            ERROR_SUCCESS);
  ASSERT_EQ(::RegDeleteKeyValueW(user_.get(),
                                 (kToolsMenus + L"\\" + guids[5]).c_str(),
                                 L"MenuText"),
            ERROR_SUCCESS);

  ASSERT_EQ(module_.RegisterServer(), S_OK);
  EXPECT_EQ(ClassesTree(), ExpectedClassesTree(module_.path()));
  EXPECT_EQ(DumpTree(user_.get()), ExpectedUserTree(guids));
  ExpectPagesWritten();

  ASSERT_EQ(module_.UnregisterServer(), S_OK);
  EXPECT_EQ(module_.folder().FileNames(),
            std::vector<std::wstring>{L"qmkit.dll"});
}

TEST_F(ModuleRegistrationTest, FailedComponentRegistrationLeavesTheMenusAlone) {
  // Every key the component writes is a lasting one, so under a volatile
  // classes root its first write fails.
  const HKEY volatile_root = classes_.CreateVolatileChild(L"volatile");
  ASSERT_NE(volatile_root, nullptr);
  Redirect(volatile_root);
  EXPECT_TRUE(FAILED(module_.RegisterServer()));
  classes_root_.reset();
  EXPECT_EQ(DumpTree(volatile_root), std::vector<std::wstring>{});
  ::RegCloseKey(volatile_root);
  ASSERT_EQ(::RegDeleteKeyW(classes_.get(), L"volatile"), ERROR_SUCCESS);

  EXPECT_EQ(ClassesTree(), (std::vector<std::wstring>{L"CLSID", kOtherClass}));
  EXPECT_FALSE(TypeLibraryRegistered());
  EXPECT_EQ(DumpTree(user_.get()), OthersUserTree());
  EXPECT_EQ(module_.folder().FileNames(),
            std::vector<std::wstring>{L"qmkit.dll"});
}

}  // namespace
}  // namespace qm::test
