// Book numbers and product codes written the ways pages write them, made up
// here: valid codes with their check digits computed by this file, written
// compact, hyphenated, spaced, with typographic separators, after a label,
// inside a sentence; and codes spoiled on purpose (a digit changed, two
// digits swapped, a digit stuck to the code). What the ISBN and UPC
// commands find in each selection must be what the code was made to be.
//
// With QM_CODE_SAMPLES_OUT set to a file name, the samples and the answers
// are also written there as tab-separated lines (form, kind, selection,
// code as written, answer), for comparing with other readers of codes.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "recognisers/product_code_extraction.h"
#include "support/fake_browser.h"
#include "support/fake_module_environment.h"
#include "text/utf8.h"

namespace qm {
namespace {

enum class Kind { kISBN10, kISBN13, kUPCA, kEAN13OfUPCA };

struct Sample {
  std::string form;
  Kind kind;
  std::u16string text;     // the selection
  std::u16string written;  // the code alone, as written in it
  std::u16string meant;    // what the command must find; empty for nothing
};

// Check digits, computed here rather than with the code under test.
char16_t ISBN10Check(std::u16string_view nine) {
  int sum = 0;
  for (int i = 0; i < 9; ++i) sum += (10 - i) * (nine[i] - u'0');
  const int check = (11 - sum % 11) % 11;
  return check == 10 ? u'X' : static_cast<char16_t>(u'0' + check);
}

// Weights 1, 3, 1 ... from the left for EAN-13 (twelve digits in), 3, 1,
// 3 ... for UPC-A (eleven in): both are 3 on the digit before the check.
char16_t Mod10Check(std::u16string_view digits) {
  int sum = 0;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    sum += ((digits.size() - i) % 2 == 1 ? 3 : 1) * (digits[i] - u'0');
  }
  return static_cast<char16_t>(u'0' + (10 - sum % 10) % 10);
}

class Maker {
 public:
  explicit Maker(unsigned seed) : rng_(seed) {}

  int Below(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }
  char16_t Digit(int from = 0) { return static_cast<char16_t>(u'0' + from + Below(10 - from)); }
  std::u16string Digits(int n) {
    std::u16string s;
    for (int i = 0; i < n; ++i) s += Digit();
    return s;
  }
  template <typename T, std::size_t N>
  const T& Pick(const T (&items)[N]) { return items[Below(N)]; }

  // A valid code of `kind` (compact) and the answer it must give.
  std::pair<std::u16string, std::u16string> Code(Kind kind) {
    switch (kind) {
      case Kind::kISBN10: {
        std::u16string nine = Digits(9);
        return {nine + ISBN10Check(nine), nine + ISBN10Check(nine)};
      }
      case Kind::kISBN13: {
        if (Below(3) == 0) {  // 979, then anything but 0 (979-0 is music)
          std::u16string twelve = u"979" + std::u16string(1, Digit(1)) + Digits(8);
          twelve += Mod10Check(twelve);
          return {twelve, twelve};
        }
        const std::u16string nine = Digits(9);
        const std::u16string twelve = u"978" + nine;
        return {twelve + Mod10Check(twelve), nine + ISBN10Check(nine)};
      }
      case Kind::kUPCA: {
        std::u16string eleven = Digits(11);
        return {eleven + Mod10Check(eleven), eleven + Mod10Check(eleven)};
      }
      case Kind::kEAN13OfUPCA: {
        std::u16string eleven = Digits(11);
        const std::u16string upc = eleven + Mod10Check(eleven);
        return {u"0" + upc, upc};
      }
    }
    return {};
  }

