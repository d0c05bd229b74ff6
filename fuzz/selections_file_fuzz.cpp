// Parses arbitrary bytes as a remembered-selections file, writes it back and
// merges values into it, checking what a save relies on: the file comes back
// as it was, a merged name reads back with its value, and every other line
// stays untouched. The first byte chooses which merged values are only for
// absent names (bits 0 to 2); the rest is the file.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "file_selection_store.h"

namespace {

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "selections invariant broken: %s\n", what);
  std::abort();
}

// Folding and the value syntax written out again, so that a fault in the
// shared code cannot hide itself.
std::string Folded(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return out;
}

std::optional<std::uint32_t> ReferenceValue(std::string_view line,
                                            std::string* name) {
  const std::size_t tab = line.find('\t');
  if (tab == std::string_view::npos || tab == 0 || tab > 10 ||
      tab + 1 == line.size()) {
    return std::nullopt;
  }
  std::uint64_t v = 0;
  for (char c : line.substr(0, tab)) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (v > 0xFFFFFFFFu) return std::nullopt;
  *name = std::string(line.substr(tab + 1));
  return static_cast<std::uint32_t>(v);
}

// What a reader finds for `name`: the last value line of it.
std::optional<std::uint32_t> Lookup(const std::vector<qm::SelectionsLine>& lines,
                                    const std::string& name) {
  std::optional<std::uint32_t> found;
  for (const qm::SelectionsLine& line : lines) {
    if (line.value && Folded(line.name) == Folded(name)) found = line.value;
  }
  return found;
}

bool SameLine(const qm::SelectionsLine& a, const qm::SelectionsLine& b) {
  return a.text == b.text && a.crlf == b.crlf && a.value == b.value &&
         a.name == b.name;
}

bool SameLines(const std::vector<qm::SelectionsLine>& a,
               const std::vector<qm::SelectionsLine>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!SameLine(a[i], b[i])) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const unsigned flags = size == 0 ? 0 : data[0];
  const std::string_view bytes =
      size == 0 ? std::string_view()
                : std::string_view(reinterpret_cast<const char*>(data) + 1,
                                   size - 1);

  const std::vector<qm::SelectionsLine> lines = qm::ParseSelectionsFile(bytes);
  std::size_t newlines = 0;
  for (char c : bytes) newlines += c == '\n';
  Require(lines.size() == newlines + (bytes.empty() || bytes.back() == '\n' ? 0 : 1),
          "one line per line end, and one for an unended tail");
  for (const qm::SelectionsLine& line : lines) {
    Require(line.text.find('\n') == std::string::npos, "no LF inside a line");
    std::string name;
    const std::optional<std::uint32_t> value = ReferenceValue(line.text, &name);
    Require(line.value == value, "a value line is read as the reference reads it");
    Require(line.name == (value ? name : std::string()), "the name is the rest of the line");
  }

  const std::string formatted = qm::FormatSelectionsFile(lines);
  if (bytes.empty() || bytes.back() == '\n') {
    Require(formatted == bytes, "an ended file comes back byte for byte");
  }
  Require(SameLines(qm::ParseSelectionsFile(formatted), lines),
          "the written file reads as the one read");

  // Merge a changed value of the first name in other letter case, a new
  // name, and one for the last name.
  std::vector<qm::RememberedValue> values;
  const qm::SelectionsLine* first = nullptr;
  const qm::SelectionsLine* last = nullptr;
  for (const qm::SelectionsLine& line : lines) {
    if (!line.value) continue;
    if (first == nullptr) first = &line;
    last = &line;
  }
  if (first != nullptr) {
    std::string upper = first->name;
    for (char& c : upper) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    values.push_back({upper, 7, (flags & 1) != 0});
  }
  values.push_back({"FUZZ:New", 1, (flags & 2) != 0});
  if (last != nullptr) values.push_back({last->name, 0, (flags & 4) != 0});

  std::vector<qm::SelectionsLine> merged = lines;
  std::vector<std::optional<std::uint32_t>> expected;
  for (const qm::RememberedValue& v : values) {
    const std::optional<std::uint32_t> before = Lookup(merged, v.name);
    expected.push_back(v.only_if_absent && before ? before : v.value);
    qm::MergeIntoSelections(merged, v);
  }
  const std::vector<qm::SelectionsLine> reread =
      qm::ParseSelectionsFile(qm::FormatSelectionsFile(merged));
  Require(SameLines(reread, merged), "a merged file reads back as merged");
  for (std::size_t i = 0; i < values.size(); ++i) {
    // A later value of the same name decides.
    bool overridden = false;
    for (std::size_t j = i + 1; j < values.size(); ++j) {
      overridden |= Folded(values[j].name) == Folded(values[i].name);
    }
    if (!overridden) {
      Require(Lookup(reread, values[i].name) == expected[i],
              "a merged name reads back with its value");
    }
  }
  Require(reread.size() >= lines.size() && reread.size() <= lines.size() + 1,
          "only the new name adds a line");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    bool written = false;
    for (const qm::RememberedValue& v : values) {
      written |= lines[i].value && Folded(lines[i].name) == Folded(v.name);
    }
    if (!written) Require(SameLine(reread[i], lines[i]), "other lines stay as they were");
    Require(reread[i].crlf == lines[i].crlf, "every line keeps its line end");
  }
  return 0;
}
