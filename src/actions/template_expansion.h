// Expansion of an entry's templates (url, href, command and the mail
// fields): "!" placeholders stand for pieces of the request, backslash
// escapes for characters that a catalogue line cannot hold.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "catalogue/site_entry.h"
#include "context/request_context.h"
#include "host/code_page.h"
#include "host/desktop.h"
#include "host/module_environment.h"

namespace qm {

// What happens to the values that placeholders insert. Template text
// between placeholders is copied as written in every mode.
enum class ValueEncoding {
  // Values are inserted as they are.
  kNone,
  // Values, and the text of escapes, are percent-encoded in the entry's
  // charset (PercentEncode or PercentEncodeUtf8); !I is never encoded.
  kPercent,
  // For command lines run with values from the page: in every value except
  // that of "!!", each character that means something to the command
  // interpreter (" & | < > ^ % !) and each control character (U+0000 to
  // U+001F and U+007F, line breaks among them) becomes "_", so the value
  // can neither close a quoted argument, chain or redirect a command, nor
  // expand a variable. "a&calc" is inserted as "a_calc". Escapes give their
  // characters unchanged: they are the catalogue's own text.
  kCommandLine,
};

// The address of the product's web page, as the credit line !C shows it.
inline constexpr std::u16string_view kProductWebPage =
    u"https://quillmark.pellmor.example/";

// Expands the 8-bit `tmpl` against `context` in one left-to-right pass.
// Template bytes are widened by value (byte n becomes U+00nn); values come
// from the context as wide text.
//   "!x"  placeholder, both characters replaced by its value:
//         !! a "!"           !S selection as captured   !s selection tidied
//         !- selection less its last character (a whole surrogate pair)
//         !O !o selection's HTML   !u !U frame and top-level address
//         !w !W window names  !h !H host names  !d !D their registrable domains
//         !t !T titles        !F !f source currency code
//         !L !l target currency code   !C !c credit line (product name and
//         kProductWebPage)   !I !i ModuleFolderUrl
//         any other character: both characters as they are ("!Z" stays)
//   "\x"  escape: \n CR LF, \s space, \t tab, any other character itself
//         (so "\!S" gives "!S")
// A "!" or "\" that ends the template is copied. Currency codes and domains
// are computed only when their placeholder occurs. Never fails; a missing
// value inserts nothing.
//   q=!S with selection "a b&c": kPercent "q=a%20b%26c", kNone "q=a b&c"
std::u16string ExpandTemplate(std::string_view tmpl, RequestContext& context,
                              const CodePage& code_page, ValueEncoding encoding,
                              UrlCharset charset = UrlCharset::kWindows1252);

// True when "!" followed by `letter` is a placeholder of ExpandTemplate
// ("!!" included); false for any other character, whose "!" stays as it is.
bool IsPlaceholder(char letter);

// ExpandTemplate that gives up as soon as the expansion is longer than
// `limit` UTF-16 code units, so a template that repeats a long value many
// times costs no more than the limit. Returns true with the whole expansion
// in *out when it fits; false when it does not, with *out cleared.
//   "!S!S" with selection "abc": limit 6 gives "abcabc", limit 5 false
bool ExpandTemplateWithin(std::string_view tmpl, RequestContext& context,
                          const CodePage& code_page, ValueEncoding encoding,
                          UrlCharset charset, std::size_t limit, std::u16string* out);

// What an expanded text that would exceed its limit was for, as the message
// about it names it.
enum class ExpandedText { kAddress, kCommandLine, kMailField };

// Tells the user that the `what` of `entry` would be longer than `limit`
// characters and so was not carried out: a message box under caption string
// 100 with an exclamation icon, owned by the desktop.
//   The address of "Shop" would be longer than 2083 characters, ...
void ReportTooLong(const SiteEntry& entry, ExpandedText what, std::size_t limit,
                   const CodePage& code_page, Desktop& desktop);

// The encoding that an entry's URLEncode flag asks for in url, href and the
// "mailto:" address: kPercent when set, else kNone.
ValueEncoding UrlValueEncoding(const SiteEntry& entry);

// The file address of the folder that holds the module: its path with "\"
// made "/" and ":" made "|", after "file:///", cut after the last "/".
// The path is decoded from the system code page first, so a double-byte
// character whose second byte is 0x5C stays whole.
//   C:\Program Files\X\qmkit.dll -> u"file:///C|/Program Files/X/"
// "file:///" when the environment does not know the path.
std::u16string ModuleFolderUrl(const ModuleEnvironment& environment,
                               const CodePage& code_page);

}  // namespace qm
