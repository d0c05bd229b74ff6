#include "screen_list.h"

#include <algorithm>
#include <cwctype>

namespace qm {
namespace {

struct Move {
  ScreenKey::Code key;
  // The line to go to; may fall outside the list, which keeps it inside.
  long (*to)(long at, long count, long page);
};

constexpr Move kMoves[] = {
    {ScreenKey::kUp, [](long at, long, long) { return at - 1; }},
    {ScreenKey::kDown, [](long at, long, long) { return at + 1; }},
    {ScreenKey::kHome, [](long, long, long) { return 0L; }},
    {ScreenKey::kEnd, [](long, long count, long) { return count - 1; }},
    {ScreenKey::kPageUp, [](long at, long, long page) { return at - page; }},
    {ScreenKey::kPageDown, [](long at, long, long page) { return at + page; }},
};

std::wstring Folded(std::wstring_view text) {
  std::wstring folded(text);
  for (wchar_t& c : folded) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return folded;
}

}  // namespace

std::optional<std::size_t> HighlightAfter(ScreenKey key, std::optional<std::size_t> at,
                                          std::size_t count, std::size_t page) {
  if (count == 0) return std::nullopt;
  for (const Move& move : kMoves) {
    if (move.key != key.code) continue;
    // Without a highlight the keys that go down start above the first line.
    const long from = at ? static_cast<long>(*at) : -1;
    const long to = move.to(from, static_cast<long>(count),
                            std::max<long>(1, static_cast<long>(page) - 1));
    return static_cast<std::size_t>(std::clamp(to, 0L, static_cast<long>(count) - 1));
  }
  return std::nullopt;
}

std::optional<std::size_t> TypeAhead::Type(
    char32_t c, Clock::time_point now, std::optional<std::size_t> at, std::size_t count,
    const std::function<std::wstring(std::size_t)>& text_of) {
  if (now - typed_at_ > kPause) typed_.clear();
  typed_at_ = now;
  typed_.push_back(static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))));
  if (count == 0) return std::nullopt;
  const bool one_letter = std::all_of(typed_.begin(), typed_.end(),
                                      [&](wchar_t t) { return t == typed_[0]; });
  const std::wstring wanted = one_letter ? typed_.substr(0, 1) : typed_;
  // A longer word may still be the line under the highlight; one letter
  // goes on to the next line.
  const std::size_t first = one_letter ? 1 : 0;
  const std::size_t from = at ? *at : (first == 1 ? count - 1 : 0);
  for (std::size_t step = first; step < count + first; ++step) {
    const std::size_t line = (from + step) % count;
    if (Folded(text_of(line)).rfind(wanted, 0) == 0) return line;
  }
  return std::nullopt;
}

std::size_t ScrollTop(std::size_t line, std::size_t top, std::size_t height) {
  if (height == 0) return line;
  if (line < top) return line;
  if (line >= top + height) return line - height + 1;
  return top;
}

}  // namespace qm
