#include "context/request_context.h"

#include "context/address_host.h"
#include "text/char_class.h"

namespace qm {
namespace {

// Stores a read that succeeded with a non-empty text; anything else leaves
// the field as it was.
void Keep(std::optional<std::u16string> read, std::u16string& field) {
  if (read && !read->empty()) field = std::move(*read);
}

}  // namespace

std::u16string RequestContext::NormalisedSelection() const {
  std::u16string tidy;
  tidy.reserve(selectedText_.size());
  bool space_pending = false;
  bool at_start = true;
  for (const char16_t c : selectedText_) {
    if (IsWideSpace(c)) {
      space_pending = true;
      continue;
    }
    if (space_pending && !at_start) tidy.push_back(u' ');
    space_pending = false;
    at_start = false;
    tidy.push_back(c);
  }
  return tidy;
}

void RequestContext::SetPageAddress(const std::u16string& address) {
  pageHref_ = address;
  topHref_ = address;
  pageHost_ = HostOfAddress(address);
  topHost_ = pageHost_;
}

bool BuildRequestContext(RequestContext& context, MenuArguments* arguments) {
  if (arguments == nullptr) return false;
  context.window_ = arguments->Window();
  if (!context.window_) return false;
  context.topWindow_ = context.window_->Top();
  if (!context.topWindow_) return false;

  context.browserWindow_ = arguments->BrowserFrame();

  int width = 0;
  int height = 0;
  if (context.topWindow_->ScreenAvailSize(&width, &height) ||
      context.environment_->PrimaryWorkArea(&width, &height)) {
    context.availWidth_ = width;
    context.availHeight_ = height;
  }

  BrowserWindow& page = *context.window_;
  BrowserWindow& top = *context.topWindow_;
  Keep(page.Name(), context.pageName_);
  Keep(top.Name(), context.topName_);
  Keep(page.LocationHref(), context.pageHref_);
  Keep(top.LocationHref(), context.topHref_);
  Keep(page.LocationHostname(), context.pageHost_);
  Keep(top.LocationHostname(), context.topHost_);
  if (const auto document = page.Document()) Keep(document->Title(), context.pageTitle_);
  if (const auto document = top.Document()) Keep(document->Title(), context.topTitle_);

  const std::optional<MenuLink> link = arguments->LinkUnderMenu();
  if (link) context.linkHref_ = link->address;

  const std::shared_ptr<BrowserDocument> document = page.Document();
  if (document) {
    if (const auto range = document->SelectionRange()) {
      Keep(range->Text(), context.selectedText_);
      Keep(range->HtmlText(), context.selectedHtml_);
    }
  }
  // With nothing selected, the link the menu was opened on stands in for
  // the selection: the person pointed at it, whatever has the focus.
  if (link) {
    if (context.selectedHtml_.empty()) Keep(link->html, context.selectedHtml_);
    if (context.selectedText_.empty()) Keep(link->text, context.selectedText_);
    return true;
  }
  if (!document) return true;
  // Else a focused link or paragraph does. The browser reports tag names
  // in capitals.
  if (const auto element = document->ActiveElement()) {
    const std::optional<std::u16string> tag = element->TagName();
    if (tag && (*tag == u"A" || *tag == u"P")) {
      if (context.selectedHtml_.empty()) Keep(element->OuterHtml(), context.selectedHtml_);
      if (context.selectedText_.empty()) Keep(element->InnerText(), context.selectedText_);
    }
  }
  return true;
}

}  // namespace qm
