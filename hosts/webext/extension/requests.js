// What the core asks the extension to do, and the answer it waits for.
// Addresses, names and HTML come from catalogue templates filled with page
// text: they are handled as data, and only web and mail addresses are
// opened or followed.
'use strict';

const NATIVE_HOST = 'com.pellmor.qmkit';
const NATIVE_HOST_MISSING =
    'the helper that starts programs is not installed; see "Commands" in the ' +
    'extension\'s options';

// Window names the extension has opened tabs for, kept for the browser's
// session, so that an entry's named window is reused as the desktop reuses it.
const NAMED_TABS_KEY = 'namedTabs';

function isWebAddress(address) {
  return /^(https?|ftp):/i.test(address);
}

function isOpenable(address) {
  return isWebAddress(address) || /^mailto:/i.test(address);
}

// The address to open for `address`: web and mail addresses as they are, a
// host name such as www.example.com (what a person selects) as https://;
// null for anything else (javascript:, data:, file:, chrome:, a word).
function openableAddress(address) {
  if (isOpenable(address)) return address;
  if (/^[A-Za-z0-9-]+(\.[A-Za-z0-9-]+)+\.?(:\d+)?([/?#][^\s]*)?$/.test(address)) {
    return 'https://' + address;
  }
  return null;
}

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

// Opens `url` as the person chose in the options: in a tab (the tab of
// window `name` when one is still open, else a new tab beside the page), or
// in a window of its own at the entry's size and place. Returns the tab's
// id as text, '' when nothing was opened.
async function openInTab(click, address, name, features) {
  const url = openableAddress(address);
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

function frameOf(click, which) {
  return which === 'top' ? 0 : click.page.frameId;
}

// The link an href entry follows, made as an element (never parsed into the
// page as markup) from the one anchor of the core's fragment.
function insertLink(anchor) {
  const link = document.createElement('a');
  link.id = anchor.id;
  link.href = anchor.href;
  if (anchor.target) link.target = anchor.target;
  link.textContent = anchor.text;
  link.style.display = 'none';
  (document.body ?? document.documentElement).appendChild(link);
  return true;
}

function clickLink(id) {
  const link = document.getElementById(id);
  if (!link) return false;
  link.click();
  return true;
}

function removeElements(id) {
  for (const element of Array.from(document.querySelectorAll('[id]'))) {
    if (element.id === id) element.remove();
  }
  return true;
}

// The anchor of the core's fragment, read with an inert parser; null when
// the fragment is not one anchor to a web or mail address.
function parseAnchor(html) {
  if (typeof DOMParser === 'undefined') return parseAnchorText(html);
  const doc = new DOMParser().parseFromString(html, 'text/html');
  const anchors = doc.body.querySelectorAll('a');
  if (anchors.length !== 1) return null;
  const a = anchors[0];
  const href = a.getAttribute('href') ?? '';
  if (!isOpenable(href)) return null;
  return {id: a.id, href, target: a.getAttribute('target') ?? '', text: a.textContent};
}

// A service worker has no DOMParser: the fragment the core writes is
// `<A ID="..." HREF="..." TARGET="...">text</A>` with its attribute values
// escaped, so it is read by that form alone.
function parseAnchorText(html) {
  const match = /^<A ID="([^"]*)" HREF="([^"]*)" TARGET="([^"]*)">([^<]*)<\/A>$/.exec(html);
  if (!match) return null;
  const unescape = (text) => text.replace(/&(amp|lt|gt|quot|#39);/g, (_, name) => (
    {amp: '&', lt: '<', gt: '>', quot: '"', '#39': '\''}[name]));
  const href = unescape(match[2]);
  if (!isOpenable(href)) return null;
  return {id: unescape(match[1]), href, target: unescape(match[3]), text: unescape(match[4])};
}

async function inFrame(click, which, func, args) {
  try {
    return await runInFrame(click.tab.id, frameOf(click, which), func, args);
  } catch (e) {
    console.info('qmkit: the page refused a change:', String(e));
    return false;
  }
}

async function startCommand(request) {
  try {
    const reply = await api.runtime.sendNativeMessage(NATIVE_HOST, {
      type: 'start', arguments: request.arguments,
    });
    if (reply?.type === 'start' && reply.started === true) return 'ok';
    return String(reply?.error ?? 'the helper gave no answer');
  } catch (e) {
    const text = String(e?.message ?? e);
    if (/not found|no such native application|not installed|forbidden/i.test(text)) {
      return NATIVE_HOST_MISSING;
    }
    return text;
  }
}

async function answerCoreRequest(click, request) {
  if (!click) return '';
  switch (request.kind) {
    case 'dialog':
      return DialogChannel.ask(request);
    case 'dialog-end':
      await DialogChannel.close();
      return '1';
    case 'message':
      return DialogChannel.ask(request, {width: 420, height: 240});
    case 'open':
      return openInTab(click, request.url, request.name, request.features);
    case 'focus': {
      const tabId = request.window === 'page' ? click.tab.id : Number(request.window);
      if (Number.isInteger(tabId)) await api.tabs.update(tabId, {active: true}).catch(() => {});
      return '1';
    }
    case 'navigate':
      if (!isOpenable(request.url)) return '0';
      if (request.window === 'top' || click.page.frame.isTop || /^mailto:/i.test(request.url)) {
        await api.tabs.update(click.tab.id, {url: request.url});
        return '1';
      }
      return (await inFrame(click, request.window, (u) => { location.href = u; return true; },
                            [request.url])) ? '1' : '0';
    case 'remove':
      return (await inFrame(click, request.window, removeElements, [request.id])) ? '1' : '0';
    case 'insert': {
      const anchor = parseAnchor(request.html);
      if (!anchor) return '0';
      return (await inFrame(click, request.window, insertLink, [anchor])) ? '1' : '0';
    }
    case 'click-anchor':
      return (await inFrame(click, request.window, clickLink, [request.name])) ? '1' : '0';
    case 'store': {
      const {ticks = {}} = await api.storage.local.get('ticks');
      for (const {name, value} of request.values) {
        const folded = name.replace(/[A-Z]/g, (c) => c.toLowerCase());
        ticks[folded] = {name, value};
        click.setTick(folded, value);
      }
      await api.storage.local.set({ticks});
      return '1';
    }
    case 'shell-open': {
      const url = openableAddress(request.url);
      if (!url) return '0';
      await api.tabs.create({url, windowId: click.tab.windowId});
      return '1';
    }
    case 'start':
      return startCommand(request);
    case 'help': {
      if (!/^[A-Za-z0-9_-]+\.htm$/.test(request.topic)) return '0';
      await api.tabs.create({url: api.runtime.getURL('help/' + request.topic)});
      return '1';
    }
    default:
      return '';
  }
}
