// Arbitrary bytes as a catalogue for the linter. The first byte sets how
// many findings of a kind are shown (0 to 7); the rest is the text. Checked:
// findings lie within the text's lines and come in line order; with the
// quota, exactly the first findings of each kind of the unlimited run come
// out, and the counts add up; a file that begins with the UTF-8 mark opens
// with the note that says so. Any crash, hang or broken invariant is a
// finding.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue_lint.h"
#include "text/windows_1252.h"

namespace {

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "catalogue lint invariant broken: %s\n", what);
  std::abort();
}

// Lines as the linter counts them: CR, LF and CR LF each end one; a last
// line without an end counts too.
std::size_t CountLines(std::string_view text) {
  std::size_t lines = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || text[i] == '\r') {
      ++lines;
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
  }
  if (!text.empty() && text.back() != '\n' && text.back() != '\r') ++lines;
  return lines;
}

constexpr std::size_t kKinds = static_cast<std::size_t>(qm::LintKind::kUnitDefinesNothing) + 1;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t quota = data[0] % 8;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const qm::Windows1252CodePage code_page;

  std::vector<qm::LintFinding> all;
  const qm::LintTally whole = qm::LintCatalogue(
      text, code_page, static_cast<std::size_t>(-1),
      [&](const qm::LintFinding& f) { all.push_back(f); });
  Require(whole.omitted.empty(), "nothing is left out without a quota");
  Require(whole.errors + whole.warnings + whole.notes == all.size(),
          "every finding is counted once");
  // The mark's three bytes are one character, so the lines stay the same.
  const std::size_t lines = CountLines(text);
  for (std::size_t k = 0; k < all.size(); ++k) {
    const qm::LintFinding& f = all[k];
    Require(f.line >= 1 && f.line <= std::max<std::size_t>(lines, 1), "a line of the text");
    Require(k == 0 || all[k - 1].line <= f.line, "findings in line order");
    Require(!f.message.empty(), "a finding says something");
    Require(*qm::LintKindName(f.kind) != '\0', "a kind has a name");
  }
  const bool mark = text.starts_with("\xEF\xBB\xBF");
  Require(!mark || (!all.empty() && all[0].kind == qm::LintKind::kUtf8Catalogue &&
                    all[0].severity == qm::LintSeverity::kNote),
          "a UTF-8 file is noted first");
  for (const qm::LintFinding& f : all) {
    Require(mark || f.kind != qm::LintKind::kUtf8Catalogue,
            "the UTF-8 note only for a file with the mark");
    Require(!mark || f.kind != qm::LintKind::kLooksLikeUtf8,
            "a UTF-8 file is not searched for stray UTF-8");
  }

  // With the quota: the first `quota` of each kind, in the same order.
  std::vector<qm::LintFinding> expected;
  std::array<std::size_t, kKinds> seen{};
  std::array<std::size_t, kKinds> first_left_out{};
  for (const qm::LintFinding& f : all) {
    const auto kind = static_cast<std::size_t>(f.kind);
    if (seen[kind]++ < quota) {
      expected.push_back(f);
    } else if (seen[kind] == quota + 1) {
      first_left_out[kind] = f.line;
    }
  }
  std::vector<qm::LintFinding> shown;
  const qm::LintTally tally = qm::LintCatalogue(
      text, code_page, quota, [&](const qm::LintFinding& f) { shown.push_back(f); });
  Require(tally.errors == whole.errors && tally.warnings == whole.warnings &&
              tally.notes == whole.notes,
          "a quota changes no count");
  Require(shown.size() == expected.size(), "as many shown as the quota lets through");
  for (std::size_t k = 0; k < shown.size(); ++k) {
    Require(shown[k].line == expected[k].line && shown[k].kind == expected[k].kind &&
                shown[k].severity == expected[k].severity &&
                shown[k].message == expected[k].message,
            "the first findings of each kind are shown");
  }
  std::size_t omitted = 0;
  std::size_t previous_kind = 0;
  for (std::size_t k = 0; k < tally.omitted.size(); ++k) {
    const qm::LintOmission& o = tally.omitted[k];
    const auto kind = static_cast<std::size_t>(o.kind);
    Require(k == 0 || kind > previous_kind, "omissions in the order of the kinds");
    previous_kind = kind;
    Require(o.count == seen[kind] - quota, "the count of what was left out");
    Require(o.first_line == first_left_out[kind], "where the left-out ones begin");
    omitted += o.count;
  }
  Require(shown.size() + omitted == all.size(), "shown and left out make the whole");
  return 0;
}
