#include "actions/mail.h"

#include <array>

#include "actions/template_expansion.h"
#include "strings/string_table.h"

namespace qm {

MailTemplates MailTemplatesOf(const SiteEntry& entry) {
  return {entry.MailTo, entry.MailCC, entry.MailBCC, entry.MailSubject,
          entry.MailBody};
}

std::u16string BuildMailtoAddress(const MailTemplates& mail,
                                  RequestContext& context,
                                  const CodePage& code_page,
                                  UrlCharset charset) {
  const auto expand = [&](std::string_view tmpl) {
    return ExpandTemplate(tmpl, context, code_page, ValueEncoding::kPercent,
                          charset);
  };
  std::u16string address = u"mailto:";
  if (!mail.to.empty()) address += expand(mail.to);
  const std::array<std::pair<std::u16string_view, std::string_view>, 4> fields = {{
      {u"cc=", mail.cc},
      {u"bcc=", mail.bcc},
      {u"subject=", mail.subject},
      {u"body=", mail.body},
  }};
  bool first = true;
  for (const auto& [key, tmpl] : fields) {
    if (tmpl.empty()) continue;
    address += first ? u'?' : u'&';
    first = false;
    address += key;
    address += expand(tmpl);
  }
  return address;
}

bool MailByBrowser(const MailTemplates& mail, RequestContext& context,
                   const CodePage& code_page, UrlCharset charset) {
  const std::shared_ptr<BrowserWindow>& top = context.topWindow();
  if (!top) return false;
  return top->Navigate(BuildMailtoAddress(mail, context, code_page, charset));
}

MailMessage BuildMapiMessage(const MailTemplates& mail, RequestContext& context,
                             const CodePage& code_page) {
  const auto expand = [&](std::string_view tmpl) {
    return code_page.ToNarrow(
        ExpandTemplate(tmpl, context, code_page, ValueEncoding::kNone));
  };
  MailMessage message;
  const std::array<std::pair<MailRecipient::Kind, std::string_view>, 3>
      recipients = {{
          {MailRecipient::Kind::kTo, mail.to},
          {MailRecipient::Kind::kCc, mail.cc},
          {MailRecipient::Kind::kBcc, mail.bcc},
      }};
  for (const auto& [kind, tmpl] : recipients) {
    std::string address = expand(tmpl);
    if (!address.empty()) message.recipients.push_back({kind, std::move(address)});
  }
  if (!mail.subject.empty()) {
    message.has_subject = true;
    message.subject = expand(mail.subject);
  }
  if (!mail.body.empty()) {
    message.has_note = true;
    message.note = expand(mail.body);
  }
  return message;
}

bool MailByMapi(const MailTemplates& mail, RequestContext& context,
                const CodePage& code_page, Desktop& desktop) {
  switch (desktop.SendMail(BuildMapiMessage(mail, context, code_page))) {
    case MailResult::kSent:
    case MailResult::kUserAbort:
      return true;
    case MailResult::kUnavailable:
    case MailResult::kFailed:
      break;
  }
  return false;
}

void SendEntryMail(const SiteEntry& entry, RequestContext& context,
                   const CodePage& code_page, Desktop& desktop) {
  const MailTemplates mail = MailTemplatesOf(entry);
  if (MailByBrowser(mail, context, code_page, entry.charset)) return;
  if (MailByMapi(mail, context, code_page, desktop)) return;
  ShowStringMessage(desktop, 0, kStringNoMailProgram, kStringProductName,
                    MessageStyle{MessageIcon::kExclamation, MessageButtons::kOk});
}

}  // namespace qm