  // The code cut into groups the way it is printed: an ISBN as prefix,
  // registration group, registrant, publication and check digit, a UPC-A
  // as 1-5-5-1, an EAN-13 as 1-6-6. The registration group is as long as
  // its first digits say (0-5 and 7 one digit, 80-94 two, 950-989 three,
  // 99 four or five), so a group is never "10" or "13".
  std::vector<std::u16string> Groups(Kind kind, const std::u16string& code) {
    std::vector<int> sizes;
    if (kind == Kind::kISBN10 || kind == Kind::kISBN13) {
      const std::u16string_view book = std::u16string_view(code).substr(kind == Kind::kISBN13 ? 3 : 0);
      if (kind == Kind::kISBN13) sizes.push_back(3);
      int group = 1;
      if (book[0] == u'8' || (book[0] == u'9' && book[1] <= u'4')) group = 2;
      if (book[0] == u'9' && book[1] >= u'5' && book[1] <= u'8') group = 3;
      if (book[0] == u'9' && book[1] == u'9') group = 4 + Below(2);
      const int registrant = 1 + Below(8 - group);
      sizes.insert(sizes.end(), {group, registrant, 9 - group - registrant, 1});
    } else if (kind == Kind::kUPCA) {
      sizes = {1, 5, 5, 1};
    } else {
      sizes = {1, 6, 6};
    }
    std::vector<std::u16string> groups;
    std::size_t at = 0;
    for (const int size : sizes) {
      groups.push_back(code.substr(at, size));
      at += size;
    }
    return groups;
  }

  std::u16string Joined(const std::vector<std::u16string>& groups, std::u16string_view between) {
    std::u16string text;
    for (const std::u16string& group : groups) {
      if (!text.empty()) text += between;
      text += group;
    }
    return text;
  }

 private:
  std::mt19937 rng_;
};

std::vector<Sample> MakeSamples() {
  Maker make(20230209);
  std::vector<Sample> samples;
  const Kind kinds[] = {Kind::kISBN10, Kind::kISBN13, Kind::kUPCA, Kind::kEAN13OfUPCA};
  const std::u16string_view kTypographic[] = {u"\u2010", u"\u2011", u"\u2012", u"\u2013",
                                              u"\u2212", u"\u00A0", u"\u202F", u"\u2007"};
  const std::u16string_view kBookLabels10[] = {u"ISBN ", u"ISBN: ", u"ISBN-10: ", u"ISBN-10 ",
                                               u"ISBN10: ", u"ISBN10 ", u"isbn 10: ", u"ISBN\u201110 "};
  const std::u16string_view kBookLabels13[] = {u"ISBN ", u"ISBN: ", u"ISBN-13: ", u"ISBN-13 ",
                                               u"ISBN13: ", u"ISBN13 ", u"ISBN 13 ", u"eISBN-13: "};
  const std::u16string_view kProductLabels[] = {u"UPC ", u"UPC: ", u"EAN ", u"EAN-13: ",
                                                u"EAN-13 ", u"EAN13 ", u"GTIN: ", u"Barcode "};
  const std::u16string_view kBefore[] = {u"In stock. ", u"Page 3 of 12, ", u"(2nd ed., 1998) ",
                                         u"Order no. 4471, ", u"Paperback, 320 pages; "};
  const std::u16string_view kAfter[] = {u".", u", EUR 12.99", u" (hardcover)", u"; 2 copies left",
                                        u" \u2013 out of print since 2004"};
  for (int n = 0; n < 600; ++n) {
    const Kind kind = kinds[n % 4];
    const bool book = kind == Kind::kISBN10 || kind == Kind::kISBN13;
    const auto [code, meant] = make.Code(kind);
    const std::vector<std::u16string> groups = make.Groups(kind, code);
    const std::u16string hyphenated = make.Joined(groups, u"-");
    const auto add = [&](std::string form, std::u16string text, std::u16string written,
                         std::u16string answer) {
      samples.push_back({std::move(form), kind, std::move(text), std::move(written), std::move(answer)});
    };
    add("compact", code, code, meant);
    add("hyphenated", hyphenated, hyphenated, meant);
    const std::u16string spaced = make.Joined(groups, u" ");
    add("spaced", spaced, spaced, meant);
    const std::u16string typographic = make.Joined(groups, make.Pick(kTypographic));
    add("typographic separators", typographic, typographic, meant);
    const std::u16string& labelled = make.Below(2) ? code : hyphenated;
    const std::u16string_view label =
        kind == Kind::kISBN10 ? make.Pick(kBookLabels10)
        : kind == Kind::kISBN13 ? make.Pick(kBookLabels13) : make.Pick(kProductLabels);
    add("labelled", std::u16string(label) + labelled, labelled, meant);
    add("in a sentence",
        std::u16string(make.Pick(kBefore)) + (book ? u"ISBN " : u"") + hyphenated +
            std::u16string(make.Pick(kAfter)),
        hyphenated, meant);

    // Spoiled codes give nothing. A changed digit always breaks the check;
    // a swap of two different neighbours always breaks an ISBN-10's and
    // breaks the others' unless the two differ by 5.
    std::u16string changed = code;
    const int at = make.Below(static_cast<int>(code.size()) - 1);
    changed[at] = static_cast<char16_t>(u'0' + (changed[at] - u'0' + 1 + make.Below(9)) % 10);
    const std::u16string changed_written = make.Joined(make.Groups(kind, changed), u"-");
    add("a digit changed", std::u16string(label) + changed_written, changed_written, u"");
    std::u16string swapped = code;
    const int swap = make.Below(static_cast<int>(code.size()) - 2);
    const int apart = swapped[swap] - swapped[swap + 1];
    if (apart != 0 && (kind == Kind::kISBN10 || (apart != 5 && apart != -5))) {
      std::swap(swapped[swap], swapped[swap + 1]);
      add("two digits swapped", swapped, swapped, u"");
    }
    // A digit stuck to a code makes it part of a longer number. A UPC-A
    // gets one in front, and not a 0, which would make its EAN-13.
    const std::u16string stuck =
        kind == Kind::kUPCA ? std::u16string(1, make.Digit(1)) + code
        : make.Below(2)     ? std::u16string(1, make.Digit()) + code
                            : code + make.Digit();
    add("inside a longer number", stuck, stuck, u"");
  }
  return samples;
}

// The request a menu command gets for a selection alone.
class Selection {
 public:
  explicit Selection(const std::u16string& text) {
    top_->href = u"https://shop.example/";
    frame_->top = top_;
    frame_->href = u"https://shop.example/";
    frame_->document = std::make_shared<FakeDocument>();
    frame_->document->selection = FakeTextRange{text, u""};
    arguments_.window = frame_;
    EXPECT_TRUE(BuildRequestContext(context, &arguments_));
  }

