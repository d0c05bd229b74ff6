#include "flows/command_dispatch.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "catalogue/catalogue_categories.h"
#include "strings/string_table.h"
#include "text/utf8.h"

namespace qm {
namespace {

std::vector<std::string> Words(std::span<const CommandWord> commands) {
  std::vector<std::string> words;
  for (const CommandWord& command : commands) words.push_back(ToUtf8(command.word));
  return words;
}

std::vector<std::string> Words(const std::array<const CommandWord*, 14>& commands) {
  std::vector<std::string> words;
  for (const CommandWord* command : commands) words.push_back(ToUtf8(command->word));
  return words;
}

// The two orders hosts show: the table's (compared, registered, listed by
// qmkit) and the extension's context menu.
TEST(CommandWordTable, TheCommandsInEachOrder) {
  EXPECT_EQ(Words(CommandWordTable()),
            (std::vector<std::string>{"CONFIG", "BOOK", "CONVERT", "CURRENCY", "EMAIL",
                                      "ISBN", "MOVIE", "MUSIC", "OTHER", "SEARCH", "STOCK",
                                      "TRANSLATE", "UPC", "URL"}));
  EXPECT_EQ(Words(CommandsInMenuOrder()),
            (std::vector<std::string>{"BOOK", "ISBN", "UPC", "MOVIE", "MUSIC", "SEARCH",
                                      "STOCK", "TRANSLATE", "URL", "EMAIL", "CURRENCY",
                                      "CONVERT", "OTHER", "CONFIG"}));
  for (const CommandWord& command : CommandWordTable()) {
    EXPECT_EQ(FindCommand(command.word), &command);
  }
}

// Every row names texts of its own, and every catalogue category is read
// by exactly one command.
TEST(CommandWordTable, EachRowNamesItsTextsAndCategory) {
  std::set<std::u16string_view> menu_texts;
  std::set<std::u16string_view> status_texts;
  std::multiset<std::string_view> categories;
  for (const CommandWord& command : CommandWordTable()) {
    SCOPED_TRACE(ToUtf8(command.word));
    const std::u16string_view menu_text = LoadText(command.menu_text);
    EXPECT_TRUE(menu_text.starts_with(u"=>")) << ToUtf8(menu_text);
    EXPECT_FALSE(LoadText(command.status_text).empty());
    menu_texts.insert(menu_text);
    status_texts.insert(LoadText(command.status_text));
    ASSERT_NE(FindCatalogueCategory(command.category), nullptr);
    EXPECT_EQ(FindCatalogueCategory(command.category)->word, command.category);
    categories.insert(command.category);
    EXPECT_NE(*command.dialog.help_topic, '\0');
  }
  EXPECT_EQ(menu_texts.size(), CommandWordTable().size());
  EXPECT_EQ(status_texts.size(), CommandWordTable().size());
  for (const CatalogueCategory& category : CatalogueCategories()) {
    EXPECT_EQ(categories.count(category.word), 1u) << category.word;
  }
  EXPECT_EQ(categories.size(), CatalogueCategories().size());
}

}  // namespace
}  // namespace qm
