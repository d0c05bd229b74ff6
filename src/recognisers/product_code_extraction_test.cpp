#include "recognisers/product_code_extraction.h"

#include <cstddef>
#include <iterator>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "support/fake_browser.h"
#include "support/fake_module_environment.h"

namespace qm {
namespace {

// A request made from a framed page: the selection (text and HTML) and the
// frame's address, inside a top page with its own address.
class Request {
 public:
  Request(std::u16string text, std::u16string html, std::u16string page_href,
          std::u16string top_href) {
    top_->href = std::move(top_href);
    frame_->top = top_;
    frame_->href = std::move(page_href);
    frame_->document = std::make_shared<FakeDocument>();
    frame_->document->selection = FakeTextRange{std::move(text), std::move(html)};
    arguments_.window = frame_;
    built_ = BuildRequestContext(context, &arguments_);
  }
  bool built() const { return built_; }

 private:
  FakeModuleEnvironment environment_;
  std::shared_ptr<FakeWindow> top_ = std::make_shared<FakeWindow>();
  std::shared_ptr<FakeWindow> frame_ = std::make_shared<FakeWindow>();
  FakeMenuArguments arguments_;
  bool built_ = false;

 public:
  RequestContext context{environment_};
};

std::u16string ISBNOf(const std::u16string& text, const std::u16string& html,
                      const std::u16string& page, const std::u16string& top) {
  Request request(text, html, page, top);
  EXPECT_TRUE(request.built());
  return ExtractISBN(request.context);
}

std::u16string UPCOf(const std::u16string& text, const std::u16string& html,
                     const std::u16string& page, const std::u16string& top) {
  Request request(text, html, page, top);
  EXPECT_TRUE(request.built());
  return ExtractUPC(request.context);
}

TEST(ExtractISBNTest, SourceOrder) {
  // An ISBN-10 in the HTML wins over an EAN-13 in the selected text.
  EXPECT_EQ(ISBNOf(u"978-1-86197-271-2", u"<i>0-306-40615-2</i>", u"", u""),
            u"0306406152");
  EXPECT_EQ(ISBNOf(u"978-1-86197-271-2", u"<i>none</i>", u"", u""), u"1861972717");
  EXPECT_EQ(ISBNOf(u"Dune", u"<a href=\"/9780306406157\">", u"", u""), u"0306406152");
  EXPECT_EQ(ISBNOf(u"9781861972712", u"<a href=\"/9780306406157\">", u"", u""),
            u"1861972717");
  // The page address before the top address; within one address the
  // ISBN-10 scan before the EAN-13 one.
  EXPECT_EQ(ISBNOf(u"", u"", u"https://b.example/isbn/9780306406157",
                   u"https://a.example/1861972717"),
            u"0306406152");
  EXPECT_EQ(ISBNOf(u"", u"", u"/p/9781861972712?also=0306406152", u""), u"0306406152");
  EXPECT_EQ(ISBNOf(u"", u"", u"https://b.example/", u"https://a.example/1861972717"),
            u"1861972717");
  EXPECT_EQ(ISBNOf(u"", u"", u"https://b.example/", u"https://a.example/p/9781861972712"),
            u"1861972717");
  // A first EAN-13 with another prefix spends its source; the next is tried.
  EXPECT_EQ(ISBNOf(u"4006381333931 9780306406157", u"", u"", u""), u"");
  EXPECT_EQ(ISBNOf(u"4006381333931 9780306406157", u"", u"/1861972717", u""),
            u"1861972717");
  EXPECT_EQ(ISBNOf(u"0.306.40615.2", u"", u"", u""), u"");
  EXPECT_EQ(ISBNOf(u"", u"", u"", u""), u"");
}

// A 979 book is found wherever a 978 one is, as its thirteen digits; a
// 979-0 code (printed music) is no book and spends its source.
TEST(ExtractISBNTest, BooksNumberedFrom979) {
  struct Case {
    const char16_t* text;
    const char16_t* html;
    const char16_t* page;
    const char16_t* top;
    const char16_t* isbn;
  };
  const Case cases[] = {
      {u"ISBN 979-10-90636-07-1", u"", u"", u"", u"9791090636071"},
      {u"Sonatas", u"<td>979-10-90636-07-1</td>", u"", u"", u"9791090636071"},
      {u"", u"", u"https://shop.example/dp/9791090636071?ref=x", u"", u"9791090636071"},
      {u"", u"", u"https://b.example/", u"https://a.example/979-10-90636-07-1",
       u"9791090636071"},
      // The selection still comes before the address, and an ISBN-10 run
      // before any EAN-13 of the same rank.
      {u"979-10-90636-07-1", u"", u"/dp/0306406152", u"", u"9791090636071"},
      {u"979-10-90636-07-1", u"<i>0-306-40615-2</i>", u"", u"", u"0306406152"},
      {u"ISBN 978-0-306-40615-7", u"", u"", u"", u"0306406152"},
      {u"ISMN 979-0-2306-7118-7", u"", u"", u"", u""},
      {u"979-0-2306-7118-7, 978-0-306-40615-7", u"", u"", u"", u""},
      {u"ISMN 979-0-2306-7118-7", u"", u"/dp/9781861972712", u"", u"1861972717"},
      {u"ISBN 979-10-90636-07-2", u"", u"", u"", u""},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    EXPECT_EQ(ISBNOf(c.text, c.html, c.page, c.top), c.isbn) << "case " << i;
  }
}

// ISBN-13s after the most common label, and a code stuck to another digit.
TEST(ExtractISBNTest, LabelledAndStuckCodes) {
  EXPECT_EQ(ISBNOf(u"ISBN-13: 978-80-7204-250-0", u"", u"", u""), u"8072042505");
  EXPECT_EQ(ISBNOf(u"ISBN-13 9788072042500", u"", u"", u""), u"8072042505");
  EXPECT_EQ(ISBNOf(u"ISBN-10 8072042505", u"", u"", u""), u"8072042505");
  EXPECT_EQ(ISBNOf(u"97897222872272", u"", u"", u""), u"");
  EXPECT_EQ(ISBNOf(u"97897222872272", u"", u"/dp/9780306406157", u""), u"0306406152");
}

TEST(ExtractISBNTest, SearchesOncePerRequest) {
  Request found(u"ISBN 0-306-40615-2", u"", u"", u"");
  EXPECT_FALSE(found.context.isbnLooked());
  EXPECT_EQ(ExtractISBN(found.context), u"0306406152");
  EXPECT_TRUE(found.context.isbnLooked());
  found.context.SetSelectedText(u"1861972717");
  EXPECT_EQ(ExtractISBN(found.context), u"0306406152");
  // Finding nothing is remembered too.
  Request nothing(u"no number", u"", u"", u"");
  EXPECT_EQ(ExtractISBN(nothing.context), u"");
  EXPECT_TRUE(nothing.context.isbnLooked());
  nothing.context.SetSelectedText(u"1861972717");
  EXPECT_EQ(ExtractISBN(nothing.context), u"");
}

TEST(ExtractUPCTest, FullCodesFirstThenPaddedThenCompleted) {
  EXPECT_EQ(UPCOf(u"0 36000 29145 2", u"", u"", u""), u"036000291452");
  EXPECT_EQ(UPCOf(u"36000291452", u"", u"", u""), u"036000291452");
  // The padded form 003600029145 fails, so the check digit is computed.
  EXPECT_EQ(UPCOf(u"UPC 03600029145", u"", u"", u""), u"036000291452");
  // Every source gets the twelve-digit scan before any gets a shorter one.
  EXPECT_EQ(UPCOf(u"UPC 03600029145", u"", u"", u"https://s.example/?upc=012345678905"),
            u"012345678905");
  EXPECT_EQ(UPCOf(u"UPC 03600029145", u"<td>1234567895</td>", u"", u""),
            u"001234567895");
  EXPECT_EQ(UPCOf(u"", u"<td>1234567895</td><td>036000291452</td>", u"", u""),
            u"036000291452");
  EXPECT_EQ(UPCOf(u"", u"", u"/item/03600029145", u"/item/01234567890"), u"036000291452");
  EXPECT_EQ(UPCOf(u"03600-029145", u"", u"", u""), u"");
  EXPECT_EQ(UPCOf(u"", u"", u"", u""), u"");
  // An EAN-13 that begins with 0 is the UPC-A after it, and as full a code.
  EXPECT_EQ(UPCOf(u"EAN 0036000291452", u"", u"", u""), u"036000291452");
  EXPECT_EQ(UPCOf(u"36000291452", u"", u"", u"/ean/0012345678905"), u"012345678905");
}

TEST(ExtractUPCTest, SearchesOncePerRequest) {
  Request request(u"036000291452", u"", u"", u"");
  EXPECT_EQ(ExtractUPC(request.context), u"036000291452");
  EXPECT_TRUE(request.context.upcLooked());
  EXPECT_FALSE(request.context.isbnLooked());
  request.context.SetSelectedText(u"012345678905");
  EXPECT_EQ(ExtractUPC(request.context), u"036000291452");
}

}  // namespace
}  // namespace qm
