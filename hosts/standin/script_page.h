// The script inside a menu entry's page, which the stand-in hands to the
// script engine.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qm::standin {

// The script between the first <SCRIPT ...> and the </SCRIPT> after it,
// tags matched without regard to case; none when either tag is missing.
std::optional<std::string> ScriptOfPage(std::string_view page);

}  // namespace qm::standin
