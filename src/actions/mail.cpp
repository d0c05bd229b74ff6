#include "actions/mail.h"

#include <algorithm>
#include <array>
#include <utility>

#include "actions/template_expansion.h"
#include "strings/string_table.h"

namespace qm {

MailTemplates MailTemplatesOf(const SiteEntry& entry) {
  return {entry.MailTo, entry.MailCC, entry.MailBCC, entry.MailSubject,
          entry.MailBody};
}

bool BuildMailtoAddress(const MailTemplates& mail, RequestContext& context,
                        const CodePage& code_page, UrlCharset charset,
                        std::size_t limit, std::u16string* address) {
  *address = u"mailto:";
  std::u16string value;
  // Each field is held to what is left of the limit, so the whole address
  // never grows past it.
  const auto append = [&](std::u16string_view key, std::string_view tmpl) {
    if (key.size() > limit - std::min(limit, address->size())) return false;
    address->append(key);
    if (!ExpandTemplateWithin(tmpl, context, code_page, ValueEncoding::kPercent, charset,
                              limit - address->size(), &value)) {
      return false;
    }
    address->append(value);
    return true;
  };
  bool fits = address->size() <= limit && (mail.to.empty() || append(u"", mail.to));
  const std::array<std::pair<std::u16string_view, std::string_view>, 4> fields = {{
      {u"?cc=", mail.cc},
      {u"?bcc=", mail.bcc},
      {u"?subject=", mail.subject},
      {u"?body=", mail.body},
  }};
  bool first = true;
  for (const auto& [key, tmpl] : fields) {
    if (!fits) break;
    if (tmpl.empty()) continue;
    // "?" before the first field, "&" before the others.
    std::u16string separated(key);
    if (!first) separated.front() = u'&';
    first = false;
    fits = append(separated, tmpl);
  }
  if (!fits) address->clear();
  return fits;
}

std::u16string BuildMailtoAddress(const MailTemplates& mail,
                                  RequestContext& context,
                                  const CodePage& code_page,
                                  UrlCharset charset) {
  std::u16string address;
  BuildMailtoAddress(mail, context, code_page, charset, std::u16string::npos, &address);
  return address;
}

bool MailByBrowser(const MailTemplates& mail, RequestContext& context,
                   const CodePage& code_page, UrlCharset charset) {
  const std::shared_ptr<BrowserWindow>& top = context.topWindow();
  if (!top) return false;
  std::u16string address;
  if (!BuildMailtoAddress(mail, context, code_page, charset,
                          context.environment().ExpansionLimits().address, &address)) {
    return false;
  }
  return top->Navigate(address);
}

bool BuildMapiMessage(const MailTemplates& mail, RequestContext& context,
                      const CodePage& code_page, std::size_t limit,
                      MailMessage* message) {
  std::u16string wide;
  const auto expand = [&](std::string_view tmpl, std::string* narrow) {
    if (!ExpandTemplateWithin(tmpl, context, code_page, ValueEncoding::kNone,
                              UrlCharset::kWindows1252, limit, &wide)) {
      return false;
    }
    *narrow = code_page.ToNarrow(wide);
    return true;
  };
  *message = MailMessage();
  const std::array<std::pair<MailRecipient::Kind, std::string_view>, 3>
      recipients = {{
          {MailRecipient::Kind::kTo, mail.to},
          {MailRecipient::Kind::kCc, mail.cc},
          {MailRecipient::Kind::kBcc, mail.bcc},
      }};
  for (const auto& [kind, tmpl] : recipients) {
    std::string address;
    if (!expand(tmpl, &address)) return false;
    if (!address.empty()) message->recipients.push_back({kind, std::move(address)});
  }
  if (!mail.subject.empty()) {
    message->has_subject = true;
    if (!expand(mail.subject, &message->subject)) return false;
  }
  if (!mail.body.empty()) {
    message->has_note = true;
    if (!expand(mail.body, &message->note)) return false;
  }
  return true;
}

MailMessage BuildMapiMessage(const MailTemplates& mail, RequestContext& context,
                             const CodePage& code_page) {
  MailMessage message;
  BuildMapiMessage(mail, context, code_page, std::u16string::npos, &message);
  return message;
}

MapiOutcome MailByMapi(const MailTemplates& mail, RequestContext& context,
                       const CodePage& code_page, Shell& shell) {
  MailMessage message;
  if (!BuildMapiMessage(mail, context, code_page,
                        context.environment().ExpansionLimits().mail_field, &message)) {
    return MapiOutcome::kFieldTooLong;
  }
  switch (shell.SendMail(message)) {
    case MailResult::kSent:
    case MailResult::kUserAbort:
      return MapiOutcome::kTaken;
    case MailResult::kUnavailable:
    case MailResult::kFailed:
      break;
  }
  return MapiOutcome::kNoMailProgram;
}

void SendEntryMail(const SiteEntry& entry, RequestContext& context,
                   const CodePage& code_page, Desktop& desktop, Shell& shell) {
  const MailTemplates mail = MailTemplatesOf(entry);
  if (MailByBrowser(mail, context, code_page, entry.charset)) return;
  switch (MailByMapi(mail, context, code_page, shell)) {
    case MapiOutcome::kTaken:
      return;
    case MapiOutcome::kFieldTooLong:
      ReportTooLong(entry, ExpandedText::kMailField,
                    context.environment().ExpansionLimits().mail_field, code_page,
                    desktop);
      return;
    case MapiOutcome::kNoMailProgram:
      break;
  }
  ShowStringMessage(desktop, 0, IDS_NO_MAIL_PROGRAM, IDS_PRODUCT_NAME,
                    MessageStyle{MessageIcon::kExclamation, MessageButtons::kOk});
}

}  // namespace qm
