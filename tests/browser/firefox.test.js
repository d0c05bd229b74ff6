// The extension in firefox-esr, driven over WebDriver BiDi. Puppeteer
// cannot reach an event page's background, so the click goes in through
// the page the extension opens on its first installation, the way the
// extension's own pages pass one on.
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');
const {EXTENSION_DIR, FIREFOX, startServer, openWithSelection} = require('./harness');

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Firefox stops an event page idle for this long (30 s unless told).
const IDLE_MS = 6000;

// Firefox reports about:blank as the address of an extension's page; the
// page itself knows better. A page that is going away answers nothing.
async function addressOf(page) {
  return Promise.race([page.evaluate(() => location.href).catch(() => ''), sleep(1000)]);
}

// The first page whose own address passes `wanted`, within a few seconds.
async function findPage(browser, wanted, what) {
  const deadline = Date.now() + 10000;
  while (Date.now() < deadline) {
    for (const page of await browser.pages()) {
      if (wanted(await addressOf(page) ?? '')) return page;
    }
    await sleep(100);
  }
  throw new Error(`no ${what} page`);
}

function catalogue(origin) {
  return [
    '[ISBN:Local]',
    'shortDescription=Local books',
    `url=${origin}/isbn?code=!s`,
    'windowName=LocalBooks',
    'defaultSelected=yes',
    '',
    '[ISBN:Elsewhere]',
    'shortDescription=Elsewhere',
    `url=${origin}/elsewhere?code=!s`,
    '',
    '[OTHER:Run]',
    'shortDescription=Run a program',
    'command=/bin/true "!S"',
    'URLEncode=n',
    'defaultSelected=yes',
    '',
  ].join('\n');
}

// Runs the entry of `word` on the selection of the page at `pageUrl`, as
// the menu would, and presses OK in the dialog window after `holdMs` (or
// the `keys` given); with `message`, OK in the message that follows too.
// Resolves once the dialog windows are gone.
async function clickEntry(browser, extensionPage, word, pageUrl, selectionText,
                          {holdMs = 0, message = false, keys = null} = {}) {
  const done = extensionPage.evaluate(async (word, pageUrl, selectionText) => {
    const tab = (await browser.tabs.query({})).find((t) => t.url === pageUrl);
    const info = {menuItemId: 'qmkit:' + word, pageUrl, frameId: 0, selectionText};
    return browser.runtime.sendMessage({type: 'click', info, tab});
  }, word, pageUrl, selectionText);
  const dialogWindow = () => findPage(browser, (u) => u.endsWith('/dialog.html'), 'dialog');
  const dialog = await dialogWindow();
  await dialog.waitForSelector('.line');
  const lines = await dialog.$$eval('.line', (rows) => rows.map((r) => r.textContent));
  await sleep(holdMs);
  if (keys) {
    // The last key may close the window before its press has returned.
    for (const key of keys.slice(0, -1)) await dialog.keyboard.press(key);
    await dialog.keyboard.press(keys.at(-1)).catch(() => {});
  } else {
    await dialog.click('#ok');
  }
  let messageText = null;
  if (message) {
    const box = await dialogWindow();
    messageText = await box.$eval('#message:not([hidden]) #message-text', (p) => p.textContent);
    await box.click('#message-ok');
  }
  const answer = await done;
  // Puppeteer keeps a firefox popup's page after it closed: ask the browser.
  while ((await extensionPage.evaluate(() => browser.windows.getAll({windowTypes: ['popup']})))
      .length > 0) {
    await sleep(50);
  }
  return {answer, lines, messageText};
}

