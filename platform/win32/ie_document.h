// The browser port's document, text range and element over the IE document
// object model (IHTMLDocument2 and what it leads to).
#pragma once

#include <memory>

#include "host/browser_window.h"

struct IHTMLDocument2;

namespace qm {

// An adapter that keeps its own reference to `document`; nullptr when
// `document` is null. May throw std::bad_alloc.
std::shared_ptr<BrowserDocument> MakeIeDocument(IHTMLDocument2* document);

}  // namespace qm
