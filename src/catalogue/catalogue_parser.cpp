#include "catalogue/catalogue_parser.h"

#include <algorithm>

namespace qm {

// Collects the key lines of the current section at the end of the
// catalogue's value list and files the section when it closes.
class CatalogueBuilder {
 public:
  CatalogueBuilder(SiteCatalogue& catalogue, std::string_view prefix)
      : catalogue_(catalogue), prefix_(prefix) {}

  std::string& Adopt(std::string text) {
    return catalogue_.texts_.emplace_back(std::move(text));
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

    SiteCatalogue::SectionRecord record{
        name_, first_, values.size() - first_};
    auto& index = catalogue_.index_;
    // A repeated name replaces the whole section, spelling of its name too.
    if (const auto it = index.find(name_); it != index.end()) index.erase(it);
    index.emplace(name_, record);
  }

 private:
  SiteCatalogue& catalogue_;
  std::string_view prefix_;
  bool has_current_ = false;
  std::string_view name_;
  std::size_t first_ = 0;
};

namespace {

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

char* SkipToLineEnd(char* p, char* end) {
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
    } else if (c == '#' || c == ';') {
      p = SkipToLineEnd(p, end);
    } else if (c == '[') {
      builder.ForgetSection();
      char* const name = p + 1;
      char* q = name;
      while (q != end && *q != ']' && !IsLineEnd(*q)) ++q;
      builder.OpenSection(std::string_view(name, static_cast<std::size_t>(q - name)));
      p = (q != end && *q == ']') ? SkipToLineEnd(q + 1, end) : q;
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
      if (builder.has_current()) {
        FoldAsciiInPlace(key, q);
        builder.AddValue(
            std::string_view(key, static_cast<std::size_t>(q - key)),
            std::string_view(value, static_cast<std::size_t>(p - value)));
      }
    }
  }
  builder.CloseSection();
}

}  // namespace qm
