// Carrying out an entry in the browser: a url entry opens a window of its
// own, an href entry is followed through a link inserted into the page.
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

// The id of the anchor that FollowHref inserts, and its visible text.
inline constexpr std::u16string_view kFollowAnchorId = u"QMKIT7587";
inline constexpr std::u16string_view kFollowAnchorText = u"TRANSLATE";

// Opens the expansion of `entry.url` (encoded as URLEncode and charset say)
// with window.open on the top-level window, under the entry's windowName
// and with ComposeWindowFeatures for the `index`-th chosen entry of the run.
// A window that comes back is brought to the front; when none comes back,
// or there is no top-level window, the shell opens the address instead
// (converted to 8-bit text). Failures of the shell and of the focus change
// are silent. An address longer than the environment's ExpansionLimits
// allows opens nothing; ReportTooLong says so.
void OpenUrlWindow(const SiteEntry& entry, RequestContext& context,
                   const CodePage& code_page, Desktop& desktop, Shell& shell,
                   std::size_t index);

// Follows the expansion of `entry.href` in the target window `windowName`
// by inserting a link at the end of the body of the window the menu was
// opened in (the frame, not the top) and clicking it: the FollowedLink
// with the id kFollowAnchorId, the address, the window name as target and
// the text kFollowAnchorText. Address and name go as they are, never cut.
// Any earlier anchor with the id is removed first, so a second href entry
// of a run follows its own address. When the document cannot be changed or
// the anchor cannot be clicked, gives the exclamation beep; nothing else is
// reported. The anchor stays in the page. An address longer than the
// environment's ExpansionLimits allows is not followed (and the page not
// touched); ReportTooLong says so.
void FollowHref(const SiteEntry& entry, RequestContext& context,
                const CodePage& code_page, Desktop& desktop);

}  // namespace qm
