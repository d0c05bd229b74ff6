// The tabs and windows the core's entries open, as the person chose in the
// options: in a tab (reused by window name), or in a window of its own; in
// the foreground or behind the page.
'use strict';

// Where the sites of one click go in the tab strip and which of them comes
// to the front. The click (background.js) carries `newTabs`, the stored
// choice: 'background' keeps the page in front; anything else brings the
// first site forward, as a browser does with the first of several links.
function tabPlacement(click) {
  click.placement ??= {
    inFront: click.newTabs !== 'background',
    // The index of the next new tab: right of the page, then right of the
    // last one this click opened, so the sites keep their order.
    nextIndex: typeof click.tab.index === 'number' ? click.tab.index + 1 : undefined,
    // The tab that comes to the front; null until the first site opens.
    frontTab: null,
  };
  return click.placement;
}

// Notes that `tabId` was opened (or reused) for the click: when sites come
// to the front, the first such tab is the one that does.
function noteOpened(placement, tabId) {
  if (placement.inFront) placement.frontTab ??= tabId;
}

// Window names the extension has opened tabs for, kept for the browser's
// session, so that an entry's named window is reused as the desktop reuses it.
const NAMED_TABS_KEY = 'namedTabs';

async function namedTabs() {
  const area = api.storage.session ?? null;
  if (!area) return {store: null, names: {}};
  const stored = (await area.get(NAMED_TABS_KEY))[NAMED_TABS_KEY];
  // Only names of tabs, by their ids, are kept; anything else is damage.
  const names = {};
  const whole = stored !== null && typeof stored === 'object' && !Array.isArray(stored);
  let damaged = stored !== undefined && !whole;
  for (const [name, id] of Object.entries(whole ? stored : {})) {
    if (Number.isInteger(id)) {
      names[name] = id;
    } else {
      damaged = true;
    }
  }
  if (damaged) tellStorageDamage('Window names');
  return {store: area, names};
}

// The size and place a features text ("left=20,top=23,width=960,...")
// gives a new window, as far as it gives them.
function windowBounds(features) {
  const bounds = {};
  for (const part of String(features).split(',')) {
    const [key, value] = part.split('=').map((s) => s.trim().toLowerCase());
    const number = Number.parseInt(value, 10);
    if (['left', 'top', 'width', 'height'].includes(key) && Number.isFinite(number)) {
      bounds[key] = key === 'width' || key === 'height' ? Math.max(number, 100) : number;
    }
  }
  return bounds;
}

// Opens `address` as the person chose in the options: in a tab (the tab of
// window `name` when one is still open, else a new tab beside the page), or
// in a window of its own at the entry's size and place. Returns the tab's
// id as text, '' when nothing was opened.
// eslint-disable-next-line no-unused-vars
async function openInTab(click, address, name, features) {
  const url = await openableAddress(address);
  if (!url) return '';
  const placement = tabPlacement(click);
  if (click.openIn === 'windows' && !/^_(self|top|parent)$/i.test(name)) {
    const create = {url, type: 'normal', ...windowBounds(features)};
    if (!placement.inFront || placement.frontTab !== null) create.focused = false;
    const opened = await api.windows.create(create).catch((e) => {
      // A browser that cannot open a window behind the others opens it in front.
      if (create.focused !== false) throw e;
      const {focused, ...inFront} = create;  // eslint-disable-line no-unused-vars
      return api.windows.create(inFront);
    });
    const tabId = opened.tabs?.[0]?.id;
    if (tabId !== undefined) noteOpened(placement, tabId);
    return String(tabId ?? '');
  }
  const reusable = name && !/^_(blank|new)$/i.test(name);
  if (/^_(self|top|parent)$/i.test(name)) {
    await api.tabs.update(click.tab.id, {url});
    return String(click.tab.id);
  }
  const {store, names} = reusable ? await namedTabs() : {store: null, names: {}};
  if (reusable && names[name] !== undefined) {
    try {
      const tab = await api.tabs.update(names[name], {url});
      noteOpened(placement, tab.id);
      return String(tab.id);
    } catch {
      // The tab was closed since; open a new one.
    }
  }
  const tab = await api.tabs.create({
    url, windowId: click.tab.windowId, index: placement.nextIndex,
    active: placement.inFront && placement.frontTab === null,
  });
  if (typeof tab.index === 'number') placement.nextIndex = tab.index + 1;
  noteOpened(placement, tab.id);
  if (reusable && store) {
    names[name] = tab.id;
    try {
      await store.set({[NAMED_TABS_KEY]: names});
    } catch (e) {
      // The tab is open all the same; only its reuse is lost.
      console.warn('qmkit: the window name could not be kept:', String(e));
    }
  }
  return String(tab.id);
}

// Brings the tab `window` to the front: the page's own tab, or one that
// openInTab answered when it is the click's front tab (the core asks for
// every site it opens; only the first goes forward, and none when sites
// open behind the page).
// eslint-disable-next-line no-unused-vars
async function focusTab(click, window) {
  const page = window === Protocol.window.page;
  const tabId = page ? click.tab.id : Number(window);
  if (!page && tabId !== tabPlacement(click).frontTab) return;
  if (Number.isInteger(tabId)) await api.tabs.update(tabId, {active: true}).catch(() => {});
}

// Opens `address` in a new tab of the page's window, as the desktop's shell
// would open it; false when it must not be opened.
// eslint-disable-next-line no-unused-vars
async function openForShell(click, address) {
  const url = await openableAddress(address);
  if (!url) return false;
  await api.tabs.create({url, windowId: click.tab.windowId});
  return true;
}

// Opens a help page in a small window of its own over the browser window,
// on the side the dialog is not, so that the dialog it explains stays in
// sight (a tab would hide the page and the dialog with it).
// eslint-disable-next-line no-unused-vars
async function openHelp(click, url) {
  const [outer, dialogSide] = await Promise.all([
    click?.tab ? api.windows.get(click.tab.windowId).catch(() => null) : null,
    DialogChannel.side(),
  ]);
  const create = {url, type: 'popup', width: 560, height: 640};
  if (outer?.left !== undefined) {
    create.height = Math.max(300, Math.min(640, outer.height - 80));
    const rightEdge = outer.left + outer.width - create.width - 16;
    create.left = dialogSide === 'right' ? outer.left + 16 : Math.max(0, rightEdge);
    create.top = outer.top + 64;
  }
  await api.windows.create(create);
}
