#include "recognisers/product_code_input.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

void ExpectAccepted(const InputCheck& check, std::u16string_view normal) {
  EXPECT_TRUE(check.accepted);
  EXPECT_EQ(check.text, normal);
}

void ExpectRefused(const InputCheck& check, int message) {
  EXPECT_FALSE(check.accepted);
  EXPECT_EQ(check.message, message);
  EXPECT_TRUE(check.text.empty());
}

TEST(CheckISBNInputTest, TenDigitsOrABookEAN13) {
  ExpectAccepted(CheckISBNInput(u"ISBN 0-306-40615-2"), u"0306406152");
  ExpectAccepted(CheckISBNInput(u"0-8044-2957-x"), u"080442957X");
  ExpectAccepted(CheckISBNInput(u"978-0-306-40615-7"), u"0306406152");
  ExpectAccepted(CheckISBNInput(u"979-10-90636-07-1"), u"9791090636071");
  ExpectAccepted(CheckISBNInput(u" 9791234567896 "), u"9791234567896");
  ExpectRefused(CheckISBNInput(u"979-10-90636-07-2"), kMessageInvalidISBN);
  ExpectRefused(CheckISBNInput(u"979-0-2306-7118-7"), kMessageInvalidISBN);
  ExpectRefused(CheckISBNInput(u"0-306-40615-3"), kMessageInvalidISBN);
  ExpectRefused(CheckISBNInput(u"0.306.40615.2"), kMessageInvalidISBN);
  ExpectAccepted(CheckISBNInput(u"ISBN-13 9788072042500"), u"8072042505");
  ExpectAccepted(CheckISBNInput(u"0\u2010306\u201040615\u20102"), u"0306406152");
  ExpectRefused(CheckISBNInput(u"97897222872272"), kMessageInvalidISBN);
  ExpectRefused(CheckISBNInput(u""), 129);
}

TEST(CheckUPCInputTest, FullOrPaddedButNeverCompleted) {
  ExpectAccepted(CheckUPCInput(u"0 36000 29145 2"), u"036000291452");
  ExpectAccepted(CheckUPCInput(u"36000291452"), u"036000291452");
  // A selection of these eleven digits would be completed; typed, refused.
  ExpectRefused(CheckUPCInput(u"03600029145"), kMessageInvalidUPC);
  ExpectRefused(CheckUPCInput(u"036000291453"), kMessageInvalidUPC);
  ExpectAccepted(CheckUPCInput(u"0036000291452"), u"036000291452");
  ExpectRefused(CheckUPCInput(u""), 130);
}

}  // namespace
}  // namespace qm
