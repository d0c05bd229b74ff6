#include "page_text.h"

#include <gtest/gtest.h>

namespace qm::standin {
namespace {

TEST(ScriptOfPage, TakesTheScriptBetweenTheTagsInAnyCase) {
  struct Case {
    const char* page;
    std::optional<std::string> script;
  };
  const Case cases[] = {
      {"<SCRIPT LANGUAGE=\"JavaScript\" defer>\nrun();\n</SCRIPT>\n", "\nrun();\n"},
      {"<html><script>a()</script><script>b()</script>", "a()"},
      {"<ScRiPt type=text/javascript>x</sCrIpT>", "x"},
      {"<script></script>", ""},
      {"<script>never closed", std::nullopt},
      {"<script never opened", std::nullopt},
      {"plain text</script>", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScriptOfPage(c.page), c.script) << c.page;
  }
}

TEST(EntriesFor, OffersAnEntryWhereItsContextsBitIsSet) {
  const std::vector<MenuEntry> entries = {
      {L"everywhere", L"", 0x31}, {L"page", L"", 0x01}, {L"text", L"", 0x10},
      {L"link", L"", 0x20},       {L"image", L"", 0x02},
  };
  auto texts = [&](MenuContext context) {
    std::vector<std::wstring> offered;
    for (const MenuEntry& entry : EntriesFor(entries, context)) offered.push_back(entry.text);
    return offered;
  };
  using Texts = std::vector<std::wstring>;
  EXPECT_EQ(texts(MenuContext::kDefault), (Texts{L"everywhere", L"page"}));
  EXPECT_EQ(texts(MenuContext::kSelection), (Texts{L"everywhere", L"text"}));
  EXPECT_EQ(texts(MenuContext::kAnchor), (Texts{L"everywhere", L"link"}));
}

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

TEST(AnchorsOf, ReadsTheInsertedLinkWithItsReferencesDecoded) {
  const std::vector<InsertedAnchor> anchors = AnchorsOf(
      L"<A ID=\"QMKIT7587\" HREF=\"https://tr.example/t?sl=en&amp;q=a&quot;b\" "
      L"TARGET=\"Translate\">TRANSLATE</A><abbr title=x>no link</abbr>"
      L"<a href='single' id=two>second</a><a\thref=bare>third</a>");
  ASSERT_EQ(anchors.size(), 3u);
  EXPECT_EQ(anchors[0].id, L"QMKIT7587");
  EXPECT_EQ(anchors[0].href, L"https://tr.example/t?sl=en&q=a\"b");
  EXPECT_EQ(anchors[0].target, L"Translate");
  EXPECT_EQ(anchors[1].href, L"single");
  EXPECT_EQ(anchors[1].id, L"two");
  EXPECT_EQ(anchors[2].href, L"bare");
  EXPECT_EQ(anchors[2].id, L"");
  // Neither an attribute whose name ends in "id" nor a value holding
  // "id=" is taken for the id.
  EXPECT_EQ(AnchorsOf(L"<A dataid=\"no\" HREF=\"x id=no\" ID=\"yes\">")[0].id, L"yes");
}

TEST(LogText, KeepsEachEventOnOneLine) {
  EXPECT_EQ(LogText(L"a\r\nopen evil\\x"), "a\\x0d\\x0aopen evil\\x5cx");
  EXPECT_EQ(LogText(L"caf\u00e9 \u20ac \U0001F600"), "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80");
  EXPECT_EQ(LogText(std::wstring(1, wchar_t(0xD800)) + L"x"), "\xef\xbf\xbdx");
}

}  // namespace
}  // namespace qm::standin
