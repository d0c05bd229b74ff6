// The extension's background: the context menu, the page read by a content
// script, and the core (WebAssembly) run on it. The core asks for dialogs,
// messages, tabs and stored ticks; core_requests.js answers each request.
//
// Chromium runs this file as a service worker, Firefox as an event page
// that has loaded qmkit_core.js before it.
'use strict';

if (typeof createQmkit === 'undefined' && typeof importScripts === 'function') {
  importScripts('extension_api.js', 'protocol.js', 'qmkit_core.js', 'core_text.js',
                'page_reader.js', 'dialog_channel.js', 'address_policy.js', 'tabs.js',
                'page_links.js', 'native_host.js', 'stored_ticks.js', 'core_requests.js');
}
const MENU_PREFIX = 'qmkit:';

// The click being run: the page it was made on and its request values.
let currentClick = null;

let corePromise = null;
function core() {
  corePromise ??= createQmkit({
    qmRequestValue: (key) => currentClick?.value(key) ?? null,
    qmAsk: (request) => answerCoreRequest(currentClick, request),
    qmTell: (notice) => takeCoreNotice(currentClick, notice),
  });
  return corePromise;
}

async function menuTable() {
  const module = await core();
  return JSON.parse(module.UTF8ToString(module._qm_menu()));
}

// The fourteen entries under one parent, offered on the page, on a
// selection and on a link, as on the desktop, and in the menu of the
// extension's toolbar button, where the desktop had its Tools menu.
async function createMenus() {
  const menu = await menuTable();
  const contexts = ['page', 'selection', 'link', 'action'];
  await api.contextMenus.removeAll();
  api.contextMenus.create({id: 'qmkit', title: menu.product, contexts});
  for (const entry of menu.entries) {
    api.contextMenus.create({
      id: MENU_PREFIX + entry.word, parentId: 'qmkit', title: entry.title, contexts,
    });
  }
}

// A first installation opens the options page, which greets a newcomer with
// first steps above the catalogue in force.
api.runtime.onInstalled.addListener((details) => {
  createMenus();
  if (details.reason === 'install') api.runtime.openOptionsPage?.().catch(() => {});
});
api.runtime.onStartup?.addListener(() => { createMenus(); });
// A click on the toolbar button itself opens the options.
api.action?.onClicked.addListener(() => { api.runtime.openOptionsPage(); });

// One command at a time: the core has one stack, and a flow waits on it
// for its dialogs. A click during a dialog is run when that one has ended.
let clickQueue = Promise.resolve();

function onMenuClicked(info, tab) {
  if (typeof info.menuItemId !== 'string' || !info.menuItemId.startsWith(MENU_PREFIX)) return;
  const word = info.menuItemId.slice(MENU_PREFIX.length);
  if (currentClick) {
    menuTable().then((menu) => DialogChannel.bringToFront(
        menu.entries.find((entry) => entry.word === word)?.title ?? word));
  }
  const run = clickQueue.then(() => runCommand(word, info, tab));
  clickQueue = run.catch(() => {});
  return run;
}
api.contextMenus.onClicked.addListener(onMenuClicked);

async function runCommand(word, info, tab) {
  const [module, page, stored] = await Promise.all([
    core(),
    readPage(info, tab),
    api.storage.local.get(['catalogue', 'ticks', 'openIn', 'newTabs']),
  ]);
  const values = requestValues(page, stored);
  currentClick = {
    word, tab, info, page, openIn: stored.openIn, newTabs: stored.newTabs,
    value: (key) => (Object.hasOwn(values, key) ? values[key] : null),
    setTick: (key, value) => { values['tick:' + key] = value; },
  };
  try {
    await module.ccall('qm_click', null, ['string'], [word], {async: true});
  } finally {
    currentClick = null;
    await DialogChannel.close(tab?.id);
  }
}

// The values the core reads, by key: the frame and the top window, the
// selection, the active element, the link the menu was opened on, the
// screen, the language, the user's
// catalogue and the remembered ticks (under the keys the core made).
function requestValues(page, stored) {
  const values = {
    'frame.isTop': page.frame.isTop ? 1 : 0,
    'screen.availWidth': page.frame.screen?.availWidth,
    'screen.availHeight': page.frame.screen?.availHeight,
    language: (globalThis.navigator?.language) || 'en-US',
  };
  for (const [which, window] of [['frame', page.frame], ['top', page.top]]) {
    for (const field of ['name', 'href', 'hostname', 'title']) {
      values[`${which}.${field}`] = window[field];
    }
  }
  if (typeof page.frame.selectionText === 'string') {
    values['selection.text'] = page.frame.selectionText;
    values['selection.html'] = page.frame.selectionHtml ?? page.frame.selectionText;
  }
  if (page.frame.active) {
    values['active.tag'] = page.frame.active.tag;
    values['active.outerHtml'] = page.frame.active.outerHtml;
    values['active.innerText'] = page.frame.active.innerText;
  }
  if (page.frame.link) {
    values['link.href'] = page.frame.link.href;
    values['link.text'] = page.frame.link.text;
    values['link.html'] = page.frame.link.html;
  }
  if (typeof stored.catalogue === 'string') values.catalogue = stored.catalogue;
  for (const [key, tick] of Object.entries(wellFormedTicks(stored.ticks))) {
    values['tick:' + key] = tick.value;
  }
  return values;
}

// What the extension's own pages (the options page, the test page) may
// ask: the menu, and a click the way the browser's menu would make it.
// Each handler returns a promise of the reply.
const PAGE_MESSAGE_HANDLERS = Object.freeze({
  menu: () => menuTable(),
  click: (message) => Promise.resolve(onMenuClicked(message.info, message.tab))
      .then(() => ({done: true}), (e) => ({done: false, error: String(e)})),
});

// Whether `sender` is a page of this extension itself, in its top frame:
// never a content script, which runs with the extension's id in a web
// page, nor another extension.
function isOwnPage(sender) {
  return sender?.id === api.runtime.id && typeof sender.url === 'string' &&
      sender.url.startsWith(api.runtime.getURL('')) && (sender.frameId ?? 0) === 0;
}

api.runtime.onMessage.addListener((message, sender, reply) => {
  const type = message?.type;
  if (!isOwnPage(sender) || !Object.hasOwn(PAGE_MESSAGE_HANDLERS, type)) return false;
  PAGE_MESSAGE_HANDLERS[type](message).then(reply);
  return true;
});
