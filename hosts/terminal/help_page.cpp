#include "help_page.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>

#include "html_character_references.h"
#include "text/utf8.h"

namespace qm {
namespace {

bool IsNameCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '.' || c == '_' ||
         c == '-';
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

bool OneOf(const std::string& name, std::initializer_list<std::string_view> names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

std::size_t CodePoints(std::string_view utf8) {
  return static_cast<std::size_t>(std::count_if(
      utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// Builds the text block by block: breaks asked for between blocks are
// written only when more text follows, so no block leaves empty lines
// behind it.
class TextWriter {
 public:
  void Break(int lines) { pending_break_ = std::max(pending_break_, lines); }
  void Space() { pending_space_ = true; }

  void Write(std::string_view text) {
    if (text.empty()) return;
    if (!out_.empty()) {
      if (pending_break_ > 0) {
        while (!out_.empty() && out_.back() == ' ') out_.pop_back();
        const int have = out_.ends_with("\n\n") ? 2 : out_.ends_with("\n") ? 1 : 0;
        out_.append(static_cast<std::size_t>(std::max(0, pending_break_ - have)), '\n');
      } else if (pending_space_ && out_.back() != '\n' && out_.back() != ' ') {
        out_ += ' ';
      }
    }
    pending_break_ = 0;
    pending_space_ = false;
    out_ += text;
  }

  // The text written since `mark`.
  std::size_t Mark() const { return out_.size(); }
  std::string_view Since(std::size_t mark) const {
    return std::string_view(out_).substr(std::min(mark, out_.size()));
  }

  std::string Finish() {
    while (!out_.empty() && (out_.back() == ' ' || out_.back() == '\n')) out_.pop_back();
    if (!out_.empty()) out_ += '\n';
    return std::move(out_);
  }

 private:
  std::string out_;
  int pending_break_ = 0;
  bool pending_space_ = false;
};

std::string Decode(std::string_view text) {
  std::string decoded = ToUtf8(DecodeHtmlEntities(FromUtf8(text)));
  // A no-break space reads as a space.
  std::string plain;
  for (std::size_t i = 0; i < decoded.size(); ++i) {
    if (decoded.compare(i, 2, "\xC2\xA0") == 0) {
      plain += ' ';
      ++i;
    } else {
      plain += decoded[i];
    }
  }
  return plain;
}

}  // namespace

std::string HelpPageName(std::string_view address) {
  const std::size_t separator = address.rfind("::/");
  const std::string_view name =
      separator == std::string_view::npos ? address : address.substr(separator + 3);
  if (name.empty() || name[0] == '.' || !std::all_of(name.begin(), name.end(), IsNameCharacter)) {
    return {};
  }
  return std::string(name);
}

std::vector<std::string> HelpFolders(const std::string& program) {
  std::vector<std::string> folders;
  const std::filesystem::path bin = std::filesystem::path(program).parent_path();
  if (!bin.empty()) {
    folders.push_back((bin / QM_HELP_INSTALLED_FROM_BIN).lexically_normal().string());
  }
  folders.push_back(QM_HELP_SOURCE_DIR);
  return folders;
}

std::string FindHelpPage(const std::vector<std::string>& folders, const std::string& name) {
  if (name.empty()) return {};
  for (const std::string& folder : folders) {
    const std::string path = folder + "/" + name;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return path;
  }
  return {};
}

std::string FileAddress(const std::string& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string address = "file://";
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) != 0 || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
      address += c;
    } else {
      address += '%';
      address += kHex[byte >> 4];
      address += kHex[byte & 0xF];
    }
  }
  return address;
}

std::string HtmlToText(std::string_view html) {
  TextWriter writer;
  std::string skipping;  // the element whose content is left out
  bool preformatted = false;
  bool first_cell = true;
  std::size_t heading_mark = 0;
  std::size_t i = 0;
  while (i < html.size()) {
    if (html[i] != '<') {
      const std::size_t end = std::min(html.find('<', i), html.size());
      const std::string_view raw = html.substr(i, end - i);
      i = end;
      if (!skipping.empty()) continue;
      std::string text = Decode(raw);
      if (preformatted) {
        writer.Write(text);
        continue;
      }
      std::string word;
      for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
          writer.Write(word);
          word.clear();
          writer.Space();
        } else {
          word += c;
        }
      }
      writer.Write(word);
      continue;
    }
    if (html.compare(i, 4, "<!--") == 0) {
      const std::size_t end = html.find("-->", i + 4);
      i = end == std::string_view::npos ? html.size() : end + 3;
      continue;
    }
    const std::size_t close = html.find('>', i);
    if (close == std::string_view::npos) break;  // an unfinished tag shows nothing
    std::string_view tag = html.substr(i + 1, close - i - 1);
    i = close + 1;
    const bool end_tag = !tag.empty() && tag[0] == '/';
    if (end_tag) tag.remove_prefix(1);
    std::size_t name_end = 0;
    while (name_end < tag.size() && std::isalnum(static_cast<unsigned char>(tag[name_end]))) {
      ++name_end;
    }
    const std::string name = Lower(tag.substr(0, name_end));
    if (!skipping.empty()) {
      if (end_tag && name == skipping) skipping.clear();
      continue;
    }
    if (OneOf(name, {"head", "style", "script", "title"})) {
      if (!end_tag) skipping = name;
      continue;
    }
    const bool heading = name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6';
    if (heading) {
      if (end_tag) {
        std::string_view title = writer.Since(heading_mark);
        while (!title.empty() && (title[0] == '\n' || title[0] == ' ')) title.remove_prefix(1);
        const std::size_t length = CodePoints(title);
        if (length > 0) {
          writer.Break(1);
          writer.Write(std::string(length, name[1] == '1' ? '=' : '-'));
        }
        writer.Break(2);
      } else {
        writer.Break(2);
        heading_mark = writer.Mark();
      }
    } else if (name == "pre") {
      writer.Break(2);
      preformatted = !end_tag;
      // A line break right after <pre> belongs to the markup.
      if (!end_tag && i < html.size() && html[i] == '\n') ++i;
    } else if (OneOf(name, {"p", "div", "ul", "ol", "dl", "table", "blockquote", "hr"})) {
      writer.Break(2);
    } else if (name == "li" && !end_tag) {
      writer.Break(1);
      writer.Write("- ");
    } else if (name == "tr") {
      writer.Break(1);
      first_cell = true;
    } else if ((name == "td" || name == "th") && !end_tag) {
      if (!first_cell) writer.Write(" |");
      writer.Space();
      first_cell = false;
    } else if (OneOf(name, {"br", "dt", "dd", "li"})) {
      writer.Break(1);
    }
  }
  return writer.Finish();
}

}  // namespace qm