 private:
  FakeModuleEnvironment environment_;
  std::shared_ptr<FakeWindow> top_ = std::make_shared<FakeWindow>();
  std::shared_ptr<FakeWindow> frame_ = std::make_shared<FakeWindow>();
  FakeMenuArguments arguments_;

 public:
  RequestContext context{environment_};
};

std::u16string Answer(const Sample& sample) {
  Selection selection(sample.text);
  const bool book = sample.kind == Kind::kISBN10 || sample.kind == Kind::kISBN13;
  return book ? ExtractISBN(selection.context) : ExtractUPC(selection.context);
}

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::kISBN10: return "isbn10";
    case Kind::kISBN13: return "isbn13";
    case Kind::kUPCA: return "upca";
    case Kind::kEAN13OfUPCA: return "ean13-upca";
  }
  return "";
}

// Every written form, each counted apart, so a form that stops working
// shows up by name.
TEST(ProductCodeWrittenForms, EachFormGivesTheCodeItWasMadeFrom) {
  const std::vector<Sample> samples = MakeSamples();
  std::map<std::string, std::pair<int, int>> forms;  // right, all
  const char* dump_name = std::getenv("QM_CODE_SAMPLES_OUT");
  std::ofstream dump;
  if (dump_name != nullptr) dump.open(dump_name, std::ios::binary);
  for (const Sample& sample : samples) {
    const std::u16string answer = Answer(sample);
    auto& [right, all] = forms[sample.form];
    ++all;
    if (answer == sample.meant) {
      ++right;
    } else {
      ADD_FAILURE() << sample.form << ": \"" << ToUtf8(sample.text) << "\" gives \""
                    << ToUtf8(answer) << "\", meant \"" << ToUtf8(sample.meant) << "\"";
    }
    if (dump) {
      dump << sample.form << '\t' << KindName(sample.kind) << '\t' << ToUtf8(sample.text) << '\t'
           << ToUtf8(sample.written) << '\t' << ToUtf8(answer) << '\n';
    }
  }
  for (const auto& [form, score] : forms) {
    std::cout << form << ": " << score.first << " of " << score.second << "\n";
    EXPECT_GE(score.second, 300) << form;
  }
  EXPECT_EQ(forms.size(), 9u);
}

}  // namespace
}  // namespace qm
