// What the WebAssembly core and the extension's JavaScript say to each
// other. The core sends a request as a JSON object whose "kind" is one of
// the kinds below, with the fields listed beside it, and waits for the
// answer, a text; a notice is sent the same way and has no answer. The
// extension answers every request from a table of handlers keyed by kind.
//
// The build writes this file's constants into the extension as
// protocol.js: each line `inline constexpr char kGroupName[] = "text";`
// becomes `Protocol.group.name === 'text'` there, so keep every constant on
// one line of that form, with a value free of quotes and backslashes.
#pragma once

namespace qm::protocol {

// Requests, with their fields and answers. Every request may also be
// answered kAnswerNone: the extension failed, or has no handler for it.
//
// dialog: dialog, title, fault, state -> the person's gestures
//   ("toggle 2; ok"), or none when the window was closed (Cancel).
inline constexpr char kRequestDialog[] = "dialog";
// dialog-end: the dialog window closes -> done.
inline constexpr char kRequestDialogEnd[] = "dialog-end";
// message: text, caption, icon, buttons, secondDefault, labels -> the
//   button pressed (kButton...), or none when the window was closed.
inline constexpr char kRequestMessage[] = "message";
// open: url, name, features -> the id of the tab or window opened, or
//   none when nothing was opened.
inline constexpr char kRequestOpen[] = "open";
// focus: window (kWindowPage or an id that open answered) -> done.
inline constexpr char kRequestFocus[] = "focus";
// navigate: window, url -> done or not done.
inline constexpr char kRequestNavigate[] = "navigate";
// remove: window, id -> done or not done: the elements with that id are
//   gone from the window's document.
inline constexpr char kRequestRemove[] = "remove";
// insert: window, id, href, target, text -> done or not done: a link made
//   from these fields is at the end of the window's document.
inline constexpr char kRequestInsert[] = "insert";
// click-anchor: window, name -> done or not done.
inline constexpr char kRequestClickAnchor[] = "click-anchor";
// store: values, each with key, name and value -> done once stored.
inline constexpr char kRequestStore[] = "store";
// shell-open: url -> done or not done.
inline constexpr char kRequestShellOpen[] = "shell-open";
// start: commandLine, arguments -> kAnswerStarted, or the reason it was
//   not started.
inline constexpr char kRequestStart[] = "start";
// help: topic (a page of the help folder, "HelpISBN.htm") -> done or not
//   done.
inline constexpr char kRequestHelp[] = "help";

// Notices. beep: sound (kSound...).
inline constexpr char kNoticeBeep[] = "beep";

// The fields, by their names in the objects.
inline constexpr char kFieldKind[] = "kind";
inline constexpr char kFieldDialog[] = "dialog";
inline constexpr char kFieldTitle[] = "title";
inline constexpr char kFieldFault[] = "fault";
inline constexpr char kFieldState[] = "state";
inline constexpr char kFieldText[] = "text";
inline constexpr char kFieldCaption[] = "caption";
inline constexpr char kFieldIcon[] = "icon";
inline constexpr char kFieldButtons[] = "buttons";
inline constexpr char kFieldSecondDefault[] = "secondDefault";
inline constexpr char kFieldLabels[] = "labels";
inline constexpr char kFieldUrl[] = "url";
inline constexpr char kFieldName[] = "name";
inline constexpr char kFieldFeatures[] = "features";
inline constexpr char kFieldWindow[] = "window";
inline constexpr char kFieldId[] = "id";
inline constexpr char kFieldHref[] = "href";
inline constexpr char kFieldTarget[] = "target";
inline constexpr char kFieldValues[] = "values";
inline constexpr char kFieldKey[] = "key";
inline constexpr char kFieldValue[] = "value";
inline constexpr char kFieldCommandLine[] = "commandLine";
inline constexpr char kFieldArguments[] = "arguments";
inline constexpr char kFieldTopic[] = "topic";
inline constexpr char kFieldSound[] = "sound";

// The dialogs a dialog request shows (its field dialog).
inline constexpr char kDialogChoice[] = "choice";
inline constexpr char kDialogCurrency[] = "currency";
inline constexpr char kDialogConvert[] = "convert";
inline constexpr char kDialogAbout[] = "about";

// The windows a request names besides the ids that open answered: the
// frame the menu was opened in, its top-level window, and the page's tab.
inline constexpr char kWindowFrame[] = "frame";
inline constexpr char kWindowTop[] = "top";
inline constexpr char kWindowPage[] = "page";

// Answers.
inline constexpr char kAnswerDone[] = "1";
inline constexpr char kAnswerNotDone[] = "0";
inline constexpr char kAnswerNone[] = "";
inline constexpr char kAnswerStarted[] = "ok";

// A message's button sets, and the buttons its answer names.
inline constexpr char kButtonsOk[] = "ok";
inline constexpr char kButtonsYesNo[] = "yesno";
inline constexpr char kButtonOk[] = "ok";
inline constexpr char kButtonYes[] = "yes";
inline constexpr char kButtonNo[] = "no";
inline constexpr char kButtonCancel[] = "cancel";

// A beep's sounds.
inline constexpr char kSoundError[] = "error";
inline constexpr char kSoundExclamation[] = "exclamation";

}  // namespace qm::protocol
