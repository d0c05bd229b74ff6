#include "help_page.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(HelpPage, PageNameComesAfterTheHelpFileAndStaysInsideItsFolder) {
  const struct {
    const char* address;
    const char* page;
  } cases[] = {
      {"C:\\Dir\\qmkit.chm::/HelpISBN.htm", "HelpISBN.htm"},
      {"/usr/bin/qmkit.chm::/HelpUnits.htm", "HelpUnits.htm"},
      {"HelpIndex.htm", "HelpIndex.htm"},
      {"/x/qmkit.chm::/../../etc/passwd", ""},
      {"/x/qmkit.chm::/sub/page.htm", ""},
      {"/x/qmkit.chm::/.hidden", ""},
      {"/x/qmkit.chm::/", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(HelpPageName(c.address), c.page) << c.address;
}

TEST(HelpPage, FileAddressEncodesWhatAnAddressCannotHold) {
  EXPECT_EQ(FileAddress("/home/a b/50%/Help-1_x.htm"),
            "file:///home/a%20b/50%25/Help-1_x.htm");
  EXPECT_EQ(FileAddress("/h/\xC3\xA9#?"), "file:///h/%C3%A9%23%3F");
}

TEST(HelpPage, HtmlBecomesTheTextAReaderSees) {
  const struct {
    const char* html;
    const char* text;
  } cases[] = {
      // The head and styles are no text; tags go, references are decoded.
      {"<html><head><title>T</title><style>p {}</style></head>"
       "<body><p>A &lt;b&gt; &amp; =&gt;ISBN&nbsp;x</p></body></html>",
       "A <b> & =>ISBN x\n"},
      // Blanks and line breaks in the source are one space; paragraphs are
      // separated by one empty line, however many blocks end between them.
      {"<p>one\n  two\t three</p>\n\n<div><p>four</p></div>", "one two three\n\nfour\n"},
      // Headings are underlined by their length in characters.
      {"<h1>Caf&eacute; help</h1><h2>More</h2><p>x</p>",
       "Caf\xC3\xA9 help\n=========\n\nMore\n----\n\nx\n"},
      {"<ul><li>a\n b</li><li><code>c</code> d</li></ul><p>e</p>", "- a b\n- c d\n\ne\n"},
      {"<table><tr><th>Key</th><th>Meaning</th></tr><tr><td>a</td><td>b c</td></tr></table>",
       "Key | Meaning\na | b c\n"},
      // Preformatted text keeps its lines and blanks.
      {"<p>x</p><pre>\n[A:B]\nurl=a?q=!s&amp;x  y\n</pre><p>z</p>",
       "x\n\n[A:B]\nurl=a?q=!s&x  y\n\nz\n"},
      {"a<!-- <p>hidden</p> -->b<br>c", "ab\nc\n"},
      {"a <b", "a\n"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(HtmlToText(c.html), c.text) << c.html;
}

}  // namespace
}  // namespace qm
