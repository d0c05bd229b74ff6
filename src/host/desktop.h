// The port through which the core talks to the person at the desktop:
// message boxes, beeps and help topics.
#pragma once

#include <string>

#include "host/browser_window.h"

namespace qm {

enum class MessageIcon { kNone, kExclamation, kStop, kQuestion, kInformation };

// The icon's name where a host writes it down: "none", "exclamation",
// "stop", "question" or "information".
constexpr const char* MessageIconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kNone: return "none";
    case MessageIcon::kExclamation: return "exclamation";
    case MessageIcon::kStop: return "stop";
    case MessageIcon::kQuestion: return "question";
    case MessageIcon::kInformation: return "information";
  }
  return "";
}
enum class MessageButtons { kOk, kYesNo };

struct MessageStyle {
  MessageIcon icon = MessageIcon::kExclamation;
  MessageButtons buttons = MessageButtons::kOk;
  bool second_button_default = false;  // e.g. No as the default of Yes/No
};

// The button that closed a message box, or kFailed when none could be shown.
enum class MessageResult { kOk, kYes, kNo, kCancel, kFailed };

enum class BeepKind {
  kError,        // an unusable command
  kExclamation,  // a page insertion that failed, a missing choice
};

class Desktop {
 public:
  virtual ~Desktop() = default;

  // Shows a message box owned by `owner` (the desktop when 0) and waits for
  // the user.
  virtual MessageResult ShowMessage(WindowHandle owner, const std::u16string& text,
                                    const std::u16string& caption,
                                    MessageStyle style) = 0;

  virtual void Beep(BeepKind kind) = 0;

  // Shows the help topic at `address` (the help file's path, "::/" and the
  // topic page, as OpenHelpTopic composes it), owned by `owner`. False when
  // the help cannot be shown.
  virtual bool ShowHelp(WindowHandle owner, const std::string& address) = 0;
};

// A Desktop that passes every call to another, so that a wrapper overrides
// only the calls it changes.
// REQUIRES: `target` outlives the wrapper.
class DesktopWrapper : public Desktop {
 public:
  explicit DesktopWrapper(Desktop* target) : target_(target) {}

  Desktop* target() const { return target_; }

  MessageResult ShowMessage(WindowHandle owner, const std::u16string& text,
                            const std::u16string& caption,
                            MessageStyle style) override {
    return target_->ShowMessage(owner, text, caption, style);
  }
  void Beep(BeepKind kind) override { target_->Beep(kind); }
  bool ShowHelp(WindowHandle owner, const std::string& address) override {
    return target_->ShowHelp(owner, address);
  }

 private:
  Desktop* target_;
};

}  // namespace qm
