// The extension API under one name: Firefox offers it as `browser`,
// Chromium as `chrome`; both return promises.
'use strict';

// eslint-disable-next-line no-unused-vars
const api = globalThis.browser ?? globalThis.chrome;
