#include "actions/navigation.h"

#include "actions/template_expansion.h"
#include "actions/window_features.h"
#include "text/widen.h"

namespace qm {

std::u16string EscapeHtmlAttribute(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (const char16_t c : text) {
    switch (c) {
      case u'&': out += u"&amp;"; break;
      case u'<': out += u"&lt;"; break;
      case u'>': out += u"&gt;"; break;
      case u'"': out += u"&quot;"; break;
      case u'\'': out += u"&#39;"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

void OpenUrlWindow(const SiteEntry& entry, RequestContext& context,
                   const CodePage& code_page, Desktop& desktop, Shell& shell,
                   std::size_t index) {
  std::u16string address;
  const std::size_t limit = context.environment().ExpansionLimits().address;
  if (!ExpandTemplateWithin(entry.url, context, code_page, UrlValueEncoding(entry),
                            entry.charset, limit, &address)) {
    ReportTooLong(entry, ExpandedText::kAddress, limit, code_page, desktop);
    return;
  }
  if (const std::shared_ptr<BrowserWindow>& top = context.topWindow()) {
    const std::shared_ptr<BrowserWindow> opened =
        top->Open(address, code_page.ToWide(entry.windowName),
                  WidenByValue(ComposeWindowFeatures(entry, context, index)));
    if (opened) {
      opened->BringToFront();
      return;
    }
  }
  shell.ShellOpen(code_page.ToNarrow(address));
}

void FollowHref(const SiteEntry& entry, RequestContext& context,
                const CodePage& code_page, Desktop& desktop) {
  const std::shared_ptr<BrowserWindow>& window = context.window();
  const std::shared_ptr<BrowserDocument> document =
      window ? window->Document() : nullptr;
  if (!document) {
    desktop.Beep(BeepKind::kExclamation);
    return;
  }
  std::u16string address;
  const std::size_t limit = context.environment().ExpansionLimits().address;
  if (!ExpandTemplateWithin(entry.href, context, code_page, UrlValueEncoding(entry),
                            entry.charset, limit, &address)) {
    ReportTooLong(entry, ExpandedText::kAddress, limit, code_page, desktop);
    return;
  }
  std::u16string html = u"<A ID=\"";
  html += kFollowAnchorId;
  html += u"\" HREF=\"";
  html += EscapeHtmlAttribute(address);
  html += u"\" TARGET=\"";
  html += EscapeHtmlAttribute(code_page.ToWide(entry.windowName));
  html += u"\">";
  html += kFollowAnchorText;
  html += u"</A>";
  // The anchor of an earlier href entry would be found first by its id and
  // send this entry to that entry's address.
  const std::u16string id(kFollowAnchorId);
  if (!document->RemoveElements(id) || !document->InsertIntoBody(html) ||
      !document->ClickAnchor(id)) {
    desktop.Beep(BeepKind::kExclamation);
  }
}

}  // namespace qm
