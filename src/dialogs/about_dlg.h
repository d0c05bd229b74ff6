// The about and configure dialog: help, the customisation topic and the
// product's home page.
#pragma once

#include <optional>

#include "context/request_context.h"
#include "dialogs/dialog_resources.h"
#include "host/desktop.h"
#include "resource_ids.h"

namespace qm {

class CAboutDlg {
 public:
  // Results: 1 OK, 2 Escape or the close box, 215 Home Page.
  static constexpr int kResultHomePage = IDC_HOME_PAGE;

  // Help opens the topic of `resources`; the window view brings its own
  // template.
  CAboutDlg(const RequestContext& context, Desktop& desktop,
            const DialogResources& resources)
      : context_(context), desktop_(desktop), help_topic_(resources.help_topic) {}

  void Ok() { result_ = 1; }
  void Cancel() { result_ = 2; }
  void HomePage() { result_ = kResultHomePage; }
  // Help opens the dialog's topic (the help index), Customization the page
  // on editing the catalogue; the dialog stays open.
  void Help();
  void Customization();

  std::optional<int> result() const { return result_; }

 private:
  const RequestContext& context_;
  Desktop& desktop_;
  const char* help_topic_;
  std::optional<int> result_;
};

}  // namespace qm
