#include "registry_selection_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace qm {
namespace {

constexpr std::uint32_t kUntouched = 0xC0FFEE;

// Every test works in its own key under HKCU\Software\VKR and removes it.
class RegistrySelectionStoreTest : public ::testing::Test {
 protected:
  RegistrySelectionStoreTest()
      : sub_key_("Software\\VKR\\QuillmarkTest-" +
                 std::to_string(::GetCurrentProcessId())),
        store_(HKEY_CURRENT_USER, sub_key_) {}
  void SetUp() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, sub_key_.c_str()); }
  void TearDown() override {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, sub_key_.c_str());
  }

  bool KeyExists() const {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, sub_key_.c_str(), 0, KEY_READ,
                        &key) != ERROR_SUCCESS) {
      return false;
    }
    ::RegCloseKey(key);
    return true;
  }

  DWORD ValueCount() const {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, sub_key_.c_str(), 0, KEY_READ,
                        &key) != ERROR_SUCCESS) {
      return 0;
    }
    DWORD count = 0;
    ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, &count, nullptr, nullptr, nullptr, nullptr);
    ::RegCloseKey(key);
    return count;
  }

  void SetRaw(const char* name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(::RegSetKeyValueA(HKEY_CURRENT_USER, sub_key_.c_str(), name,
                                type, data, size),
              ERROR_SUCCESS);
  }

  std::uint32_t ReadOr(const std::string& name, std::uint32_t fallback) const {
    std::uint32_t value = fallback;
    return store_.Read(name, &value) ? value : fallback;
  }

  std::string sub_key_;
  RegistrySelectionStore store_;
};

TEST_F(RegistrySelectionStoreTest, ReadingFindsNothingAndCreatesNothing) {
  // No key at all: nothing found, and the key is still not there.
  std::uint32_t value = kUntouched;
  EXPECT_FALSE(store_.Read("ISBN:ShopCom", &value));
  EXPECT_EQ(value, kUntouched);
  EXPECT_FALSE(KeyExists());

  // A key below a missing key.
  RegistrySelectionStore deeper(HKEY_CURRENT_USER, sub_key_ + "\\Inner");
  EXPECT_FALSE(deeper.Read("ISBN:ShopCom", &value));
  EXPECT_FALSE(KeyExists());

  // The key exists, the value does not.
  const DWORD one = 1;
  SetRaw("BOOK:ShopCa", REG_DWORD, &one, sizeof one);
  EXPECT_FALSE(store_.Read("ISBN:ShopCom", &value));
  EXPECT_EQ(value, kUntouched);
  EXPECT_EQ(ValueCount(), 1u);

  // Writing nothing creates nothing either.
  ::RegDeleteTreeA(HKEY_CURRENT_USER, sub_key_.c_str());
  EXPECT_TRUE(store_.Write({}));
  EXPECT_FALSE(KeyExists());
}

