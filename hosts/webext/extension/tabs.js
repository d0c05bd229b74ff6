// The tabs and windows the core's entries open, as the person chose in the
// options: in a tab (reused by window name), or in a window of its own.
'use strict';

// Window names the extension has opened tabs for, kept for the browser's
// session, so that an entry's named window is reused as the desktop reuses it.
const NAMED_TABS_KEY = 'namedTabs';

async function namedTabs() {
  const area = api.storage.session ?? null;
  if (!area) return {store: null, names: {}};
  const stored = await area.get(NAMED_TABS_KEY);
  return {store: area, names: stored[NAMED_TABS_KEY] ?? {}};
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
  if (click.openIn === 'windows' && !/^_(self|top|parent)$/i.test(name)) {
    const opened = await api.windows.create({url, type: 'normal', ...windowBounds(features)});
    return String(opened.tabs?.[0]?.id ?? '');
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
      return String(tab.id);
    } catch {
      // The tab was closed since; open a new one.
    }
  }
  const tab = await api.tabs.create({
    url, windowId: click.tab.windowId, active: true,
    index: typeof click.tab.index === 'number' ? click.tab.index + 1 : undefined,
  });
  if (reusable && store) {
    names[name] = tab.id;
    await store.set({[NAMED_TABS_KEY]: names});
  }
  return String(tab.id);
}

// Brings the tab `window` to the front: the page's own tab, or one that
// openInTab answered.
// eslint-disable-next-line no-unused-vars
async function focusTab(click, window) {
  const tabId = window === Protocol.window.page ? click.tab.id : Number(window);
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
