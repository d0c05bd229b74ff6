// A page for the action tests: a top-level window holding the frame the
// menu was opened in, each with a document, read into a RequestContext as
// the browser would give it. Set the fields, then call Context().
#pragma once

#include <memory>
#include <string>

#include "context/request_context.h"
#include "support/fake_browser.h"
#include "support/fake_module_environment.h"
#include "text/windows_1252.h"

namespace qm {

struct ActionTestPage {
  FakeModuleEnvironment env{"C:\\Program Files\\X\\qmkit.dll"};
  Windows1252CodePage code_page;
  std::shared_ptr<FakeWindow> top = std::make_shared<FakeWindow>();
  std::shared_ptr<FakeWindow> frame = std::make_shared<FakeWindow>();
  std::shared_ptr<FakeDocument> top_document = std::make_shared<FakeDocument>();
  std::shared_ptr<FakeDocument> frame_document = std::make_shared<FakeDocument>();

  ActionTestPage() {
    frame->top = top;
    top->document = top_document;
    frame->document = frame_document;
    top->screen = std::make_pair(1280, 1024);
  }

  void Select(std::u16string text) {
    frame_document->selection.emplace();
    frame_document->selection->text = std::move(text);
  }

  std::unique_ptr<RequestContext> Context() {
    auto context = std::make_unique<RequestContext>(env);
    FakeMenuArguments arguments;
    arguments.window = frame;
    BuildRequestContext(*context, &arguments);
    return context;
  }
};

}  // namespace qm
