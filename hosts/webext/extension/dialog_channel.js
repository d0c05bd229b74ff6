// The dialog window: a small extension window that shows what the core
// sends (a dialog as it stands, or a message) and answers with the person's
// next gesture. One window serves a whole command; closing it cancels.
'use strict';

const DialogChannel = (() => {
  let windowId = null;
  let port = null;
  let portReady = null;     // resolves with the port once the page connected
  let resolvePort = null;
  let pending = null;       // resolves the request the window is answering

  // What the dialog window's page sends over its port.
  const PORT_MESSAGE_HANDLERS = Object.freeze({
    // The person's gesture or button: the answer to the request shown.
    answer: (message) => {
      if (typeof message.text !== 'string') return;
      const answer = pending;
      pending = null;
      answer?.(message.text);
    },
    // Sent only to keep the background alive while the person thinks.
    keepalive: () => {},
  });

  // Only the extension's own dialog page, in its top frame, may answer.
  function isDialogPage(sender) {
    return sender?.id === api.runtime.id && sender.url === api.runtime.getURL('dialog.html') &&
        (sender.frameId ?? 0) === 0;
  }

  api.runtime.onConnect.addListener((connected) => {
    if (connected.name !== 'qmkit-dialog' || !isDialogPage(connected.sender)) return;
    port = connected;
    port.onMessage.addListener((message) => {
      if (Object.hasOwn(PORT_MESSAGE_HANDLERS, message?.type)) {
        PORT_MESSAGE_HANDLERS[message.type](message);
      }
    });
    port.onDisconnect.addListener(() => {
      port = null;
      portReady = null;
      windowId = null;
      const answer = pending;
      pending = null;
      answer?.('');  // a closed window is Cancel
    });
    resolvePort?.(port);
    resolvePort = null;
  });

  async function open(size) {
    if (portReady) return portReady;
    portReady = new Promise((resolve) => { resolvePort = resolve; });
    const created = await api.windows.create({
      url: api.runtime.getURL('dialog.html'), type: 'popup', focused: true,
      width: size.width, height: size.height,
    });
    windowId = created.id;
    return portReady;
  }

  return {
    // Shows `request` and waits for the answer: a gesture script for a
    // dialog, the button for a message; '' when the window was closed.
    async ask(request, size = {width: 480, height: 560}) {
      const connected = await open(size);
      return new Promise((resolve) => {
        pending = resolve;
        connected.postMessage(request);
      });
    },
    get isOpen() { return windowId !== null; },
    bringToFront() {
      if (windowId !== null) api.windows.update(windowId, {focused: true}).catch(() => {});
    },
    async close() {
      const id = windowId;
      windowId = null;
      portReady = null;
      if (port) {
        port.disconnect();
        port = null;
      }
      if (id !== null) await api.windows.remove(id).catch(() => {});
    },
  };
})();
