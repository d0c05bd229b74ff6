#include "menu_entries.h"

#include <gtest/gtest.h>

namespace qm::standin {
namespace {

TEST(EntriesFor, OffersAnEntryWhereItsContextsBitIsSet) {
  const std::vector<MenuEntry> entries = {
      {L"everywhere", L"", 0x31}, {L"page", L"", 0x01}, {L"text", L"", 0x10},
      {L"link", L"", 0x20},       {L"image", L"", 0x02},
  };
  auto texts = [&](MenuContext context) {
    std::vector<std::wstring> offered;
    for (const MenuEntry& entry : EntriesFor(entries, context)) offered.push_back(entry.text);
    return offered;
  };
  using Texts = std::vector<std::wstring>;
  EXPECT_EQ(texts(MenuContext::kDefault), (Texts{L"everywhere", L"page"}));
  EXPECT_EQ(texts(MenuContext::kSelection), (Texts{L"everywhere", L"text"}));
  EXPECT_EQ(texts(MenuContext::kAnchor), (Texts{L"everywhere", L"link"}));
}

}  // namespace
}  // namespace qm::standin
