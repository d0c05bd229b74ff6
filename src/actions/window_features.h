// The features text of window.open for an entry's window: its flags, and its
// position and size from the entry's values or, when it gives none, a
// cascade that steps each further window of a run down and to the right.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "catalogue/site_entry.h"
#include "context/request_context.h"

namespace qm {

// One position or size item: `prefix` followed by a whole number of pixels,
// or an empty text. `value` is read as "%f%c" reads it: white space, a
// single-precision number, then one character, which decides:
//   none  n pixels; a negative n counts back from `available`
//   "%"   available * p * 0.01, the first product taken in single
//         precision; a negative p counts back from `available`. Whatever
//         follows the "%" is not looked at.
// Anything else (empty, no number, a number followed by another character,
// a space included) gives an empty text. The result is truncated towards
// zero and clamped to 0..available; a negative `available` counts as 0.
//   ComposeExtent(",width=", "50%", 1280)   == ",width=640"
//   ComposeExtent(",left=", "-50%", 1280)   == ",left=640"
//   ComposeExtent(",left=", "-100", 1280)   == ",left=1180"
//   ComposeExtent(",width=", "33.3%", 1000) == ",width=333"
//   ComposeExtent(",width=", "10cm", 1280)  == ""
std::string ComposeExtent(std::string_view prefix, std::string_view value,
                          int available);

// The features text of `entry`'s window, the `index`-th chosen entry of the
// run (0 for the first). The items are in alphabetical order; flags are "1"
// or "0"; width and left are measured against the context's available
// width, height and top against its available height. When the entry gives
// no position or size at all, the window is three quarters of the available
// height and width, and is cascaded: left is
// (frame width + scroll bar width) * index modulo a fifth of the available
// width, top is (frame height + menu height) * index modulo a third of the
// available height, both 0 when that fifth or third is 0. The sizes come
// from the environment's DesktopWindowMetrics.
//   nothing set, index 0, 1280 x 1024:
//   "channelmode=0,directories=1,fullscreen=0,height=768,left=0,location=1,"
//   "menubar=1,resizable=1,scrollbars=1,status=1,titlebar=1,toolbar=1,"
//   "top=0,width=960"
std::string ComposeWindowFeatures(const SiteEntry& entry,
                                  const RequestContext& context,
                                  std::size_t index);

}  // namespace qm
