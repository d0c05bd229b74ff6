#include "actions/navigation.h"

#include <utility>

#include "actions/template_expansion.h"
#include "actions/window_features.h"
#include "text/widen.h"

namespace qm {

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
  const FollowedLink link{std::u16string(kFollowAnchorId), std::move(address),
                          code_page.ToWide(entry.windowName),
                          std::u16string(kFollowAnchorText)};
  // The anchor of an earlier href entry would be found first by its id and
  // send this entry to that entry's address.
  if (!document->RemoveElements(link.id) || !document->InsertLink(link) ||
      !document->ClickAnchor(link.id)) {
    desktop.Beep(BeepKind::kExclamation);
  }
}

}  // namespace qm