TEST_F(RegistrySelectionStoreTest, WrittenValuesReadBackAsDwords) {
  EXPECT_TRUE(store_.Write(
      {{"ISBN:ShopCom", 1}, {"BOOK:ShopCa", 0}, {"MOVIE:Listings", 1}}));
  EXPECT_EQ(ReadOr("ISBN:ShopCom", kUntouched), 1u);
  EXPECT_EQ(ReadOr("BOOK:ShopCa", kUntouched), 0u);
  EXPECT_EQ(ReadOr("MOVIE:Listings", kUntouched), 1u);
  EXPECT_EQ(ValueCount(), 3u);

  // Stored as REG_DWORD, as other readers of the key expect.
  DWORD type = REG_NONE;
  DWORD data = 7;
  DWORD size = sizeof data;
  ASSERT_EQ(::RegGetValueA(HKEY_CURRENT_USER, sub_key_.c_str(), "ISBN:ShopCom",
                           RRF_RT_ANY, &type, &data, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(data, 1u);

  // A later write replaces the value; the others stay.
  EXPECT_TRUE(store_.Write({{"ISBN:ShopCom", 0}}));
  EXPECT_EQ(ReadOr("ISBN:ShopCom", kUntouched), 0u);
  EXPECT_EQ(ReadOr("MOVIE:Listings", kUntouched), 1u);
}

TEST_F(RegistrySelectionStoreTest, NamesDifferingInLetterCaseAreOneValue) {
  EXPECT_TRUE(store_.Write({{"ISBN:ShopCom", 1}}));
  EXPECT_EQ(ReadOr("isbn:SHOPCOM", kUntouched), 1u);
  EXPECT_TRUE(store_.Write({{"isbn:shopcom", 0}}));
  EXPECT_EQ(ReadOr("ISBN:ShopCom", kUntouched), 0u);
  EXPECT_EQ(ValueCount(), 1u);
}

TEST_F(RegistrySelectionStoreTest, ValuesOfOtherTypesOrSizesReadAsAbsent) {
  const char text[] = "1";
  SetRaw("Text", REG_SZ, text, sizeof text);
  const unsigned char four[4] = {1, 0, 0, 0};
  SetRaw("Binary", REG_BINARY, four, sizeof four);
  SetRaw("BigEndian", REG_DWORD_BIG_ENDIAN, four, sizeof four);
  const unsigned long long wide = 1;
  SetRaw("Qword", REG_QWORD, &wide, sizeof wide);
  SetRaw("ShortDword", REG_DWORD, four, 2);
  for (const char* name : {"Text", "Binary", "BigEndian", "Qword", "ShortDword"}) {
    std::uint32_t value = kUntouched;
    EXPECT_FALSE(store_.Read(name, &value)) << name;
    EXPECT_EQ(value, kUntouched) << name;
  }

  // Writing over such a value makes it a proper one, even when only a
  // missing value was to be written.
  EXPECT_TRUE(store_.Write({{"Text", 1}, {"Binary", 1, true}}));
  EXPECT_EQ(ReadOr("Text", kUntouched), 1u);
  EXPECT_EQ(ReadOr("Binary", kUntouched), 1u);
}

TEST_F(RegistrySelectionStoreTest, AValueForAnAbsentNameLeavesAPresentOneAlone) {
  EXPECT_TRUE(store_.Write({{"BOOK:Ticked", 1}}));
  EXPECT_TRUE(store_.Write({{"book:ticked", 0, true}, {"BOOK:New", 0, true}}));
  EXPECT_EQ(ReadOr("BOOK:Ticked", kUntouched), 1u);
  EXPECT_EQ(ReadOr("BOOK:New", kUntouched), 0u);
  EXPECT_EQ(ValueCount(), 2u);
}

TEST_F(RegistrySelectionStoreTest, NamesWithLineBreaksAreRefusedOthersStored) {
  const std::string with_nul("BOOK:A\0B", 8);
  EXPECT_FALSE(store_.Write({{"BOOK:Line\nBreak", 1},
                             {"BOOK:Fine", 1},
                             {"BOOK:Carriage\rReturn", 1},
                             {with_nul, 1}}));
  EXPECT_EQ(ReadOr("BOOK:Fine", kUntouched), 1u);
  // Only the good name reached the registry: no value was cut at the NUL.
  EXPECT_EQ(ValueCount(), 1u);
  EXPECT_EQ(ReadOr("BOOK:A", kUntouched), kUntouched);
  EXPECT_EQ(ReadOr("BOOK:Line\nBreak", kUntouched), kUntouched);
}

TEST_F(RegistrySelectionStoreTest, AKeyThatCannotBeCreatedFailsBothWays) {
  // Registry key names are limited to 255 characters.
  RegistrySelectionStore unusable(HKEY_CURRENT_USER,
                                  sub_key_ + "\\" + std::string(300, 'k'));
  EXPECT_FALSE(unusable.Write({{"BOOK:Fine", 1}}));
  std::uint32_t value = kUntouched;
  EXPECT_FALSE(unusable.Read("BOOK:Fine", &value));
  EXPECT_EQ(value, kUntouched);
}

// The real key of the current user, with a value no one else uses.
TEST(RegistrySelectionStoreDefaultKey, WritesAndReadsUnderTheProductKey) {
  const char* sub_key = RegistrySelectionStore::kDefaultSubKey;
  EXPECT_STREQ(sub_key, "Software\\VKR\\Quillmark");
  HKEY probe = nullptr;
  const bool existed = ::RegOpenKeyExA(HKEY_CURRENT_USER, sub_key, 0, KEY_READ,
                                       &probe) == ERROR_SUCCESS;
  if (existed) ::RegCloseKey(probe);

  const std::string name = "QuillmarkTest:" +
                           std::to_string(::GetCurrentProcessId()) + "-" +
                           std::to_string(::GetTickCount64());
  RegistrySelectionStore store;
  EXPECT_TRUE(store.Write({{name, 1}}));
  std::uint32_t value = 0;
  EXPECT_TRUE(store.Read(name, &value));
  EXPECT_EQ(value, 1u);
  DWORD data = 0;
  DWORD size = sizeof data;
  EXPECT_EQ(::RegGetValueA(HKEY_CURRENT_USER, sub_key, name.c_str(),
                           RRF_RT_REG_DWORD, nullptr, &data, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(data, 1u);

  EXPECT_EQ(::RegDeleteKeyValueA(HKEY_CURRENT_USER, sub_key, name.c_str()),
            ERROR_SUCCESS);
  if (!existed) ::RegDeleteKeyA(HKEY_CURRENT_USER, sub_key);
  EXPECT_FALSE(store.Read(name, &value));
}

}  // namespace
}  // namespace qm
