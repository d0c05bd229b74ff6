#include "catalogue/catalogue_parser.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>

namespace qm {

// Collects the key lines of the current section at the end of the
// catalogue's value list and files the section when it closes.
class CatalogueBuilder {
 public:
  CatalogueBuilder(SiteCatalogue& catalogue, std::string_view prefix)
      : catalogue_(catalogue),
        prefix_(prefix),
        sorted_(catalogue.index_.size()) {}

  std::string& Adopt(std::string text) {
    return *catalogue_.texts_.emplace_back(std::make_shared<std::string>(std::move(text)));
  }

  bool has_current() const { return has_current_; }

  void ForgetSection() { CloseSection(); }

  void OpenSection(std::string_view name) {
    CloseSection();
    if (!prefix_.empty() && !StartsWithFolded(name, prefix_)) return;
    has_current_ = true;
    name_ = name;
    first_ = catalogue_.values_.size();
  }

  void AddValue(std::string_view folded_key, std::string_view value) {
    catalogue_.values_.push_back({folded_key, value});
  }

  void CloseSection() {
    if (!has_current_) return;
    has_current_ = false;
    auto& values = catalogue_.values_;
    const auto first = values.begin() + static_cast<std::ptrdiff_t>(first_);
    // Views into one text grow with the position in it, so ordering equal
    // keys by address keeps them in file order and the last one wins.
    std::sort(first, values.end(),
              [](const CatalogueValue& a, const CatalogueValue& b) {
                if (a.key != b.key) return a.key < b.key;
                return a.key.data() < b.key.data();
              });
    auto out = first;
    for (auto it = first; it != values.end(); ++it) {
      const auto next = it + 1;
      if (next != values.end() && next->key == it->key) continue;
      *out++ = *it;
    }
    values.erase(out, values.end());

    auto& index = catalogue_.index_;
    SiteCatalogue::SectionRecord record{name_, {0, 0}, first_, values.size() - first_};
    for (std::size_t i = 0; i < 16; ++i) {
      std::uint64_t& h = record.head[i / 8];
      h = h << 8 |
          (i < name_.size() ? static_cast<unsigned char>(FoldAscii(name_[i])) : 0u);
    }
    index.push_back(record);
    // Repeated names would pile up records; merging them away whenever the
    // unsorted tail outgrows the sorted part keeps the list within twice the
    // distinct names at O(n log n) overall.
    if (index.size() - sorted_ > sorted_ + 64) SortIndex();
  }

  void Finish() {
    CloseSection();
    SortIndex();
  }

 private:
  static bool NameLess(const SiteCatalogue::SectionRecord& a,
                       const SiteCatalogue::SectionRecord& b) {
    if (a.head[0] != b.head[0]) return a.head[0] < b.head[0];
    if (a.head[1] != b.head[1]) return a.head[1] < b.head[1];
    return CompareFolded(a.name, b.name) < 0;
  }

  // Sorts the records filed since the last call into the sorted part. A
  // repeated name replaces the whole section, spelling of its name too: the
  // stable sort and merge keep file order among equal names, and the last of
  // them stays.
  void SortIndex() {
    auto& index = catalogue_.index_;
    const auto middle = index.begin() + static_cast<std::ptrdiff_t>(sorted_);
    std::stable_sort(middle, index.end(), NameLess);
    std::inplace_merge(index.begin(), middle, index.end(), NameLess);
    auto out = index.begin();
    for (auto it = index.begin(); it != index.end(); ++it) {
      const auto next = it + 1;
      if (next != index.end() && next->head[0] == it->head[0] && next->head[1] == it->head[1] &&
          CompareFolded(next->name, it->name) == 0) {
        continue;
      }
      *out++ = *it;
    }
    index.erase(out, index.end());
    sorted_ = index.size();
  }

  SiteCatalogue& catalogue_;
  std::string_view prefix_;
  bool has_current_ = false;
  std::string_view name_;
  std::size_t first_ = 0;
  std::size_t sorted_ = 0;  // leading records of the index in name order
};

namespace {

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

// Asked at the start of every line: a loop the compiler unrolls, not a
// call to search the two characters.
constexpr bool IsCommentCharacter(char c) {
  for (const char comment : kCatalogueCommentCharacters) {
    if (c == comment) return true;
  }
  return false;
}

// The high bit of each of the eight bytes packed in `w` that is zero, and
// perhaps of bytes above a zero one (a borrow), never below: the lowest bit
// set marks the first zero byte exactly.
constexpr std::uint64_t ZeroBytes(std::uint64_t w) {
  return (w - 0x0101010101010101ULL) & ~w & 0x8080808080808080ULL;
}

// Eight bytes at a time to the first LF or CR: a catalogue is mostly long
// lines, and most of them belong to sections a command does not read.
char* SkipToLineEnd(char* p, char* end) {
  constexpr std::uint64_t kLf = 0x0A0A0A0A0A0A0A0AULL;
  constexpr std::uint64_t kCr = 0x0D0D0D0D0D0D0D0DULL;
  if constexpr (std::endian::native == std::endian::little) {
    while (end - p >= 8) {
      std::uint64_t w;
      std::memcpy(&w, p, sizeof w);
      const std::uint64_t found = ZeroBytes(w ^ kLf) | ZeroBytes(w ^ kCr);
      if (found != 0) return p + std::countr_zero(found) / 8;
      p += 8;
    }
  }
  while (p != end && !IsLineEnd(*p)) ++p;
  return p;
}

}  // namespace

void ParseCatalogue(std::string text, std::string_view prefix,
                    SiteCatalogue& catalogue) {
  CatalogueBuilder builder(catalogue, prefix);
  std::string& owned = builder.Adopt(std::move(text));
  char* p = owned.data();
  char* const end = p + owned.size();

  while (p != end) {
    const char c = *p;
    if (c == ' ' || c == '\t' || IsLineEnd(c)) {
      ++p;
    } else if (IsCommentCharacter(c)) {
      p = SkipToLineEnd(p, end);
    } else if (c == '[') {
      builder.ForgetSection();
      char* const name = p + 1;
      char* q = name;
      while (q != end && *q != ']' && !IsLineEnd(*q)) ++q;
      builder.OpenSection(std::string_view(name, static_cast<std::size_t>(q - name)));
      p = (q != end && *q == ']') ? SkipToLineEnd(q + 1, end) : q;
    } else if (!builder.has_current()) {
      p = SkipToLineEnd(p, end);  // a key line outside a kept section
    } else {
      // The first character always belongs to the key, even "=".
      char* const key = p;
      char* q = p + 1;
      while (q != end && *q != '=' && !IsLineEnd(*q)) ++q;
      if (q == end || *q != '=') {
        p = q;  // no "=": the line is dropped
        continue;
      }
      char* const value = q + 1;
      p = SkipToLineEnd(value, end);
      FoldAsciiInPlace(key, q);
      builder.AddValue(std::string_view(key, static_cast<std::size_t>(q - key)),
                       std::string_view(value, static_cast<std::size_t>(p - value)));
    }
  }
  builder.Finish();
}

}  // namespace qm
