// Which addresses the extension opens, navigates to, opens for the shell or
// puts in a link: the core decides, by the rule every host follows. Web and
// mail addresses pass, a host name such as www.example.com gets https://,
// and anything else (javascript:, data:, file:, an option, a word) is
// refused.
'use strict';

// The address to open for `address`, or null when it must not be opened.
// eslint-disable-next-line no-unused-vars
async function openableAddress(address) {
  const opened = callCoreWithText(await core(), 'qm_openable_address', String(address ?? ''));
  return opened === '' ? null : opened;
}
