// Where the dialogs of a command are shown: the extension's dialog page, in
// the frame the content script made ready beside the selection when the
// context menu opened (dialog_frame.js), or, where no content script could
// run (the browser's own pages, a store, a frame too small), in a small
// window centred on the browser window of the click. The page shows what
// the core sends (a dialog as it stands, or a message) and answers with the
// person's next gesture; a frame or window that goes away is Cancel.
'use strict';

const DialogChannel = (() => {
  const DIALOG_URL = api.runtime.getURL('dialog.html');
  const PORT_NAME = 'qmkit-dialog';
  // How long a pick waits for a frame made ready to connect before the
  // window is used instead.
  const FRAME_WAIT_MS = 1500;

  // Frames made ready in pages, by tab: the frame of the content script
  // that made it, its token, and its port once its page has connected.
  const prepared = new Map();
  // The dialog page in use: {port, tabId, frameId, token} for a frame,
  // {port, windowId} for a window.
  let active = null;
  let pending = null;         // resolves the request being answered
  let windowPort = null;      // resolves with the port of a window opening

  function answer(text) {
    const resolve = pending;
    pending = null;
    resolve?.(text);
  }

  function frameMessage(message) {
    if (!active?.token) return;
    api.tabs.sendMessage(active.tabId, {...message, token: active.token},
                         {frameId: active.frameId}).catch(() => {});
  }

  // What the dialog page sends over its port.
  const PORT_MESSAGE_HANDLERS = Object.freeze({
    // The person's gesture or button: the answer to the request shown.
    answer: (message) => {
      if (typeof message.text === 'string') answer(message.text);
    },
    // Drawn, at this size: the frame is shown (placed the first time) or
    // the window fitted to it.
    drawn: (message, port) => {
      const width = Number(message.width);
      const height = Number(message.height);
      if (port !== active?.port || !(width > 0 && height > 0)) return;
      if (active.token) {
        frameMessage({type: 'qmkit-place', width, height});
      } else if (active.windowId !== undefined) {
        fitWindow(active.windowId, width + Number(message.chromeWidth || 0),
                  height + Number(message.chromeHeight || 0));
      }
    },
    // Sent only to keep the background alive while the person thinks.
    keepalive: () => {},
  });

  // What content scripts send: a frame made ready, a frame shown.
  const PAGE_MESSAGE_HANDLERS = Object.freeze({
    'qmkit-prepared': (message, sender) => {
      if (active?.tabId === sender.tab.id) return;
      let resolvePort;
      const portReady = new Promise((resolve) => { resolvePort = resolve; });
      prepared.set(sender.tab.id, {frameId: sender.frameId ?? 0, token: message.token,
                                   port: null, portReady, resolvePort});
    },
    // Shown: the page puts the focus where the dialog has it (a control
    // cannot take the focus while its frame is hidden).
    'qmkit-shown': (message) => {
      if (active?.token === message.token && typeof message.at === 'number') {
        active.shownAt = message.at;
        active.port.postMessage({kind: 'shown'});
      }
    },
  });

  api.runtime.onMessage.addListener((message, sender) => {
    if (sender?.id !== api.runtime.id || !sender.tab || typeof message?.token !== 'string' ||
        !Object.hasOwn(PAGE_MESSAGE_HANDLERS, message.type)) {
      return false;
    }
    PAGE_MESSAGE_HANDLERS[message.type](message, sender);
    return false;
  });

  function listen(port) {
    port.onMessage.addListener((message) => {
      if (Object.hasOwn(PORT_MESSAGE_HANDLERS, message?.type)) {
        PORT_MESSAGE_HANDLERS[message.type](message, port);
      }
    });
    port.onDisconnect.addListener(() => {
      for (const [tabId, frame] of prepared) {
        if (frame.port === port) prepared.delete(tabId);
      }
      if (active?.port === port) {
        active = null;
        answer('');  // a frame or window that went away is Cancel
      }
    });
  }

  // Only the extension's own dialog page may connect: in a window of its
  // own (a top frame), or in a frame a content script of this extension
  // made ready, which it names by the token that only the two share.
  api.runtime.onConnect.addListener((connected) => {
    const sender = connected.sender;
    if (sender?.id !== api.runtime.id || !connected.name.startsWith(PORT_NAME)) return;
    const token = connected.name.slice(PORT_NAME.length + 1);
    if (token === '' && sender.url === DIALOG_URL && (sender.frameId ?? 0) === 0 && windowPort) {
      listen(connected);
      windowPort(connected);
      windowPort = null;
      return;
    }
    const frame = sender.tab ? prepared.get(sender.tab.id) : undefined;
    if (!frame || frame.token !== token || frame.port || sender.url?.split('#')[0] !== DIALOG_URL) {
      connected.disconnect();
      return;
    }
    frame.port = connected;
    listen(connected);
    frame.resolvePort(connected);
  });

  // The frame made ready for `click`, connected, or null.
  async function preparedFrame(click) {
    const tabId = click?.tab?.id;
    const frame = prepared.get(tabId);
    if (!frame || frame.frameId !== (click.info?.frameId ?? 0)) return null;
    const timeout = new Promise((resolve) => setTimeout(resolve, FRAME_WAIT_MS, null));
    const port = await Promise.race([frame.portReady, timeout]);
    if (!port || prepared.get(tabId) !== frame) return null;
    return {port, tabId, frameId: frame.frameId, token: frame.token};
  }

  // The window's place: centred on the browser window the click came from.
  async function centredOn(windowId, width, height) {
    const outer = await api.windows.get(windowId).catch(() => null);
    if (!outer || outer.left === undefined) return {};
    return {left: Math.max(0, Math.round(outer.left + (outer.width - width) / 2)),
            top: Math.max(0, Math.round(outer.top + (outer.height - height) / 2))};
  }

  async function openWindow(click, size) {
    const ready = new Promise((resolve) => { windowPort = resolve; });
    const place = await centredOn(click?.tab?.windowId, size.width, size.height);
    const created = await api.windows.create({
      url: DIALOG_URL, type: 'popup', focused: true, width: size.width, height: size.height,
      ...place,
    });
    const port = await ready;
    return {port, windowId: created.id, openerWindowId: click?.tab?.windowId};
  }

  // Fits the window to its dialog, still centred where it was.
  async function fitWindow(windowId, width, height) {
    const now = await api.windows.get(windowId).catch(() => null);
    if (!now) return;
    width = Math.max(width, 200);
    height = Math.max(height, 120);
    if (Math.abs(now.width - width) < 4 && Math.abs(now.height - height) < 4) return;
    await api.windows.update(windowId, {
      width, height,
      left: Math.max(0, Math.round(now.left + (now.width - width) / 2)),
      top: Math.max(0, Math.round(now.top + (now.height - height) / 2)),
    }).catch(() => {});
  }

  async function open(click, size) {
    if (active) return active.port;
    const frame = await preparedFrame(click);
    if (frame) {
      prepared.delete(frame.tabId);
      active = frame;
    } else {
      active = await openWindow(click, size);
    }
    return active.port;
  }

  return {
    // Shows `request` and waits for the answer: a gesture script for a
    // dialog, the button for a message; '' when the frame or window went.
    async ask(click, request, size = {width: 480, height: 460}) {
      const port = await open(click, size);
      return new Promise((resolve) => {
        pending = resolve;
        port.postMessage(request);
      });
    },
    // The half of the page the dialog's frame is in, 'left' or 'right';
    // null for a window or none.
    async side() {
      if (!active?.token) return null;
      const where = await api.tabs.sendMessage(
          active.tabId, {type: 'qmkit-where', token: active.token},
          {frameId: active.frameId}).catch(() => null);
      return where?.side ?? null;
    },
    // When the dialog was last shown in a frame (for measuring), or null.
    get shownAt() { return active?.shownAt ?? null; },
    // A second command while a dialog is open: the dialog comes forward
    // and says which command waits for it.
    bringToFront(waitingTitle) {
      if (!active) return;
      if (active.token) {
        api.tabs.update(active.tabId, {active: true}).then(
            (tab) => api.windows.update(tab.windowId, {focused: true}), () => {}).catch(() => {});
        frameMessage({type: 'qmkit-focus'});
      } else {
        api.windows.update(active.windowId, {focused: true}).catch(() => {});
      }
      active.port.postMessage({kind: 'waiting', title: waitingTitle});
    },
    // One dialog of the command has ended: a window closes; a frame is
    // hidden and kept for what the command shows next.
    async endDialog() {
      if (active?.token) {
        frameMessage({type: 'qmkit-hide'});
        active.port.postMessage({kind: 'reset'});
      } else {
        await this.close();
      }
    },
    // The command has ended: its frame or window goes, and so does a frame
    // made ready in the click's tab that it never used.
    async close(tabId) {
      const was = active;
      active = null;
      if (tabId !== undefined && prepared.has(tabId)) {
        const unused = prepared.get(tabId);
        prepared.delete(tabId);
        api.tabs.sendMessage(tabId, {type: 'qmkit-remove', token: unused.token},
                             {frameId: unused.frameId}).catch(() => {});
        unused.port?.disconnect();
      }
      if (!was) return;
      if (was.token) {
        api.tabs.sendMessage(was.tabId, {type: 'qmkit-remove', token: was.token},
                             {frameId: was.frameId}).catch(() => {});
      }
      was.port.disconnect();
      if (was.windowId !== undefined) await api.windows.remove(was.windowId).catch(() => {});
    },
  };
})();
