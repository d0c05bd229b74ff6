// In every page: the dialog beside the selection. When the person opens the
// context menu, a frame holding the extension's dialog page is made ready,
// hidden, so that a pick shows it at once; the background then fills it and
// has it shown next to the selection (or the link, or the click point),
// inside the viewport and above the page. Without a pick it goes again.
//
// The frame is another origin, held in a closed shadow root in the top
// layer: the page can neither read nor script it, and every gesture in it
// comes from the person. The listeners here read nothing of the page but
// where things are; only events the browser made (isTrusted) count.
'use strict';

(() => {
  const DIALOG_URL = api.runtime.getURL('dialog.html');
  // A frame smaller than this gets the dialog as a window instead.
  const MIN_WIDTH = 360;
  const MIN_HEIGHT = 280;
  const MARGIN = 8;    // from the viewport's edges
  const GAP = 6;       // from what the dialog is shown beside
  const BORDER = 1;    // the frame's, on each side

  // Styles that the page's own cannot override: inline and important.
  const HOST_STYLE = 'all: initial !important; position: fixed !important; ' +
      'inset: auto !important; margin: 0 !important; padding: 0 !important; ' +
      'border: 0 !important; background: transparent !important; overflow: visible !important; ' +
      'z-index: 2147483647 !important; display: block !important; opacity: 1 !important; ' +
      'transform: none !important; filter: none !important; ';
  const FRAME_STYLE = 'display: block; width: 100%; height: 100%; box-sizing: border-box; ' +
      `border: ${BORDER}px solid #8a8a8a; border-radius: 6px; ` +
      'box-shadow: 0 4px 18px rgba(0, 0, 0, 0.35); ' +
      'background: Canvas; color-scheme: light dark;';

  // The frame made ready or shown: {host, frame, token, shown, point, box}.
  let dialog = null;
  let guard = null;

  function newToken() {
    const bytes = crypto.getRandomValues(new Uint8Array(16));
    return Array.from(bytes, (b) => b.toString(16).padStart(2, '0')).join('');
  }

  // Hidden, the frame has a dialog's usual size, so that its page lays the
  // dialog out as it will be shown and measures it right.
  function hostStyle({left = 0, top = 0, width = 440, height = 420, shown = false}) {
    return HOST_STYLE + `left: ${left}px !important; top: ${top}px !important; ` +
        `width: ${width}px !important; height: ${height}px !important; ` +
        `visibility: ${shown ? 'visible' : 'hidden'} !important; ` +
        `pointer-events: ${shown ? 'auto' : 'none'} !important;`;
  }

  // The focus the frame took goes back where it was in the page, before
  // the frame is hidden or goes: keys still being typed then reach the page,
  // not a frame on its way out.
  function giveFocusBack() {
    if (document.activeElement !== dialog.host) return;
    const back = dialog.focusBefore;
    dialog.focusBefore = null;
    if (back?.isConnected && back !== document.body) back.focus({preventScroll: true});
    else dialog.frame.blur();
  }

  function remove() {
    if (!dialog) return;
    guard?.disconnect();
    guard = null;
    giveFocusBack();
    const host = dialog.host;
    dialog = null;
    host.remove();
  }

  function prepare(point) {
    const host = document.createElement('div');
    const shadow = host.attachShadow({mode: 'closed'});
    const frame = document.createElement('iframe');
    const token = newToken();
    frame.src = `${DIALOG_URL}#${token}`;
    frame.title = api.runtime.getManifest().name;
    frame.setAttribute('style', FRAME_STYLE);
    shadow.append(frame);
    dialog = {host, frame, token, shown: false, point, box: {}};
    host.setAttribute('style', hostStyle(dialog.box));
    host.popover = 'manual';
    // Told first, so that the background knows the token before the
    // frame's page connects with it.
    api.runtime.sendMessage({type: 'qmkit-prepared', token}).catch(() => {});
    document.documentElement.append(host);
    host.showPopover?.();
    // The page may restyle the host, or take it out of the top layer: it is
    // put back as it was. (Taking it out of the page ends the dialog.)
    const keepInPlace = () => {
      if (dialog?.host !== host || !host.isConnected) return;
      const style = hostStyle({...dialog.box, shown: dialog.shown});
      if (host.getAttribute('style') !== style) host.setAttribute('style', style);
      if (host.getAttribute('popover') !== 'manual') host.popover = 'manual';
      if (host.showPopover && !host.matches(':popover-open')) host.showPopover();
    };
    guard = new MutationObserver(keepInPlace);
    guard.observe(host, {attributes: true});
    host.addEventListener('toggle', keepInPlace);
  }

  // Where the dialog goes beside: the selection in this frame, else the
  // link under the click, else the click point.
  function anchorRect() {
    const selection = getSelection();
    if (selection && selection.rangeCount > 0 && !selection.isCollapsed) {
      const rect = selection.getRangeAt(0).getBoundingClientRect();
      if (rect.width > 0 || rect.height > 0) return rect;
    }
    const {x, y} = dialog.point;
    const link = document.elementFromPoint(x, y)?.closest?.('a');
    if (link) return link.getBoundingClientRect();
    return {left: x, right: x, top: y, bottom: y};
  }

  // The size the dialog asks for, with the frame's border, as far as the
  // viewport holds it.
  function fitted(width, height) {
    const viewWidth = document.documentElement.clientWidth || innerWidth;
    const viewHeight = document.documentElement.clientHeight || innerHeight;
    return {viewWidth, viewHeight,
            width: Math.round(Math.min(width + 2 * BORDER, viewWidth - 2 * MARGIN)),
            height: Math.round(Math.min(height + 2 * BORDER, viewHeight - 2 * MARGIN))};
  }

  // Below the anchor if there is room, else above, else as low as fits;
  // left edges aligned; always inside the viewport.
  function place(width, height) {
    const size = fitted(width, height);
    const rect = anchorRect();
    let top = rect.bottom + GAP;
    if (top + size.height > size.viewHeight - MARGIN) {
      top = rect.top - GAP - size.height >= MARGIN ? rect.top - GAP - size.height
                                                  : size.viewHeight - MARGIN - size.height;
    }
    const left = Math.min(Math.max(rect.left, MARGIN), size.viewWidth - MARGIN - size.width);
    return {left: Math.round(left), top: Math.round(Math.max(top, MARGIN)),
            width: size.width, height: size.height};
  }

  // A new size where the dialog already is, moved up only as far as needed.
  function resized(box, width, height) {
    const size = fitted(width, height);
    return {left: Math.min(box.left, size.viewWidth - MARGIN - size.width),
            top: Math.max(MARGIN, Math.min(box.top, size.viewHeight - MARGIN - size.height)),
            width: size.width, height: size.height};
  }

  // What the background asks of the frame it is using.
  const HANDLERS = Object.freeze({
    // Shown (the first time, placed beside the anchor) or resized.
    'qmkit-place': (message) => {
      const first = !dialog.shown;
      dialog.box = first ? place(message.width, message.height)
                         : resized(dialog.box, message.width, message.height);
      dialog.shown = true;
      dialog.host.setAttribute('style', hostStyle({...dialog.box, shown: true}));
      if (first) {
        dialog.focusBefore ??= document.activeElement;
        dialog.frame.focus();
        const token = dialog.token;
        // The next frame after the change has been drawn by then.
        requestAnimationFrame(() => setTimeout(() => {
          api.runtime.sendMessage({type: 'qmkit-shown', token,
                                   at: performance.timeOrigin + performance.now()})
              .catch(() => {});
        }, 0));
      }
    },
    // Between two dialogs of one command: out of sight, kept.
    'qmkit-hide': () => {
      giveFocusBack();
      dialog.shown = false;
      dialog.host.setAttribute('style', hostStyle(dialog.box));
    },
    'qmkit-focus': () => { if (dialog.shown) dialog.frame.focus(); },
    // Which half of the view the dialog is in, for a window to keep clear.
    'qmkit-where': () => {
      if (!dialog.shown) return null;
      const viewWidth = document.documentElement.clientWidth || innerWidth;
      return {side: dialog.box.left + dialog.box.width / 2 > viewWidth / 2 ? 'right' : 'left'};
    },
    'qmkit-remove': () => remove(),
  });

  api.runtime.onMessage.addListener((message, sender, reply) => {
    if (!dialog || message?.token !== dialog.token || !Object.hasOwn(HANDLERS, message.type)) {
      return false;
    }
    reply(HANDLERS[message.type](message) ?? null);
    return false;
  });

  // The context menu is opening: a frame made ready for a pick. An open
  // dialog stays, and a second command waits for it.
  addEventListener('contextmenu', (event) => {
    if (!event.isTrusted || dialog?.shown) return;
    remove();
    if (innerWidth < MIN_WIDTH || innerHeight < MIN_HEIGHT || !document.documentElement) return;
    prepare({x: event.clientX, y: event.clientY});
  }, true);

  // A press in the page outside the dialog is Cancel, as Escape is; one
  // while the frame is still hidden means the menu closed without a pick.
  // The frame's going closes its port, which the background takes as
  // Cancel.
  addEventListener('pointerdown', (event) => {
    if (event.isTrusted && dialog && event.button !== 2) remove();
  }, true);
  addEventListener('keydown', (event) => {
    if (!event.isTrusted || !dialog) return;
    if (!dialog.shown || event.key === 'Escape') remove();
  }, true);
  addEventListener('pagehide', () => remove());
})();
