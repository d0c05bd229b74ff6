// The helper program that starts the commands of command entries, reached
// by native messaging.
'use strict';

const NATIVE_HOST = 'com.pellmor.qmkit';
const NATIVE_HOST_MISSING =
    'the helper that starts programs is not installed; see "Commands" in the ' +
    'extension\'s options';

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
    const text = String(e?.message ?? e);
    if (/not found|no such native application|not installed|forbidden/i.test(text)) {
      return NATIVE_HOST_MISSING;
    }
    return text;
  }
}
