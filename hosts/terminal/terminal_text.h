// Text from a page on its way to a terminal. A page's text may carry
// control characters that a terminal would obey (ESC starts an escape
// sequence that can rewrite the screen or the window title); they are shown
// as escapes instead.
#pragma once

#include <string>
#include <string_view>

namespace qm {

// `utf8` with every control character a terminal obeys written as "\xHH"
// (C0 controls, DEL) or "\u00HH" (C1 controls, U+0080 to U+009F). Tabs
// are kept, and line breaks too when `keep_line_breaks`. The text is for
// people to read: a backslash stays as it is.
// Example: "a\x1b]0;x\x07" -> "a\\x1b]0;x\\x07".
std::string TerminalSafe(std::string_view utf8, bool keep_line_breaks);

}  // namespace qm
