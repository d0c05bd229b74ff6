#include "log_text.h"

#include <gtest/gtest.h>

namespace qm::standin {
namespace {

TEST(LogText, KeepsEachEventOnOneLine) {
  EXPECT_EQ(LogText(L"a\r\nopen evil\\x"), "a\\x0d\\x0aopen evil\\x5cx");
  EXPECT_EQ(LogText(L"caf\u00e9 \u20ac \U0001F600"), "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80");
  EXPECT_EQ(LogText(std::wstring(1, wchar_t(0xD800)) + L"x"), "\xef\xbf\xbdx");
}

}  // namespace
}  // namespace qm::standin
