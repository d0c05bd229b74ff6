#include "actions/window_features.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "text/number_scan.h"

namespace qm {
namespace {

// The item for a number already worked out in pixels.
std::string Item(std::string_view prefix, std::uint64_t pixels) {
  std::string item(prefix);
  item += std::to_string(pixels);
  return item;
}

std::string_view Flag(bool on) { return on ? "1" : "0"; }

// (step * index) modulo `span`, and 0 for an empty span.
std::uint64_t Cascade(std::int64_t step, std::size_t index, int span) {
  if (span <= 0 || step <= 0) return 0;
  const auto s = static_cast<std::uint64_t>(span);
  return (static_cast<std::uint64_t>(step) % s) * (index % s) % s;
}

// The value as a float, as "%f" stores it; out of range gives an infinity.
float ToFloat(double value) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (value > kMax) return std::numeric_limits<float>::infinity();
  if (value < -kMax) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

// a * b rounded to float. The store makes x87 builds round too; they would
// otherwise carry the product on in extended precision.
double FloatProduct(float a, float b) {
  volatile float product = a * b;
  return product;
}

}  // namespace

std::string ComposeExtent(std::string_view prefix, std::string_view value,
                          int available) {
  if (value.empty()) return {};
  double scanned = 0;
  std::size_t consumed = 0;
  if (!ScanDouble(value, &scanned, &consumed)) return {};
  const bool percent = consumed < value.size() && value[consumed] == '%';
  if (consumed < value.size() && !percent) return {};

  if (available < 0) available = 0;
  // The value is a float and the percentage is worked out as
  // available * p * 0.01 with the first product in float, so "33.3%" of
  // 1000 is 333 and not the 332 that double arithmetic gives.
  const float number = ToFloat(scanned);
  const float whole = static_cast<float>(available);
  double pixels = 0;
  if (percent) {
    pixels = number >= 0 ? FloatProduct(whole, number) * 0.01
                         : available - FloatProduct(whole, -number) * 0.01;
  } else {
    pixels = number >= 0 ? number : whole + number;
  }
  if (!(pixels > 0)) return Item(prefix, 0);  // NaN too
  if (pixels >= available) return Item(prefix, static_cast<std::uint64_t>(available));
  return Item(prefix, static_cast<std::uint64_t>(std::trunc(pixels)));
}

std::string ComposeWindowFeatures(const SiteEntry& entry,
                                  const RequestContext& context,
                                  std::size_t index) {
  const int width = context.availWidth();
  const int height = context.availHeight();
  std::string height_item = ComposeExtent(",height=", entry.height, height);
  std::string left_item = ComposeExtent(",left=", entry.left, width);
  std::string top_item = ComposeExtent(",top=", entry.top, height);
  std::string width_item = ComposeExtent(",width=", entry.width, width);
  if (height_item.empty() && left_item.empty() && top_item.empty() &&
      width_item.empty()) {
    const ModuleEnvironment::WindowMetrics metrics =
        context.environment().DesktopWindowMetrics();
    height_item = ComposeExtent(",height=", "75%", height);
    width_item = ComposeExtent(",width=", "75%", width);
    left_item = Item(",left=",
                     Cascade(std::int64_t{metrics.frame_width} + metrics.scroll_bar_width,
                             index, width / 5));
    top_item = Item(",top=",
                    Cascade(std::int64_t{metrics.frame_height} + metrics.menu_height,
                            index, height / 3));
  }

  std::string features = "channelmode=0";
  const auto add = [&features](std::string_view key, std::string_view value) {
    features += key;
    features += value;
  };
  add(",directories=", Flag(entry.directories));
  add(",fullscreen=", Flag(entry.fullScreen));
  features += height_item;
  features += left_item;
  add(",location=", Flag(entry.location));
  add(",menubar=", Flag(entry.menuBar));
  add(",resizable=", Flag(entry.resizable));
  add(",scrollbars=", Flag(entry.scrollBars));
  add(",status=", Flag(entry.status));
  add(",titlebar=", Flag(entry.titleBar));
  add(",toolbar=", Flag(entry.toolBar));
  features += top_item;
  features += width_item;
  return features;
}

}  // namespace qm
