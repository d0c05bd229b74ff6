// The full screen's text measuring, list keys and edit field, without a
// terminal.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "screen_field.h"
#include "screen_list.h"
#include "screen_text.h"

namespace qm {
namespace {

// wcwidth measures by the locale's character classes, as on the screen.
class ScreenTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = std::setlocale(LC_CTYPE, nullptr);
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
  }
  void TearDown() override { std::setlocale(LC_CTYPE, saved_.c_str()); }

 private:
  std::string saved_;
};

// Page text is made safe, measured in columns and cut at the width.
TEST_F(ScreenTextTest, FitsSafeTextToTheWidth) {
  struct Case {
    const char* utf8;
    int width;
    const wchar_t* text;
    int columns;
  } cases[] = {
      {"plain", 10, L"plain", 5},
      {"plain text", 5, L"plain", 5},
      // Escape sequences and line breaks are shown, never obeyed.
      {"a\x1b]2;T\x07" "b", 40, L"a\\x1b]2;T\\x07b", 14},
      {"a\nb", 10, L"a\\x0ab", 6},
      {"\xc2\x9b" "2J", 20, L"\\u009b2J", 8},
      // Wide characters take two columns; one that would straddle the
      // edge is left out whole.
      {"\xe6\xbc\xa2\xe5\xad\x97", 4, L"\u6f22\u5b57", 4},
      {"a\xe6\xbc\xa2\xe5\xad\x97", 4, L"a\u6f22", 3},
      // A combining mark sits on its letter; alone it is dropped.
      {"e\xcc\x81x", 2, L"e\u0301x", 2},
      {"\xcc\x81x", 5, L"x", 1},
      // Bytes that are not UTF-8 show as the replacement character.
      {"a\xff" "b", 5, L"a\ufffdb", 3},
  };
  for (const Case& c : cases) {
    const ScreenLine line = FitToWidth(c.utf8, c.width);
    EXPECT_EQ(line.text, c.text) << c.utf8;
    EXPECT_EQ(line.columns, c.columns) << c.utf8;
  }
  EXPECT_EQ(SafeColumnsOf(L"a\x1b" L"b"), 6);
}

// Wrapping breaks at line breaks and between words, and cuts long words.
TEST_F(ScreenTextTest, WrapsBetweenWords) {
  auto texts = [](const std::vector<ScreenLine>& lines) {
    std::vector<std::wstring> out;
    for (const ScreenLine& line : lines) out.push_back(line.text);
    return out;
  };
  EXPECT_EQ(texts(WrapToWidth("No site chosen.\nYou must choose one", 10)),
            (std::vector<std::wstring>{L"No site", L"chosen.", L"You must", L"choose one"}));
  EXPECT_EQ(texts(WrapToWidth("abcdefghij", 4)),
            (std::vector<std::wstring>{L"abcd", L"efgh", L"ij"}));
  EXPECT_EQ(texts(WrapToWidth("", 4)), (std::vector<std::wstring>{L""}));
  EXPECT_EQ(texts(WrapToWidth("\xe6\xbc\xa2\xe5\xad\x97\xe6\xbc\xa2", 4)),
            (std::vector<std::wstring>{L"\u6f22\u5b57", L"\u6f22"}));
}

TEST_F(ScreenTextTest, ConvertsBetweenWideAndUtf8) {
  const std::string utf8 = "\xe2\x82\xac \xf0\x9f\x98\x80";
  EXPECT_EQ(WideFromUtf8(utf8), std::wstring(L"\u20ac \U0001F600"));
  EXPECT_EQ(Utf8FromWide(WideFromUtf8(utf8)), utf8);
}

// The highlight keys, kept inside the list.
TEST(ScreenListTest, MovesTheHighlight) {
  struct Case {
    ScreenKey::Code key;
    std::optional<std::size_t> at;
    std::optional<std::size_t> to;
  } cases[] = {
      {ScreenKey::kDown, 2, 3},       {ScreenKey::kDown, 9, 9},
      {ScreenKey::kUp, 2, 1},         {ScreenKey::kUp, 0, 0},
      {ScreenKey::kHome, 7, 0},       {ScreenKey::kEnd, 1, 9},
      {ScreenKey::kPageDown, 1, 5},   {ScreenKey::kPageDown, 8, 9},
      {ScreenKey::kPageUp, 6, 2},     {ScreenKey::kPageUp, 2, 0},
      {ScreenKey::kDown, std::nullopt, 0},
      {ScreenKey::kLeft, 2, std::nullopt}, {ScreenKey::kEnter, 2, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HighlightAfter({c.key, 0}, c.at, 10, 5), c.to)
        << "key " << c.key << " from " << c.at.value_or(99);
  }
  EXPECT_EQ(HighlightAfter({ScreenKey::kDown, 0}, 0, 0, 5), std::nullopt);
}