test('firefox: the menu, =>ISBN through its dialog window, and a missing helper told',
     {timeout: 90000}, async () => {
  const selection = 'First printed as ISBN 0-306-40615-2 in 1979';
  const server = await startServer({
    '/book.html': `<!DOCTYPE html><title>book</title><p id="pick">${selection}</p>`,
    '/isbn': '<!DOCTYPE html><title>found</title>',
  });
  const home = fs.mkdtempSync(path.join(os.tmpdir(), 'qmkit-firefox-home-'));
  const browser = await puppeteer.launch({
    browser: 'firefox', executablePath: FIREFOX, headless: true,
    extraPrefsFirefox: {'extensions.background.idle.timeout': IDLE_MS},
    // Firefox looks for native hosts under the home folder: none there.
    env: {...process.env, HOME: home},
  });
  try {
    await browser.installExtension(EXTENSION_DIR);
    const extensionPage = await findPage(browser, (u) => u.startsWith('moz-extension:'),
                                         'extension');
    // The background made every entry of the menu: making one again under
    // its id is refused.
    const menu = await extensionPage.evaluate(() => browser.runtime.sendMessage({type: 'menu'}));
    assert.equal(menu.entries.length, 14);
    const refusals = await extensionPage.evaluate((ids) => Promise.all(ids.map((id) => (
      new Promise((resolve) => {
        browser.contextMenus.create({id, title: id, contexts: ['page']},
                                    () => resolve(browser.runtime.lastError?.message ?? ''));
      })))), ['qmkit', ...menu.entries.map((e) => 'qmkit:' + e.word)]);
    assert.ok(refusals.every((m) => /already exists/.test(m)), refusals.join('\n'));

    await extensionPage.evaluate((text) => browser.storage.local.set({catalogue: text}),
                                 catalogue(server.origin));
    const pageUrl = `${server.origin}/book.html`;
    const page = await openWithSelection(browser, pageUrl, '#pick');

    // A person who takes a while over the dialog: the background waits on.
    const first = await clickEntry(browser, extensionPage, 'ISBN', pageUrl, selection,
                                   {holdMs: IDLE_MS * 1.5});
    assert.deepEqual(first.answer, {done: true});
    assert.deepEqual(first.lines, ['Elsewhere', 'Local books']);
    const found = `${server.origin}/isbn?code=0306406152`;
    // The web tabs' addresses, once the found site's tab has its address: a
    // tab just made has it only when its load begins.
    const tabs = () => extensionPage.evaluate(async (wanted) => {
      for (let i = 0; ; ++i) {
        const urls = (await browser.tabs.query({})).map((t) => t.url);
        if (urls.includes(wanted) || i === 250) return urls.filter((u) => u.startsWith('http'));
        await new Promise((resolve) => setTimeout(resolve, 20));
      }
    }, found);
    assert.deepEqual((await tabs()).sort(), [pageUrl, found].sort());

    // The entry's named window is the same tab the next time.
    await clickEntry(browser, extensionPage, 'ISBN', pageUrl, selection);
    assert.deepEqual((await tabs()).sort(), [pageUrl, found].sort());
    assert.equal(server.requests.filter((r) => r.startsWith('/isbn?')).length, 2);

    // The keyboard: from OK to the list, up to the other line, tick it, OK.
    await clickEntry(browser, extensionPage, 'ISBN', pageUrl, selection,
                     {keys: ['Tab', 'Tab', 'ArrowUp', ' ', 'Enter']});
    assert.deepEqual(server.requests.filter((r) => r.startsWith('/elsewhere?')),
                     ['/elsewhere?code=0306406152']);

    // The dialog in its frame beside the selection, made ready by a
    // right-click as the menu opens, and used from the keyboard alone.
    await page.bringToFront();
    const pick = await (await page.$('#pick')).boundingBox();
    await page.mouse.click(pick.x + 10, pick.y + pick.height / 2, {button: 'right'});
    const framed = extensionPage.evaluate(async (pageUrl, selectionText) => {
      const tab = (await browser.tabs.query({})).find((t) => t.url === pageUrl);
      const info = {menuItemId: 'qmkit:ISBN', pageUrl, frameId: 0, selectionText};
      return browser.runtime.sendMessage({type: 'click', info, tab});
    }, pageUrl, selection);
    await page.waitForFunction(() => {
      const host = document.body.nextElementSibling;
      return host && getComputedStyle(host).visibility === 'visible';
    });
    const placed = await page.evaluate(() => {
      const box = document.body.nextElementSibling.getBoundingClientRect();
      return box.top >= document.getElementById('pick').getBoundingClientRect().bottom;
    });
    assert.ok(placed, 'the dialog is under the selection');
    await sleep(300);  // the frame takes the focus once shown
    // Elsewhere is ticked since the last command: untick it and tick it
    // again, then OK.
    for (const key of ['Tab', 'Tab', 'ArrowUp', ' ', ' ']) await page.keyboard.press(key);
    await page.keyboard.down('Enter');
    assert.deepEqual(await framed, {done: true});
    await page.keyboard.up('Enter');
    assert.deepEqual(server.requests.filter((r) => r.startsWith('/elsewhere?')),
                     ['/elsewhere?code=0306406152', '/elsewhere?code=0306406152']);

    // Firefox words a missing native host its own way; the person reads
    // what to do about it all the same.
    const other = await clickEntry(browser, extensionPage, 'OTHER', pageUrl, selection,
                                   {message: true});
    assert.deepEqual(other.lines, ['Run a program']);
    assert.match(other.messageText, /helper that starts programs is not installed/);
  } finally {
    await browser.close();
    await server.close();
    fs.rmSync(home, {recursive: true, force: true});
  }
});
