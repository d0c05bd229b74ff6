#include "strings/string_table.h"

#include <algorithm>
#include <array>

namespace qm {
namespace {

// Generated from resources/strings.txt, in the file's order.
constexpr auto kStrings = std::to_array<StringTableEntry>({
#include "string_table_entries.inc"
});

// Fails the build when resources/strings.txt lists an id out of order or
// twice: lookups search the table by id.
static_assert(std::adjacent_find(kStrings.begin(), kStrings.end(),
                                 [](const StringTableEntry& a,
                                    const StringTableEntry& b) {
                                   return a.id >= b.id;
                                 }) == kStrings.end(),
              "string ids must ascend strictly");

}  // namespace

std::u16string_view LoadText(int id) {
  const auto it = std::lower_bound(
      kStrings.begin(), kStrings.end(), id,
      [](const StringTableEntry& e, int wanted) { return e.id < wanted; });
  if (it != kStrings.end() && it->id == id) return it->text;
  return {};
}

std::u16string LoadLabel(int id) {
  std::u16string label(LoadText(id));
  std::erase(label, u'&');
  return label;
}

const StringTableEntry* StringTableBegin() { return kStrings.data(); }
const StringTableEntry* StringTableEnd() { return kStrings.data() + kStrings.size(); }

MessageResult ShowStringMessage(Desktop& desktop, WindowHandle owner,
                                int text_id, int caption_id,
                                MessageStyle style) {
  return desktop.ShowMessage(owner, std::u16string(LoadText(text_id)),
                             std::u16string(LoadText(caption_id)), style);
}

}  // namespace qm
