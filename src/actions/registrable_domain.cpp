#include "actions/registrable_domain.h"

#include <algorithm>
#include <array>
#include <string>

#include "actions/public_suffix_table.h"
#include "actions/punycode.h"

namespace qm {
namespace {

bool IsNumericAddress(std::u16string_view host) {
  return host.front() == u'[' || std::all_of(host.begin(), host.end(), [](char16_t c) {
           return c == u'.' || (c >= u'0' && c <= u'9');
         });
}

// The position just after the `count`-th dot from the end of `name`, or 0
// when it has fewer dots.
std::size_t StartOfLastLabels(std::u16string_view name, int count) {
  int dots = 0;
  for (std::size_t i = name.size(); i-- > 0;) {
    if (name[i] == u'.' && ++dots == count) return i + 1;
  }
  return 0;
}

// No label of a host name, and so of a rule, is longer.
constexpr std::size_t kMaxLabelChars = 63;

// The last labels of a host in the table's form, held without allocating:
// at most as many labels as the longest rule has, each of at most 63
// characters, dots between.
class LookupKey {
 public:
  // Appends `label`: ASCII folded to lower case, a label beyond ASCII as
  // "xn--" and its punycode. A label that has no such form of 63
  // characters or fewer (a lone surrogate, a label too long for a host)
  // becomes "#", which no rule holds.
  void AppendLabel(std::u16string_view label) {
    const auto fold = [](char16_t c) {
      return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
    };
    if (std::all_of(label.begin(), label.end(), [](char16_t c) { return c < 0x80; })) {
      if (label.size() > kMaxLabelChars) return Append("#");
      for (const char16_t c : label) chars_[size_++] = static_cast<char>(fold(c));
      return;
    }
    std::u16string folded(label);
    for (char16_t& c : folded) c = fold(c);
    std::string ascii = "xn--";
    if (!EncodePunycode(folded, &ascii) || ascii.size() > kMaxLabelChars) return Append("#");
    Append(ascii);
  }
  void AppendDot() { chars_[size_++] = '.'; }
  std::string_view view() const { return std::string_view(chars_.data(), size_); }

 private:
  void Append(std::string_view text) {
    std::copy(text.begin(), text.end(), chars_.begin() + size_);
    size_ += text.size();
  }
  std::array<char, kPublicSuffixMaxRuleLabels * (kMaxLabelChars + 1)> chars_;
  std::size_t size_ = 0;
};

}  // namespace

int PublicSuffixLabelCount(std::string_view name) {
  const PublicSuffixTable table = ThePublicSuffixTable();
  const int labels = static_cast<int>(std::count(name.begin(), name.end(), '.')) + 1;
  // The longest match wins, an exception over all; a wildcard needs a label
  // to stand for its "*". Where no longer name ends in this one, the walk
  // is over.
  int suffix = 1;
  std::size_t start = name.size();
  for (int k = 1; k <= std::min(labels, kPublicSuffixMaxRuleLabels); ++k) {
    const std::size_t dot = start == 0 ? name.npos : name.rfind('.', start - 1);
    start = dot == name.npos ? 0 : dot + 1;
    const unsigned kinds = table.KindsOf(name.substr(start));
    if (kinds & kPublicSuffixException) return k - 1;
    if (kinds & kPublicSuffixName) suffix = std::max(suffix, k);
    if ((kinds & kPublicSuffixWildcard) && labels > k) suffix = std::max(suffix, k + 1);
    if (dot == name.npos || !(kinds & kPublicSuffixHasLonger)) break;
    start = dot;
  }
  return suffix;
}

std::u16string RegistrableDomain(std::u16string_view host) {
  if (host.empty() || IsNumericAddress(host)) return std::u16string(host);
  std::u16string_view name = host;
  if (name.back() == u'.') name.remove_suffix(1);
  if (name.find(u'.') == name.npos) return std::u16string(host);

  // Only the last few labels can match a rule; their lookup form is built
  // once, so a long host costs little more than a short one.
  const std::size_t tail = StartOfLastLabels(name, kPublicSuffixMaxRuleLabels);
  LookupKey key;
  for (std::size_t from = tail;;) {
    const std::size_t dot = name.find(u'.', from);
    key.AppendLabel(name.substr(from, dot == name.npos ? name.npos : dot - from));
    if (dot == name.npos) break;
    key.AppendDot();
    from = dot + 1;
  }
  // A wildcard's name is shorter than the longest rule, so a key cut to
  // that many labels still shows a label for its "*" whenever the host has
  // one. With no label before the suffix and one more, the host is its own
  // registrable domain or a public suffix: whole, either way.
  const std::size_t start = StartOfLastLabels(name, PublicSuffixLabelCount(key.view()) + 1);
  return std::u16string(host.substr(start));
}

}  // namespace qm
