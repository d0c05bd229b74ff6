// The markup by which a followed link goes into a page of the IE document
// model, which takes new elements at the end of a body only as HTML
// (insertAdjacentHTML).
#pragma once

#include <string>

#include "host/browser_window.h"

namespace qm {

// `link` as one anchor, every value written with & < > " and ' as character
// references, so that no value can end its attribute or add markup:
//   {u"QMKIT7587", u"https://t.example/?a=1&b=2", u"_top", u"TRANSLATE"}
//   -> <A ID="QMKIT7587" HREF="https://t.example/?a=1&amp;b=2"
//      TARGET="_top">TRANSLATE</A>        (one line)
std::u16string AnchorMarkup(const FollowedLink& link);

}  // namespace qm
