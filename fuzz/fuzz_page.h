// The input format and fake page that the template and command-line fuzz
// targets share: a two-byte little-endian template length, the template
// bytes, then UTF-16LE code units for the page, split at U+FFFF into the
// selection, its HTML, the frame's address, name, host and title and the
// top window's address, name, host and title.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "context/request_context.h"
#include "host/module_environment.h"
#include "support/fake_browser.h"

namespace qm::fuzzing {

using PageTexts = std::array<std::u16string, 10>;

struct TemplateAndPage {
  std::string tmpl;
  PageTexts texts;
  std::size_t longest_text = 0;  // code units of the longest page text
};

// Splits a fuzz input as above; false when it is too short to hold the
// template length.
inline bool ReadTemplateAndPage(const std::uint8_t* data, std::size_t size,
                                TemplateAndPage* input) {
  if (size < 2) return false;
  std::size_t template_size = data[0] | (data[1] << 8);
  data += 2;
  size -= 2;
  if (template_size > size) template_size = size;
  input->tmpl.assign(reinterpret_cast<const char*>(data), template_size);
  data += template_size;
  size -= template_size;
  for (std::size_t i = 0, t = 0; i + 1 < size; i += 2) {
    const char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (unit == 0xFFFF) {
      if (++t == input->texts.size()) break;
      continue;
    }
    input->texts[t].push_back(unit);
    if (input->texts[t].size() > input->longest_text) {
      input->longest_text = input->texts[t].size();
    }
  }
  return true;
}

// A frame with a selection inside a top window, and the request context
// built from it, living as long as the page. `env` must outlive it.
class FuzzPage {
 public:
  FuzzPage(const ModuleEnvironment& env, const PageTexts& texts) : context_(env) {
    auto top = std::make_shared<FakeWindow>();
    auto frame = std::make_shared<FakeWindow>();
    frame->top = top;
    frame->document = std::make_shared<FakeDocument>();
    top->document = std::make_shared<FakeDocument>();
    frame->document->selection = FakeTextRange(texts[0], texts[1]);
    frame->href = texts[2];
    frame->name = texts[3];
    frame->hostname = texts[4];
    frame->document->title = texts[5];
    top->href = texts[6];
    top->name = texts[7];
    top->hostname = texts[8];
    top->document->title = texts[9];
    arguments_.window = frame;
    built_ = BuildRequestContext(context_, &arguments_);
  }
  // Whether the context could be built from the page.
  bool built() const { return built_; }
  RequestContext& context() { return context_; }

 private:
  FakeMenuArguments arguments_;
  RequestContext context_;
  bool built_ = false;
};

}  // namespace qm::fuzzing
