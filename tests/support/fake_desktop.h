// A Desktop that records every message, beep and help topic, and answers
// message boxes from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "host/desktop.h"

namespace qm {

class FakeDesktop final : public Desktop {
 public:
  struct Message {
    WindowHandle owner;
    std::u16string text;
    std::u16string caption;
    MessageStyle style;
  };

  // Answers for the next message boxes, first first; kOk once they run out.
  std::deque<MessageResult> answers;

  std::vector<Message> messages;
  std::vector<BeepKind> beeps;
  std::vector<std::string> help_topics;
  bool help_succeeds = true;

  MessageResult ShowMessage(WindowHandle owner, const std::u16string& text,
                            const std::u16string& caption,
                            MessageStyle style) override {
    messages.push_back({owner, text, caption, style});
    if (answers.empty()) return MessageResult::kOk;
    const MessageResult answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void Beep(BeepKind kind) override { beeps.push_back(kind); }
  bool ShowHelp(WindowHandle, const std::string& address) override {
    help_topics.push_back(address);
    return help_succeeds;
  }
};

}  // namespace qm
