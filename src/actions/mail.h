// Carrying out an e-mail entry: a "mailto:" address handed to the browser,
// or else the message offered in the mail program's compose window.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "catalogue/site_entry.h"
#include "context/request_context.h"
#include "host/code_page.h"
#include "host/desktop.h"
#include "host/shell.h"

namespace qm {

// The five mail templates of an entry (8-bit text as in the catalogue). The
// views point into the entry.
struct MailTemplates {
  std::string_view to;
  std::string_view cc;
  std::string_view bcc;
  std::string_view subject;
  std::string_view body;
};
MailTemplates MailTemplatesOf(const SiteEntry& entry);

// Tries MailByBrowser, then MailByMapi; when both fail, shows string 136
// under caption string 100 with an exclamation icon, owned by the desktop.
// When a field for the mail program is too long, ReportTooLong says so and
// nothing is sent.
void SendEntryMail(const SiteEntry& entry, RequestContext& context,
                   const CodePage& code_page, Desktop& desktop, Shell& shell);

// The "mailto:" address of `mail`: "mailto:", the percent-encoded expansion
// of `to`, then for cc, bcc, subject and body, each only when its template
// is not empty, "?" for the first and "&" for the others, the key ("cc=",
// "bcc=", "subject=", "body=") and the percent-encoded expansion. Values are
// encoded in `charset`; template text outside placeholders is copied.
// Returns false, with *address cleared, as soon as the address would be
// longer than `limit` UTF-16 code units.
//   to "!s" with selection "ann@example.com", subject "!T" with top title
//   "A b": u"mailto:ann%40example.com?subject=A%20b"
bool BuildMailtoAddress(const MailTemplates& mail, RequestContext& context,
                        const CodePage& code_page, UrlCharset charset,
                        std::size_t limit, std::u16string* address);
// The same without a limit.
std::u16string BuildMailtoAddress(const MailTemplates& mail,
                                  RequestContext& context,
                                  const CodePage& code_page,
                                  UrlCharset charset);

// Asks the top-level window to navigate to BuildMailtoAddress, held to the
// environment's address limit. True when the browser accepts it; false when
// it refuses, there is no window, or the address would be too long (the
// mail program takes longer texts).
bool MailByBrowser(const MailTemplates& mail, RequestContext& context,
                   const CodePage& code_page,
                   UrlCharset charset = UrlCharset::kWindows1252);

// The message for the mail program: the templates expanded without encoding
// and converted to 8-bit text; one recipient each for to, cc and bcc (in
// that order, classes kTo, kCc, kBcc) whose expansion is not empty, the
// whole expansion as its address, never split at "," or ";"; the subject
// and the note set only when their templates are not empty. Returns false
// as soon as one field's expansion would be longer than `limit` UTF-16 code
// units; *message is then incomplete.
bool BuildMapiMessage(const MailTemplates& mail, RequestContext& context,
                      const CodePage& code_page, std::size_t limit,
                      MailMessage* message);
// The same without a limit.
MailMessage BuildMapiMessage(const MailTemplates& mail, RequestContext& context,
                             const CodePage& code_page);

enum class MapiOutcome {
  kTaken,          // the program took the message, or the user closed it
  kNoMailProgram,  // no mail program, or it reported another error
  kFieldTooLong,   // a field over the environment's mail_field limit
};

// Offers BuildMapiMessage, held to the environment's mail field limit, in
// the mail program's compose window; a message with a field too long is
// not offered.
MapiOutcome MailByMapi(const MailTemplates& mail, RequestContext& context,
                       const CodePage& code_page, Shell& shell);

}  // namespace qm
