#include "actions/file_url.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(FileUrlOfPath, NamesThePathWhateverItsFolderHolds) {
  struct Case {
    const char16_t* path;
    const char16_t* url;
  };
  const Case cases[] = {
      {u"C:\\Program Files\\Pellmor Quillmark\\qmBook.htm",
       u"file:///C:/Program%20Files/Pellmor%20Quillmark/qmBook.htm"},
      {u"D:\\Q #1 (100%)\\a?b\\qm.htm", u"file:///D:/Q%20%231%20(100%25)/a%3Fb/qm.htm"},
      {u"C:\\x\"<>[]^`{|}\\q", u"file:///C:/x%22%3C%3E%5B%5D%5E%60%7B%7C%7D/q"},
      {u"C:\\tab\there\x7F", u"file:///C:/tab%09here%7F"},
      // Letters outside ASCII stay; a plus, an ampersand or a tilde may stand.
      {u"C:\\Caf\u00E9 \u4E2D\\a+b&c~d.htm", u"file:///C:/Caf\u00E9%20\u4E2D/a+b&c~d.htm"},
      {u"\\\\server\\share name\\qm.htm", u"file://server/share%20name/qm.htm"},
      {u"", u"file:///"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FileUrlOfPath(c.path), c.url);
  }
}

}  // namespace
}  // namespace qm
