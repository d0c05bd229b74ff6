// What the core asks the extension to do, and the answer it waits for: one
// handler a kind of request (Protocol.request), one a kind of notice
// (Protocol.notice). Addresses, names and texts come from catalogue
// templates filled with page text: they are handled as data, and every
// address goes through the core's address policy before it is used.
'use strict';

const {answer: ANSWER, request: REQUEST, notice: NOTICE} = Protocol;

const answerOf = (done) => (done ? ANSWER.done : ANSWER.notDone);

// Each handler takes the click being run and the request, and returns (a
// promise of) the answer the request's kind defines.
const CORE_REQUEST_HANDLERS = Object.freeze({
  [REQUEST.dialog]: (click, request) => DialogChannel.ask(click, request),
  [REQUEST.dialogEnd]: async () => {
    await DialogChannel.endDialog();
    return ANSWER.done;
  },
  [REQUEST.message]: (click, request) =>
    DialogChannel.ask(click, request, {width: 420, height: 240}),
  [REQUEST.open]: (click, request) =>
    openInTab(click, request.url, request.name, request.features),
  [REQUEST.focus]: async (click, request) => {
    await focusTab(click, request.window);
    return ANSWER.done;
  },
  [REQUEST.navigate]: async (click, request) =>
    answerOf(await navigate(click, request.window, request.url)),
  [REQUEST.remove]: async (click, request) =>
    answerOf(await removeAnchors(click, request.window, request.id)),
  [REQUEST.insert]: async (click, request) =>
    answerOf(await insertAnchor(click, request.window, request)),
  [REQUEST.clickAnchor]: async (click, request) =>
    answerOf(await clickAnchor(click, request.window, request.name)),
  [REQUEST.store]: async (click, request) => {
    await storeTicks(click, request.values);
    return ANSWER.done;
  },
  [REQUEST.shellOpen]: async (click, request) => answerOf(await openForShell(click, request.url)),
  [REQUEST.start]: (click, request) => startCommand(request.arguments),
  [REQUEST.help]: async (click, request) => {
    if (!/^[A-Za-z0-9_-]+\.htm$/.test(request.topic)) return ANSWER.notDone;
    await openHelp(click, api.runtime.getURL('help/' + request.topic));
    return ANSWER.done;
  },
});

const CORE_NOTICE_HANDLERS = Object.freeze({
  [NOTICE.beep]: (click, notice) => console.info('qmkit: beep', notice.sound),
});

// The answer to `request` of the core running `click`; Protocol.answer.none
// when no click is running or the kind has no handler.
// eslint-disable-next-line no-unused-vars
async function answerCoreRequest(click, request) {
  if (!click || !Object.hasOwn(CORE_REQUEST_HANDLERS, request?.kind)) return ANSWER.none;
  return CORE_REQUEST_HANDLERS[request.kind](click, request);
}

// eslint-disable-next-line no-unused-vars
function takeCoreNotice(click, notice) {
  if (click && Object.hasOwn(CORE_NOTICE_HANDLERS, notice?.kind)) {
    CORE_NOTICE_HANDLERS[notice.kind](click, notice);
  }
}
