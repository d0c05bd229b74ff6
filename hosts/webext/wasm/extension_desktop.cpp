#include "extension_desktop.h"

#include "extension_bridge.h"
#include "strings/string_table.h"
#include "text/json_writer.h"
#include "text/utf8.h"
#include "text/windows_1252.h"

namespace qm {
namespace {

// 8-bit text of the ports is in the code page the extension's core uses.
std::u16string Wide(const std::string& narrow) {
  return Windows1252CodePage().ToWide(narrow);
}

}  // namespace

MessageResult ExtensionDesktop::ShowMessage(WindowHandle, const std::u16string& text,
                                            const std::u16string& caption,
                                            MessageStyle style) {
  using namespace protocol;
  const bool yes_no = style.buttons == MessageButtons::kYesNo;
  JsonWriter json = BeginRequest(kRequestMessage);
  json.Key(kFieldText).String(text)
      .Key(kFieldCaption).String(caption)
      .Key(kFieldIcon).String(MessageIconName(style.icon))
      .Key(kFieldButtons).String(yes_no ? kButtonsYesNo : kButtonsOk)
      .Key(kFieldSecondDefault).Bool(style.second_button_default)
      .Key(kFieldLabels).BeginObject()
      .Key(kButtonOk).String(LoadLabel(IDS_BUTTON_OK))
      .Key(kButtonYes).String(LoadLabel(IDS_BUTTON_YES))
      .Key(kButtonNo).String(LoadLabel(IDS_BUTTON_NO))
      .EndObject()
      .EndObject();
  static constexpr struct {
    const char* answer;
    MessageResult result;
  } kResults[] = {{kButtonOk, MessageResult::kOk},
                  {kButtonYes, MessageResult::kYes},
                  {kButtonNo, MessageResult::kNo},
                  {kButtonCancel, MessageResult::kCancel}};
  const std::string answer = AskExtension(json.text());
  for (const auto& r : kResults) {
    if (answer == r.answer) return r.result;
  }
  return MessageResult::kFailed;
}

void ExtensionDesktop::Beep(BeepKind kind) {
  using namespace protocol;
  JsonWriter json = BeginRequest(kNoticeBeep);
  json.Key(kFieldSound).String(kind == BeepKind::kError ? kSoundError : kSoundExclamation)
      .EndObject();
  TellExtension(json.text());
}

bool ExtensionDesktop::ShowHelp(WindowHandle, const std::string& address) {
  const std::size_t topic = address.rfind("::/");
  JsonWriter json = BeginRequest(protocol::kRequestHelp);
  json.Key(protocol::kFieldTopic)
      .String(topic == std::string::npos ? std::u16string() : Wide(address.substr(topic + 3)))
      .EndObject();
  return AnswerDone(AskExtension(json.text()));
}

bool ExtensionDesktop::ShellOpen(const std::string& address) {
  JsonWriter json = BeginRequest(protocol::kRequestShellOpen);
  json.Key(protocol::kFieldUrl).String(Wide(address)).EndObject();
  return AnswerDone(AskExtension(json.text()));
}

bool ExtensionDesktop::StartProcess(const ProcessCommand& command,
                                    std::u16string* error_text) {
  JsonWriter json = BeginRequest(protocol::kRequestStart);
  json.Key(protocol::kFieldCommandLine).String(Wide(command.command_line))
      .Key(protocol::kFieldArguments).BeginArray();
  for (const std::string& argument : command.arguments) json.String(Wide(argument));
  json.EndArray().EndObject();
  const std::string answer = AskExtension(json.text());
  if (answer == protocol::kAnswerStarted) return true;
  *error_text = FromUtf8(answer.empty() ? std::string("the extension did not answer")
                                        : answer);
  return false;
}

}  // namespace qm
