// The stand-in's event log is a file of lines, one event to a line, that
// tests read back; page text goes into it.
#pragma once

#include <string>
#include <string_view>

namespace qm::standin {

// A text for one line of the log: control characters and backslashes are
// written as \xNN, so a page's text can never start a line of its own.
std::string LogText(std::wstring_view text);

}  // namespace qm::standin
