#include "address_parts.h"

#include <gtest/gtest.h>

#include <utility>

namespace qm::standin {
namespace {

TEST(FileOfAddress, StripsOnlyTheFileScheme) {
  EXPECT_EQ(FileOfAddress(L"file:///C:\\Quillmark\\isbn.htm"), L"C:\\Quillmark\\isbn.htm");
  EXPECT_EQ(FileOfAddress(L"FILE:///Z:\\tmp\\a.htm"), L"Z:\\tmp\\a.htm");
  EXPECT_EQ(FileOfAddress(L"file:///"), std::nullopt);
  EXPECT_EQ(FileOfAddress(L"https://example.com/isbn.htm"), std::nullopt);
  EXPECT_EQ(FileOfAddress(L"C:\\Quillmark\\isbn.htm"), std::nullopt);
}

TEST(HostOf, IsTheAuthorityWithoutUserAndPort) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"https://books.example/item/0306406152", L"books.example"},
      {L"http://user:pw@h.example:8080/x?y#z", L"h.example"},
      {L"https://h.example?q=a/b", L"h.example"},
      {L"about:blank", L""},
  };
  for (const auto& [address, host] : cases) EXPECT_EQ(HostOf(address), host) << address;
}

}  // namespace
}  // namespace qm::standin
