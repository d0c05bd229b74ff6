#include "page_options.h"

#include <charconv>
#include <string_view>

#include "html_character_references.h"
#include "posix_module_environment.h"
#include "text/utf8.h"

namespace qm {

namespace {

bool ReadUtf8File(const char* option, const std::string& path, std::u16string* text,
                  std::string* error) {
  std::string bytes;
  std::string reason;
  if (!ReadUserFile(path, kMaxPageFileBytes, &bytes, &reason)) {
    *error = std::string(option) + " " + path + ": " + reason;
    return false;
  }
  *text = FromUtf8(bytes);
  return true;
}

// The text of an HTML fragment: tags dropped, character references decoded.
// Each run of text between tags is decoded on its own, since a tag ends any
// reference before it.
std::u16string TextOfHtml(std::u16string_view html) {
  std::u16string text;
  std::size_t run = 0;
  bool in_tag = false;
  for (std::size_t i = 0; i <= html.size(); ++i) {
    const bool end = i == html.size();
    if (!in_tag && (end || html[i] == u'<')) {
      text += DecodeHtmlEntities(html.substr(run, i - run));
      in_tag = true;
    } else if (in_tag && !end && html[i] == u'>') {
      in_tag = false;
      run = i + 1;
    }
  }
  return text;
}

std::u16string_view Between(std::u16string_view text, std::u16string_view open,
                            std::u16string_view close) {
  const std::size_t start = text.find(open);
  if (start == std::u16string_view::npos) return {};
  const std::size_t from = start + open.size();
  const std::size_t end = text.find(close, from);
  return text.substr(from, end == std::u16string_view::npos ? end : end - from);
}

bool TakePageFile(const std::string& path, PageOptions* page, std::string* error) {
  std::u16string html;
  if (!ReadUtf8File("--page", path, &html, error)) return false;
  const std::u16string_view selected =
      Between(html, u"<qm-selection>", u"</qm-selection>");
  page->html = std::u16string(selected);
  page->selection = TextOfHtml(selected);
  const std::u16string_view title = Between(html, u"<title>", u"</title>");
  if (!title.empty()) page->title = TextOfHtml(title);
  return true;
}

bool ParseScreen(const std::string& value, std::pair<int, int>* screen) {
  const std::size_t x = value.find('x');
  if (x == std::string::npos) return false;
  int w = 0;
  int h = 0;
  const char* begin = value.data();
  const char* end = begin + value.size();
  const auto a = std::from_chars(begin, begin + x, w);
  const auto b = std::from_chars(begin + x + 1, end, h);
  if (a.ec != std::errc() || a.ptr != begin + x || b.ec != std::errc() ||
      b.ptr != end || w <= 0 || h <= 0) {
    return false;
  }
  *screen = {w, h};
  return true;
}

}  // namespace

void AddPageOptions(OptionTable& table, PageOptions* page) {
  // The options that take the value as it stands.
  const auto text = [page](std::u16string PageOptions::*field) {
    return [page, field](const std::string& value, std::string*) {
      page->*field = FromUtf8(value);
      return true;
    };
  };
  const auto optional_text = [page](std::optional<std::u16string> PageOptions::*field) {
    return [page, field](const std::string& value, std::string*) {
      page->*field = FromUtf8(value);
      return true;
    };
  };
  table.Text("\npage options (the page the menu is opened on):\n")
      .Value("--selection", "TEXT", "the selected text", text(&PageOptions::selection))
      .Value("--selection-file", "FILE", "the selected text from a UTF-8 file",
             [page](const std::string& path, std::string* error) {
               return ReadUtf8File("--selection-file", path, &page->selection, error);
             })
      .Value("--html", "HTML", "the selection's HTML", text(&PageOptions::html))
      .Value("--page", "FILE",
             "an HTML file whose <qm-selection>...</qm-selection>\n"
             "marks the selection; its <title> is the title",
             [page](const std::string& path, std::string* error) {
               return TakePageFile(path, page, error);
             })
      .Value("--url", "URL", "the address of the page (or frame)", text(&PageOptions::url))
      .Value("--top-url", "URL",
             "the address of the top-level page, when the menu\n"
             "is opened in a frame",
             text(&PageOptions::top_url))
      .Value("--name", "NAME", "the window name of the page", text(&PageOptions::name))
      .Value("--top-name", "NAME", "the window name of the top-level page",
             text(&PageOptions::top_name))
      .Value("--title", "TEXT", "the document title of the page", text(&PageOptions::title))
      .Value("--top-title", "TEXT", "the document title of the top-level page",
             text(&PageOptions::top_title))
      .Value("--host", "HOST", "the host name of the page (else from --url)",
             optional_text(&PageOptions::host))
      .Value("--top-host", "HOST", "the host name of the top-level page (else from\n--top-url)",
             optional_text(&PageOptions::top_host))
      .Value("--screen", "WxH", "the screen space available to windows",
             [page](const std::string& value, std::string* error) {
               std::pair<int, int> screen;
               if (!ParseScreen(value, &screen)) {
                 *error = "--screen takes WIDTHxHEIGHT, such as 1280x1024";
                 return false;
               }
               page->screen = screen;
               return true;
             })
      .Value("--link", "TEXT", "the menu opened on a link with this text, which\n"
             "stands in when nothing is selected",
             optional_text(&PageOptions::link_text))
      .Value("--link-href", "URL", "that link's address, which URL looks up",
             text(&PageOptions::link_href));
}

}  // namespace qm
