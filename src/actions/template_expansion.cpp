#include "actions/template_expansion.h"

#include <algorithm>
#include <string>
#include <utility>

#include "actions/percent_encoding.h"
#include "actions/registrable_domain.h"
#include "recognisers/currency_context.h"
#include "strings/string_table.h"

namespace qm {
namespace {

// How a placeholder's value meets the encoding.
enum class Insert {
  kValue,      // the mode decides
  kUnencoded,  // never percent-encoded (a file address is no query value)
  kLiteral,    // the template's own character: inserted as it is
};

using ValueFunction = std::u16string (*)(RequestContext&, const CodePage&);

struct Placeholder {
  char letter;
  Insert insert;
  ValueFunction value;
};

std::u16string SelectionLessLastCharacter(RequestContext& context,
                                          const CodePage&) {
  std::u16string text = context.selectedText();
  if (text.empty()) return text;
  std::size_t cut = text.size() - 1;
  // Half a surrogate pair would be a broken character on every path out.
  if (cut > 0 && text[cut] >= 0xDC00 && text[cut] <= 0xDFFF &&
      text[cut - 1] >= 0xD800 && text[cut - 1] <= 0xDBFF) {
    --cut;
  }
  text.resize(cut);
  return text;
}

std::u16string CreditLine(RequestContext&, const CodePage&) {
  std::u16string line(LoadText(IDS_PRODUCT_NAME));
  line += u' ';
  line += kProductWebPage;
  return line;
}

std::u16string Selection(RequestContext& c, const CodePage&) { return c.selectedText(); }
std::u16string TidySelection(RequestContext& c, const CodePage&) { return c.NormalisedSelection(); }
std::u16string SelectionHtml(RequestContext& c, const CodePage&) { return c.selectedHtml(); }
std::u16string PageHref(RequestContext& c, const CodePage&) { return c.pageHref(); }
std::u16string TopHref(RequestContext& c, const CodePage&) { return c.topHref(); }
std::u16string PageName(RequestContext& c, const CodePage&) { return c.pageName(); }
std::u16string TopName(RequestContext& c, const CodePage&) { return c.topName(); }
std::u16string PageHost(RequestContext& c, const CodePage&) { return c.pageHost(); }
std::u16string TopHost(RequestContext& c, const CodePage&) { return c.topHost(); }
std::u16string PageDomain(RequestContext& c, const CodePage&) { return RegistrableDomain(c.pageHost()); }
std::u16string TopDomain(RequestContext& c, const CodePage&) { return RegistrableDomain(c.topHost()); }
std::u16string PageTitle(RequestContext& c, const CodePage&) { return c.pageTitle(); }
std::u16string TopTitle(RequestContext& c, const CodePage&) { return c.topTitle(); }
std::u16string SourceCode(RequestContext& c, const CodePage&) { return SourceCurrencyCode(c); }
std::u16string TargetCode(RequestContext& c, const CodePage&) { return TargetCurrencyCode(c); }
std::u16string Exclamation(RequestContext&, const CodePage&) { return u"!"; }
std::u16string ModuleFolder(RequestContext& c, const CodePage& code_page) {
  return ModuleFolderUrl(c.environment(), code_page);
}

constexpr Placeholder kPlaceholders[] = {
    {'!', Insert::kLiteral, Exclamation},
    {'S', Insert::kValue, Selection},
    {'s', Insert::kValue, TidySelection},
    {'-', Insert::kValue, SelectionLessLastCharacter},
    {'O', Insert::kValue, SelectionHtml},
    {'o', Insert::kValue, SelectionHtml},
    {'u', Insert::kValue, PageHref},
    {'U', Insert::kValue, TopHref},
    {'w', Insert::kValue, PageName},
    {'W', Insert::kValue, TopName},
    {'h', Insert::kValue, PageHost},
    {'H', Insert::kValue, TopHost},
    {'d', Insert::kValue, PageDomain},
    {'D', Insert::kValue, TopDomain},
    {'t', Insert::kValue, PageTitle},
    {'T', Insert::kValue, TopTitle},
    {'F', Insert::kValue, SourceCode},
    {'f', Insert::kValue, SourceCode},
    {'L', Insert::kValue, TargetCode},
    {'l', Insert::kValue, TargetCode},
    {'C', Insert::kValue, CreditLine},
    {'c', Insert::kValue, CreditLine},
    {'I', Insert::kUnencoded, ModuleFolder},
    {'i', Insert::kUnencoded, ModuleFolder},
};

const Placeholder* FindPlaceholder(char letter) {
  const auto it = std::find_if(
      std::begin(kPlaceholders), std::end(kPlaceholders),
      [letter](const Placeholder& p) { return p.letter == letter; });
  return it == std::end(kPlaceholders) ? nullptr : it;
}

// The command interpreter's operators, quote, escape and variable marks.
// Controls go too: a line break would end the command and start another.
bool IsCommandLineSpecial(char16_t c) {
  switch (c) {
    case u'"': case u'&': case u'|': case u'<': case u'>':
    case u'^': case u'%': case u'!': case 0x7F:
      return true;
    default:
      return c < 0x20;
  }
}

class Expansion {
 public:
  Expansion(ValueEncoding encoding, UrlCharset charset, std::size_t limit,
            std::u16string* out)
      : encoding_(encoding), charset_(charset), limit_(limit), out_(out) {}

  // False once the expansion is over the limit; nothing more is appended
  // then. A value's encoded form is never shorter than the value, so a value
  // that cannot fit is not encoded at all.
  bool fits() const { return fits_; }