// Type-ahead: a letter goes to the next line starting with it, round the
// end; quick letters make a word; a pause or another key starts afresh.
TEST(ScreenListTest, TypeAheadFindsTheNextMatchingLine) {
  const std::vector<std::wstring> lines = {L"AbeBooks", L"Amazon.com", L"Barnes", L"BookFinder",
                                           L"WorldCat"};
  auto text_of = [&](std::size_t line) { return lines[line]; };
  const auto t0 = TypeAhead::Clock::now();
  const auto later = [&](int ms) { return t0 + std::chrono::milliseconds(ms); };
  TypeAhead typing;
  EXPECT_EQ(typing.Type(U'a', later(0), 0, lines.size(), text_of), 1u);
  EXPECT_EQ(typing.Type(U'a', later(100), 1, lines.size(), text_of), 0u);  // round the end
  EXPECT_EQ(typing.Type(U'w', later(2000), 0, lines.size(), text_of), 4u);
  // "bo" as one word: Barnes is passed over, BookFinder found.
  EXPECT_EQ(typing.Type(U'b', later(4000), 4, lines.size(), text_of), 2u);
  EXPECT_EQ(typing.Type(U'o', later(4100), 2, lines.size(), text_of), 3u);
  // Without a pause the word grows and finds nothing: the highlight stays.
  EXPECT_EQ(typing.Type(U'x', later(4200), 3, lines.size(), text_of), std::nullopt);
  typing.Reset();
  EXPECT_EQ(typing.Type(U'A', later(4300), 3, lines.size(), text_of), 0u);
  EXPECT_EQ(typing.Type(U'z', later(9000), 0, lines.size(), text_of), std::nullopt);
}

TEST(ScreenListTest, ScrollsAsLittleAsPossible) {
  EXPECT_EQ(ScrollTop(10, 0, 5), 6u);
  EXPECT_EQ(ScrollTop(3, 6, 5), 3u);
  EXPECT_EQ(ScrollTop(7, 6, 5), 6u);
  EXPECT_EQ(ScrollTop(0, 0, 5), 0u);
}

// The edit field is edited in place at its caret.
TEST(ScreenFieldTest, EditsAtTheCaret) {
  ScreenField field;
  field.SetText(L"0306406152");
  EXPECT_EQ(field.caret(), 10u);
  bool changed = false;
  auto key = [&](ScreenKey::Code code, char32_t c = 0) { return field.Edit({code, c}, &changed); };
  EXPECT_TRUE(key(ScreenKey::kHome));
  EXPECT_FALSE(changed);
  for (const char32_t c : std::u32string(U"978")) {
    EXPECT_TRUE(key(ScreenKey::kCharacter, c));
  }
  EXPECT_TRUE(changed);
  EXPECT_EQ(field.text(), L"9780306406152");
  EXPECT_TRUE(key(ScreenKey::kEnd));
  EXPECT_TRUE(key(ScreenKey::kBackspace));
  EXPECT_TRUE(key(ScreenKey::kCharacter, U'7'));
  EXPECT_EQ(field.text(), L"9780306406157");
  EXPECT_TRUE(key(ScreenKey::kHome));
  EXPECT_TRUE(key(ScreenKey::kRight));
  EXPECT_TRUE(key(ScreenKey::kDelete));
  EXPECT_EQ(field.text(), L"980306406157");
  EXPECT_TRUE(key(ScreenKey::kLeft));
  EXPECT_TRUE(key(ScreenKey::kBackspace));  // nothing before the caret
  EXPECT_FALSE(changed);
  EXPECT_EQ(field.text(), L"980306406157");
  // Keys that are not the field's are left to the dialog.
  EXPECT_FALSE(key(ScreenKey::kTab));
  EXPECT_FALSE(key(ScreenKey::kEnter));
  EXPECT_FALSE(key(ScreenKey::kDown));
}

// A field narrower than its text keeps the caret in view.
TEST_F(ScreenTextTest, FieldScrollsToTheCaret) {
  ScreenField field;
  field.SetText(L"abcdefghij");
  EXPECT_EQ(field.FirstShown(4), 7u);  // "hij" and the caret
  bool changed = false;
  field.Edit({ScreenKey::kHome, 0}, &changed);
  EXPECT_EQ(field.FirstShown(4), 0u);
  field.Edit({ScreenKey::kEnd, 0}, &changed);
  field.SetText(L"\u6f22\u5b57\u6f22");  // six columns
  EXPECT_EQ(field.FirstShown(4), 2u);
}

}  // namespace
}  // namespace qm
