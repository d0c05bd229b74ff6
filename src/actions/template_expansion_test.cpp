#include "actions/template_expansion.h"

#include <gtest/gtest.h>

#include "actions/action_test_page.h"

namespace qm {
namespace {

using namespace std::string_literals;
constexpr ValueEncoding kNone = ValueEncoding::kNone;
constexpr ValueEncoding kPercent = ValueEncoding::kPercent;
constexpr ValueEncoding kCommandLine = ValueEncoding::kCommandLine;
constexpr UrlCharset kUtf8 = UrlCharset::kUtf8;

std::u16string Expand(ActionTestPage& page, std::string_view tmpl, ValueEncoding encoding,
                      UrlCharset charset = UrlCharset::kWindows1252) {
  return ExpandTemplate(tmpl, *page.Context(), page.code_page, encoding, charset);
}

TEST(ExpandTemplate, EveryPlaceholder) {
  ActionTestPage page;
  page.Select(u"  two \t words\n");
  page.frame_document->selection->html_text = u"<b>two</b>";
  page.frame->href = u"https://f.example/";
  page.frame->name = u"inner";
  page.frame->hostname = u"shop.example.ca";
  page.frame_document->title = u"Frame";
  page.top->href = u"https://t.example/";
  page.top->name = u"outer";
  page.top->hostname = u"W.X.Y.CO.UK";
  page.top_document->title = u"Top";
  page.env.SetUserCurrencyCode("EUR");
  EXPECT_EQ(Expand(page, "!S|!s|!-|!O|!o|!u|!U|!w|!W|!h|!H|!d|!D|!t|!T|!!|!Z|!", kNone),
            u"  two \t words\n|two words|  two \t words|<b>two</b>|<b>two</b>|"
            u"https://f.example/|https://t.example/|inner|outer|shop.example.ca|"
            u"W.X.Y.CO.UK|example.ca|Y.CO.UK|Frame|Top|!|!Z|!");
  EXPECT_EQ(Expand(page, "!F!f!L!l !C", kNone),
            u"CADCADEUREUR Pellmor Quillmark https://quillmark.pellmor.example/");
  // The folder address is never encoded.
  EXPECT_EQ(Expand(page, "!I|!i", kPercent),
            u"file:///C|/Program Files/X/|file:///C|/Program Files/X/");
}

TEST(ExpandTemplate, EncodingOfValuesAndEscapes) {
  ActionTestPage page;
  page.Select(u"a b&c\u00E9\u4E2D");
  EXPECT_EQ(Expand(page, "q=!S", kPercent), u"q=a%20b%26c%E9%20");
  EXPECT_EQ(Expand(page, "q=!S", kPercent, kUtf8), u"q=a%20b%26c%C3%A9%E4%B8%AD");
  EXPECT_EQ(Expand(page, "q=!S", kNone, kUtf8), u"q=a b&c\u00E9\u4E2D");
  // Template bytes are widened by value and never encoded; escapes are
  // encoded with the values.
  EXPECT_EQ(Expand(page, "a b&%22\xE9\\n\\s\\t\\/\\\\\\\xE9", kPercent, kUtf8),
            u"a b&%22\u00E9%0D%0A%20%09%2F%5C%C3%A9");
  EXPECT_EQ(Expand(page, "\\n\\s\\t\\x", kNone), u"\r\n \tx");
  // A trailing "!" or "\" stays; a backslash protects a placeholder.
  EXPECT_EQ(Expand(page, "\\!S !!S end!", kPercent), u"!S !S end!");
  EXPECT_EQ(Expand(page, "end\\", kPercent), u"end\\");
}

TEST(ExpandTemplate, SelectionLessItsLastCharacter) {
  const struct {
    std::u16string selection, expected;
  } cases[] = {
      {u"", u""}, {u"End.", u"End"}, {u"note \U0001F600", u"note "},
      {u"\U0001F600", u""}, {u"ab"s + char16_t{0xDC00}, u"ab"},  // a lone half
  };
  for (const auto& c : cases) {
    ActionTestPage page;
    page.Select(c.selection);
    EXPECT_EQ(Expand(page, "!-", kNone), c.expected);
  }
}

TEST(ModuleFolderUrl, FolderOfTheModule) {
  const Windows1252CodePage code_page;
  const struct {
    const char* path;
    std::u16string_view url;
  } cases[] = {
      {"C:\\Program Files\\X\\qmkit.dll", u"file:///C|/Program Files/X/"},
      {"\\\\server\\share\\qmkit.dll", u"file://///server/share/"},
      {"D:\\Caf\xE9\\q.dll", u"file:///D|/Caf\u00E9/"},
      {"qmkit.dll", u"file:///"}, {"", u"file:///"},
      // A POSIX path already starts with its slash.
      {"/opt/qm/bin/qmkit", u"file:///opt/qm/bin/"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ModuleFolderUrl(FakeModuleEnvironment(c.path), code_page), c.url) << c.path;
  }
}

// Any bytes make a template: the expansion stays bounded by its inputs.
TEST(ExpandTemplate, BinaryTemplatesAndHugeValues) {
  std::string every_byte;
  for (int b = 0; b < 256; ++b) every_byte += {static_cast<char>(b), '!', static_cast<char>(b), '\\', static_cast<char>(b)};
  ActionTestPage page;
  const std::u16string selection(100000, u'\u4E2D');
  page.Select(selection);
  for (const ValueEncoding encoding : {kNone, kPercent, kCommandLine}) {
    for (const UrlCharset charset : {UrlCharset::kWindows1252, kUtf8}) {
      // Three placeholders insert the selection, at most nine characters
      // (three UTF-8 bytes) for each of its characters.
      const std::size_t size = Expand(page, every_byte, encoding, charset).size();
      EXPECT_GE(size, 2 * 256u);
      EXPECT_LE(size, 6 * every_byte.size() + 9 * (3 * selection.size() + 400));
    }
  }
  EXPECT_EQ(Expand(page, "!S", kPercent, kUtf8).size(), 9 * selection.size());
}

// A limit refuses the whole expansion, never cuts it; the encoded size
// counts, and expansion stops at the first text past the limit.
TEST(ExpandTemplateWithin, RefusesWhatIsLongerThanTheLimit) {
  ActionTestPage page;
  page.Select(u"a b");
  struct Case {
    std::string_view tmpl;
    ValueEncoding encoding;
    std::size_t limit;
    std::u16string_view expected;  // empty: refused
  };
  const Case cases[] = {
      {"q=!S", kNone, 5, u"q=a b"},
      {"q=!S", kNone, 4, u""},
      {"q=!S", kPercent, 7, u"q=a%20b"},
      {"q=!S", kPercent, 6, u""},
      {"q=!S\\n", kPercent, 13, u"q=a%20b%0D%0A"},
      {"q=!S\\n", kPercent, 12, u""},
      {"!S!!!Z", kNone, 6, u"a b!!Z"},
      {"!S!!!Z", kNone, 5, u""},
      {"abc", kNone, 2, u""},
      {"", kNone, 0, u""},
  };
  for (const Case& c : cases) {
    std::u16string out = u"left over";
    const bool fits = ExpandTemplateWithin(c.tmpl, *page.Context(), page.code_page,
                                           c.encoding, UrlCharset::kWindows1252, c.limit,
                                           &out);
    EXPECT_EQ(fits, !c.expected.empty() || c.tmpl.empty()) << c.tmpl << " " << c.limit;
    EXPECT_EQ(out, c.expected) << c.tmpl << " " << c.limit;
  }

  // A template that repeats a long selection stops at the first copy past
  // the limit: the currency placeholder after it is never looked up.
  page.Select(std::u16string(65536, u'x'));
  std::string repeated;
  for (int k = 0; k < 65000; ++k) repeated += "!s";
  const std::unique_ptr<RequestContext> context = page.Context();
  std::u16string out;
  EXPECT_FALSE(ExpandTemplateWithin(repeated + "!F", *context, page.code_page, kNone,
                                    UrlCharset::kWindows1252, 1 << 20, &out));
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(context->sourceCurrencyField(), nullptr);
  EXPECT_TRUE(ExpandTemplateWithin("!s!s!F", *context, page.code_page, kNone,
                                   UrlCharset::kWindows1252, 1 << 20, &out));
  EXPECT_NE(context->sourceCurrencyField(), nullptr);
}

}  // namespace
}  // namespace qm