  void AppendCharacter(char16_t c) {
    if (Room(1)) out_->push_back(c);
  }

  void AppendValue(std::u16string_view value, Insert insert) {
    if (!Room(value.size())) return;
    if (insert == Insert::kLiteral || encoding_ == ValueEncoding::kNone) {
      out_->append(value);
    } else if (encoding_ == ValueEncoding::kPercent) {
      if (insert == Insert::kUnencoded) {
        out_->append(value);
      } else {
        AppendEncoded(value);
      }
    } else {
      for (const char16_t c : value) {
        out_->push_back(IsCommandLineSpecial(c) ? u'_' : c);
      }
    }
    fits_ = out_->size() <= limit_;
  }

  void AppendEscape(std::u16string_view text) {
    if (!Room(text.size())) return;
    if (encoding_ == ValueEncoding::kPercent) {
      AppendEncoded(text);
    } else {
      out_->append(text);
    }
    fits_ = out_->size() <= limit_;
  }

 private:
  bool Room(std::size_t size) {
    if (fits_ && size > limit_ - out_->size()) fits_ = false;
    return fits_;
  }

  void AppendEncoded(std::u16string_view value) {
    if (charset_ == UrlCharset::kUtf8) {
      AppendPercentEncodedUtf8(value, out_);
    } else {
      AppendPercentEncoded(value, out_);
    }
  }

  ValueEncoding encoding_;
  UrlCharset charset_;
  std::size_t limit_;
  bool fits_ = true;
  std::u16string* out_;
};

}  // namespace

bool ExpandTemplateWithin(std::string_view tmpl, RequestContext& context,
                          const CodePage& code_page, ValueEncoding encoding,
                          UrlCharset charset, std::size_t limit, std::u16string* out) {
  out->clear();
  out->reserve(std::min(tmpl.size(), limit));
  Expansion expansion(encoding, charset, limit, out);
  const std::size_t n = tmpl.size();
  for (std::size_t i = 0; i < n && expansion.fits(); ++i) {
    const char c = tmpl[i];
    if ((c != '!' && c != '\\') || i + 1 == n) {
      expansion.AppendCharacter(static_cast<unsigned char>(c));
      continue;
    }
    const char next = tmpl[++i];
    if (c == '!') {
      if (const Placeholder* p = FindPlaceholder(next)) {
        expansion.AppendValue(p->value(context, code_page), p->insert);
      } else {
        expansion.AppendCharacter(u'!');
        expansion.AppendCharacter(static_cast<unsigned char>(next));
      }
      continue;
    }
    switch (next) {
      case 'n': expansion.AppendEscape(u"\r\n"); break;
      case 's': expansion.AppendEscape(u" "); break;
      case 't': expansion.AppendEscape(u"\t"); break;
      default: {
        const char16_t itself = static_cast<unsigned char>(next);
        expansion.AppendEscape(std::u16string_view(&itself, 1));
      }
    }
  }
  if (expansion.fits()) return true;
  // The caller gets nothing to cut down, and the memory goes back at once.
  std::u16string().swap(*out);
  return false;
}

bool IsPlaceholder(char letter) { return FindPlaceholder(letter) != nullptr; }

std::u16string ExpandTemplate(std::string_view tmpl, RequestContext& context,
                              const CodePage& code_page, ValueEncoding encoding,
                              UrlCharset charset) {
  std::u16string out;
  ExpandTemplateWithin(tmpl, context, code_page, encoding, charset,
                       std::u16string::npos, &out);
  return out;
}

void ReportTooLong(const SiteEntry& entry, ExpandedText what, std::size_t limit,
                   const CodePage& code_page, Desktop& desktop) {
  int id = IDS_ADDRESS_TOO_LONG;
  if (what == ExpandedText::kCommandLine) id = IDS_COMMAND_LINE_TOO_LONG;
  if (what == ExpandedText::kMailField) id = IDS_MAIL_FIELD_TOO_LONG;
  const std::u16string name = code_page.ToWide(
      entry.shortDescription.empty() ? entry.name : entry.shortDescription);
  std::u16string number;
  for (const char digit : std::to_string(limit)) number.push_back(static_cast<char16_t>(digit));
  std::u16string text(LoadText(id));
  const std::pair<std::u16string_view, const std::u16string*> fields[] = {
      {u"%2", &number}, {u"%1", &name}};  // a name may hold "%2" itself
  for (const auto& [mark, value] : fields) {
    if (const std::size_t at = text.find(mark); at != std::u16string::npos) {
      text.replace(at, mark.size(), *value);
    }
  }
  desktop.ShowMessage(0, text, std::u16string(LoadText(IDS_PRODUCT_NAME)),
                      MessageStyle{MessageIcon::kExclamation, MessageButtons::kOk});
}

ValueEncoding UrlValueEncoding(const SiteEntry& entry) {
  return entry.URLEncode ? ValueEncoding::kPercent : ValueEncoding::kNone;
}

std::u16string ModuleFolderUrl(const ModuleEnvironment& environment,
                               const CodePage& code_page) {
  const std::u16string path = code_page.ToWide(environment.ModulePath());
  // A POSIX path brings its own leading slash.
  std::u16string url = !path.empty() && path.front() == u'/' ? u"file://" : u"file:///";
  const std::size_t start = url.size();
  url += path;
  for (std::size_t i = start; i < url.size(); ++i) {
    if (url[i] == u'\\') url[i] = u'/';
    else if (url[i] == u':') url[i] = u'|';
  }
  url.resize(url.rfind(u'/') + 1);
  return url;
}

}  // namespace qm
