#include "script_page.h"

#include "folded_search.h"

namespace qm::standin {

std::optional<std::string> ScriptOfPage(std::string_view page) {
  const std::size_t open = FindFolded(page, std::string_view("<script"));
  if (open == std::string_view::npos) return std::nullopt;
  const std::size_t open_end = page.find('>', open);
  if (open_end == std::string_view::npos) return std::nullopt;
  const std::size_t close = FindFolded(page, std::string_view("</script"), open_end + 1);
  if (close == std::string_view::npos) return std::nullopt;
  return std::string(page.substr(open_end + 1, close - open_end - 1));
}

}  // namespace qm::standin
