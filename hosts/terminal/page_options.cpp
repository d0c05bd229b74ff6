#include "page_options.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <string_view>

#include "html_character_references.h"
#include "text/utf8.h"

namespace qm {

const char kPageOptionsUsage[] =
    "page options (the page the menu is opened on):\n"
    "  --selection TEXT       the selected text\n"
    "  --selection-file FILE  the selected text from a UTF-8 file\n"
    "  --html HTML            the selection's HTML\n"
    "  --page FILE            an HTML file whose <qm-selection>...</qm-selection>\n"
    "                         marks the selection; its <title> is the title\n"
    "  --url URL              the address of the page (or frame)\n"
    "  --top-url URL          the address of the top-level page, when the menu\n"
    "                         is opened in a frame\n"
    "  --name NAME, --top-name NAME      window names\n"
    "  --title TEXT, --top-title TEXT    document titles\n"
    "  --host HOST, --top-host HOST      host names (else from the addresses)\n"
    "  --screen WxH           the screen space available to windows\n"
    "  --link TEXT            nothing selected; a focused link with this text\n"
    "  --link-href URL        the focused link's address\n";

namespace {

bool ReadUtf8File(const std::string& path, std::u16string* text,
                  std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "cannot read " + path;
    return false;
  }
  std::stringstream bytes;
  bytes << in.rdbuf();
  *text = FromUtf8(bytes.str());
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
  if (!ReadUtf8File(path, &html, error)) return false;
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

std::u16string HostOfAddress(std::u16string_view address) {
  const std::size_t slashes = address.find(u"//");
  if (slashes == std::u16string_view::npos) return {};
  std::u16string_view rest = address.substr(slashes + 2);
  rest = rest.substr(0, rest.find_first_of(u"/?#"));
  const std::size_t at = rest.rfind(u'@');
  if (at != std::u16string_view::npos) rest.remove_prefix(at + 1);
  if (!rest.empty() && rest.front() == u'[') {  // an IPv6 address
    const std::size_t close = rest.find(u']');
    return std::u16string(rest.substr(0, close == rest.npos ? rest.npos : close + 1));
  }
  return std::u16string(rest.substr(0, rest.find(u':')));
}

bool TakePageOption(int argc, char** argv, int* i, PageOptions* page,
                    std::string* error) {
  const std::string_view option = argv[*i];
  struct TextOption {
    std::string_view name;
    std::u16string PageOptions::*field;
  };
  static constexpr TextOption kTexts[] = {
      {"--selection", &PageOptions::selection}, {"--html", &PageOptions::html},
      {"--url", &PageOptions::url},             {"--top-url", &PageOptions::top_url},
      {"--name", &PageOptions::name},           {"--top-name", &PageOptions::top_name},
      {"--title", &PageOptions::title},         {"--top-title", &PageOptions::top_title},
      {"--link-href", &PageOptions::link_href}};
  static constexpr std::string_view kOthers[] = {
      "--selection-file", "--page", "--host", "--top-host", "--screen", "--link"};

  bool known = false;
  for (const TextOption& t : kTexts) known |= option == t.name;
  for (std::string_view o : kOthers) known |= option == o;
  if (!known) return false;
  if (*i + 1 >= argc) {
    *error = std::string(option) + " needs a value";
    return true;
  }
  const std::string value = argv[++*i];
  ++*i;
  for (const TextOption& t : kTexts) {
    if (option == t.name) {
      page->*t.field = FromUtf8(value);
      return true;
    }
  }
  if (option == "--selection-file") {
    ReadUtf8File(value, &page->selection, error);
  } else if (option == "--page") {
    TakePageFile(value, page, error);
  } else if (option == "--host") {
    page->host = FromUtf8(value);
  } else if (option == "--top-host") {
    page->top_host = FromUtf8(value);
  } else if (option == "--link") {
    page->link_text = FromUtf8(value);
  } else if (option == "--screen") {
    std::pair<int, int> screen;
    if (!ParseScreen(value, &screen)) {
      *error = "--screen takes WIDTHxHEIGHT, such as 1280x1024";
    } else {
      page->screen = screen;
    }
  }
  return true;
}

}  // namespace qm
