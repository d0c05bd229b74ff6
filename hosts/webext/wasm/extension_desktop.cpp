#include "extension_desktop.h"

#include "extension_bridge.h"
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
  JsonWriter json;
  json.BeginObject()
      .Key("kind").String("message")
      .Key("text").String(text)
      .Key("caption").String(caption)
      .Key("icon").String(MessageIconName(style.icon))
      .Key("buttons").String(style.buttons == MessageButtons::kYesNo ? "yesno" : "ok")
      .Key("secondDefault").Bool(style.second_button_default)
      .EndObject();
  const std::string answer = AskExtension(json.text());
  if (answer == "ok") return MessageResult::kOk;
  if (answer == "yes") return MessageResult::kYes;
  if (answer == "no") return MessageResult::kNo;
  if (answer == "cancel") return MessageResult::kCancel;
  return MessageResult::kFailed;
}

void ExtensionDesktop::Beep(BeepKind kind) {
  JsonWriter json;
  json.BeginObject()
      .Key("kind").String("beep")
      .Key("sound").String(kind == BeepKind::kError ? "error" : "exclamation")
      .EndObject();
  TellExtension(json.text());
}

bool ExtensionDesktop::ShowHelp(WindowHandle, const std::string& address) {
  const std::size_t topic = address.rfind("::/");
  JsonWriter json;
  json.BeginObject()
      .Key("kind").String("help")
      .Key("topic").String(topic == std::string::npos ? std::u16string()
                                                      : Wide(address.substr(topic + 3)))
      .EndObject();
  return AskExtension(json.text()) == "1";
}

bool ExtensionDesktop::ShellOpen(const std::string& address) {
  JsonWriter json;
  json.BeginObject().Key("kind").String("shell-open").Key("url").String(Wide(address))
      .EndObject();
  return AskExtension(json.text()) == "1";
}

bool ExtensionDesktop::StartProcess(const ProcessCommand& command,
                                    std::u16string* error_text) {
  JsonWriter json;
  json.BeginObject()
      .Key("kind").String("start")
      .Key("commandLine").String(Wide(command.command_line))
      .Key("arguments").BeginArray();
  for (const std::string& argument : command.arguments) json.String(Wide(argument));
  json.EndArray().EndObject();
  // "ok", or the reason it was not started.
  const std::string answer = AskExtension(json.text());
  if (answer == "ok") return true;
  *error_text = FromUtf8(answer.empty() ? std::string("the extension did not answer")
                                        : answer);
  return false;
}

}  // namespace qm
