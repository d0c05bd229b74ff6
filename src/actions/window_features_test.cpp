#include "actions/window_features.h"

#include <gtest/gtest.h>

#include "actions/action_test_page.h"

namespace qm {
namespace {

TEST(ComposeExtent, Values) {
  const struct {
    const char* value;
    int available;
    const char* item;
  } cases[] = {
      {"50%", 1280, ",x=640"}, {"100%", 1024, ",x=1024"}, {"-50%", 1280, ",x=640"},
      {"0", 1024, ",x=0"}, {"-100", 1280, ",x=1180"}, {" 7.9", 1280, ",x=7"},
      // The first product in single precision: 1000 * 33.3f is 33300.
      {"33.3%", 1000, ",x=333"}, {"99.9%", 1000, ",x=999"},
      {"50%px", 1280, ",x=640"},  // "%f%c" looks at one character only
      // Clamped to the screen, infinities and empty screens included.
      {"2000", 1280, ",x=1280"}, {"150%", 1280, ",x=1280"}, {"-2000", 1280, ",x=0"},
      {"-150%", 1280, ",x=0"}, {"1e999", 1280, ",x=1280"}, {"-1e999", 1280, ",x=0"},
      {"1e999%", 0, ",x=0"}, {"50%", -5, ",x=0"},
      // Nothing: no number, or something other than "%" after it.
      {"", 1280, ""}, {"10cm", 1280, ""}, {"50 %", 1280, ""}, {"%", 1280, ""},
      {"0x10", 1280, ""}, {"inf", 1280, ""}, {"nan", 1280, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ComposeExtent(",x=", c.value, c.available), c.item) << c.value;
  }
}

TEST(ComposeWindowFeatures, DefaultGeometryAndCascade) {
  ActionTestPage page;
  SiteEntry entry;
  const auto features = [&](std::size_t index) {
    return ComposeWindowFeatures(entry, *page.Context(), index);
  };
  EXPECT_EQ(features(0),
            "channelmode=0,directories=1,fullscreen=0,height=768,left=0,location=1,"
            "menubar=1,resizable=1,scrollbars=1,status=1,titlebar=1,toolbar=1,"
            "top=0,width=960");
  // Steps of frame + scroll bar and frame + menu bar, wrapping within a
  // fifth of the width (256) and a third of the height (341).
  page.env.SetWindowMetrics({8, 6, 20, 30});
  EXPECT_NE(features(2).find(",left=56,location=1,"), std::string::npos);
  EXPECT_NE(features(2).find(",top=72,"), std::string::npos);
  EXPECT_NE(features(10).find(",left=24,"), std::string::npos);  // 280 % 256
  EXPECT_NE(features(10).find(",top=19,"), std::string::npos);   // 360 % 341
  // Unusable values count as none.
  entry.width = "10cm";
  EXPECT_NE(features(0).find(",height=768,left=0,"), std::string::npos);
  // A fifth or a third of 0: the cascade stays in the corner.
  page.top->screen = std::make_pair(4, 2);
  EXPECT_NE(features(3).find(",height=1,left=0,"), std::string::npos);
  EXPECT_NE(features(3).find(",top=0,width=3"), std::string::npos);
}

TEST(ComposeWindowFeatures, EntryGeometryAndFlags) {
  ActionTestPage page;
  SiteEntry entry;
  entry.width = "50%";
  entry.height = "100%";
  entry.left = "-50%";
  entry.top = "0";
  EXPECT_EQ(ComposeWindowFeatures(entry, *page.Context(), 4),
            "channelmode=0,directories=1,fullscreen=0,height=1024,left=640,"
            "location=1,menubar=1,resizable=1,scrollbars=1,status=1,"
            "titlebar=1,toolbar=1,top=0,width=640");
  // One usable value: the others are left out.
  entry = SiteEntry();
  entry.width = "2000";
  entry.left = "10cm";
  entry.directories = entry.location = entry.menuBar = entry.resizable =
      entry.scrollBars = entry.status = entry.titleBar = entry.toolBar = false;
  entry.fullScreen = true;
  EXPECT_EQ(ComposeWindowFeatures(entry, *page.Context(), 1),
            "channelmode=0,directories=0,fullscreen=1,location=0,menubar=0,"
            "resizable=0,scrollbars=0,status=0,titlebar=0,toolbar=0,width=1280");
}

}  // namespace
}  // namespace qm
