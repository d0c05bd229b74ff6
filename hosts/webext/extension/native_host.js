// The helper program that starts the commands of command entries, reached
// by native messaging.
'use strict';

const NATIVE_HOST = 'com.pellmor.qmkit';
const NATIVE_HOST_MISSING =
    'the helper that starts programs is not installed; see "Command helper" in ' +
    'the extension\'s options';

// What a failed native message says of the helper, in the browsers' own
// words: Chromium's "Specified native messaging host not found.", Firefox's
// "No such native application ...", and Chromium's "... is forbidden." for a
// helper installed for another extension id.
const NATIVE_HOST_FAILURES = [
  {pattern: /not found|no such native application|not installed/i, failure: 'missing'},
  {pattern: /forbidden/i, failure: 'forbidden'},
];

// 'missing', 'forbidden', or 'broken' (installed, but it failed to answer)
// for the error of a native message.
function nativeHostFailure(error) {
  const text = String(error?.message ?? error);
  return NATIVE_HOST_FAILURES.find((f) => f.pattern.test(text))?.failure ?? 'broken';
}

// Asks the helper to start the program of `args` (its argument vector,
// without a shell). Returns Protocol.answer.started, or the reason it was
// not started.
// eslint-disable-next-line no-unused-vars
async function startCommand(args) {
  try {
    const reply = await api.runtime.sendNativeMessage(NATIVE_HOST, {
      type: 'start', arguments: args,
    });
    if (reply?.type === 'start' && reply.started === true) return Protocol.answer.started;
    return String(reply?.error ?? 'the helper gave no answer');
  } catch (e) {
    return nativeHostFailure(e) === 'broken' ? String(e?.message ?? e) : NATIVE_HOST_MISSING;
  }
}
