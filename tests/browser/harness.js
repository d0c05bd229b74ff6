// What the browser tests share: a local web server for the test pages,
// chromium with the extension loaded, and the browser's part in a menu
// click (headless chromium shows no context menu).
'use strict';

const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

const EXTENSION_DIR = process.env.QM_WEBEXT_DIR ||
    path.resolve(__dirname, '../../build/wasm/webext');
const CHROMIUM = process.env.QM_CHROMIUM || '/usr/bin/chromium';
const FIREFOX = process.env.QM_FIREFOX || '/usr/bin/firefox-esr';

// Serves `pages` (path -> HTML) on 127.0.0.1 and records every request.
async function startServer(pages) {
  const requests = [];
  const server = http.createServer((req, res) => {
    requests.push(req.url);
    const page = pages[req.url.split('?')[0]];
    res.writeHead(page === undefined ? 404 : 200, {'content-type': 'text/html; charset=utf-8'});
    res.end(page ?? '<!DOCTYPE html><title>not here</title>');
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const origin = `http://127.0.0.1:${server.address().port}`;
  return {origin, requests, close: () => new Promise((resolve) => server.close(resolve))};
}

function tempProfile() {
  return fs.mkdtempSync(path.join(os.tmpdir(), 'qmkit-chromium-'));
}

async function launchChromium({userDataDir, args = []} = {}) {
  const fresh = !userDataDir || !fs.existsSync(userDataDir) ||
      fs.readdirSync(userDataDir).length === 0;
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    pipe: true,
    enableExtensions: true,
    userDataDir,
    args: ['--no-sandbox', `--disable-extensions-except=${EXTENSION_DIR}`,
           `--load-extension=${EXTENSION_DIR}`, '--no-first-run', ...args],
  });
  const target = await browser.waitForTarget(
      (t) => t.type() === 'service_worker' && t.url().endsWith('/background.js'));
  const worker = await target.worker();
  // A worker caught as it starts may not have the extension's API yet.
  const hasApi = () => worker.evaluate(() =>
    typeof chrome === 'object' && typeof chrome.storage === 'object');
  for (let i = 0; !(await hasApi()); ++i) {
    if (i === 100) throw new Error('the background has no extension API');
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  // URL's origin is "null" for a scheme node does not know.
  const extensionOrigin = target.url().split('/').slice(0, 3).join('/');
  // A first installation opens the options page; the browser may open it in
  // the blank tab a test has just made, which would then be gone under the
  // test's feet. So a fresh profile's options page is let open first.
  if (fresh) {
    await browser.waitForTarget((t) => t.url() === `${extensionOrigin}/options.html`,
                                {timeout: 10000}).catch(() => {});
  }
  return {browser, worker, extensionOrigin};
}

// Opens `url` in a new tab and selects the text of the element `selector`
// (the whole element), as a person would before right-clicking.
async function openWithSelection(browser, url, selector) {
  const page = await browser.newPage();
  await page.goto(url);
  if (selector) {
    await page.evaluate((s) => {
      const range = document.createRange();
      range.selectNodeContents(document.querySelector(s));
      const selection = window.getSelection();
      selection.removeAllRanges();
      selection.addRange(range);
    }, selector);
  }
  return page;
}

// Puts `text` in the element `selector` of `page` and selects it, as a
// person would before right-clicking; no text, no selection.
async function selectText(page, selector, text) {
  await page.evaluate((selector, text) => {
    const element = document.querySelector(selector);
    element.textContent = text;
    const range = document.createRange();
    range.selectNodeContents(element);
    getSelection().removeAllRanges();
    if (text) getSelection().addRange(range);
  }, selector, text);
}

// Plays the browser's part in a click on the menu entry of `word`: the
// extension's own listener gets the click data the browser would pass.
// Resolves when the command has ended (its dialogs answered).
async function clickMenu(worker, word, page, extra = {}) {
  return worker.evaluate(async (word, pageUrl, extra) => {
    const [tab] = await chrome.tabs.query({url: pageUrl.replace(/:\d+\//, '/')});
    const tabs = tab ? [tab] : (await chrome.tabs.query({})).filter((t) => t.url === pageUrl);
    const info = {menuItemId: 'qmkit:' + word, pageUrl, frameId: 0, editable: false, ...extra};
    if (extra.selectionText === undefined) delete info.selectionText;
    await onMenuClicked(info, tabs[0]);
    return true;
  }, word, page.url(), extra);
}

// The dialog window, once the extension has opened it and drawn a dialog.
async function dialogPage(browser, extensionOrigin) {
  const target = await browser.waitForTarget(
      (t) => t.type() === 'page' && t.url() === `${extensionOrigin}/dialog.html`);
  const page = await target.page();
  await page.waitForSelector('#dialog > *, #message:not([hidden])');
  return page;
}

// A person's right-click on the element `selector` of `page` (the whole
// element selected first when `select` is true): the browser's own event,
// which makes the dialog's frame ready in the page. The menu itself is the
// browser's, and headless shows none; clickMenu then plays the pick.
async function rightClick(page, selector, {select = false} = {}) {
  if (select) {
    await page.evaluate((s) => {
      const range = document.createRange();
      range.selectNodeContents(document.querySelector(s));
      getSelection().removeAllRanges();
      getSelection().addRange(range);
    }, selector);
  }
  const box = await (await page.$(selector)).boundingBox();
  await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2, {button: 'right'});
}

// The dialog in its frame beside the selection, once drawn and shown.
async function dialogFrame(page, extensionOrigin, worker) {
  const frame = await page.waitForFrame(
      (f) => f.url().startsWith(`${extensionOrigin}/dialog.html#`));
  await frame.waitForSelector('#dialog > *, #message:not([hidden])');
  for (let i = 0; !await worker.evaluate(() => DialogChannel.shownAt !== null); ++i) {
    if (i === 200) throw new Error('the dialog\'s frame was never shown');
    await new Promise((resolve) => setTimeout(resolve, 25));
  }
  return frame;
}

// Presses the button `selector` of the dialog window, which may close the
// window: the press is made after the call has returned, so that puppeteer
// is not left waiting on a window that is gone.
async function press(dialog, selector) {
  await dialog.$eval(selector, (b) => setTimeout(() => b.click(), 0));
}

// The addresses of all tabs, asked of the extension (puppeteer shows a
// site that cannot load here as chrome-error), once every new tab has one.
async function tabAddresses(worker) {
  return worker.evaluate(async () => {
    for (let i = 0; ; ++i) {
      const urls = (await chrome.tabs.query({})).map((t) => t.pendingUrl || t.url);
      if (!urls.includes('') || i === 100) return urls;
      await new Promise((resolve) => setTimeout(resolve, 20));
    }
  });
}

module.exports = {
  EXTENSION_DIR, CHROMIUM, FIREFOX, startServer, tempProfile, launchChromium,
  openWithSelection, selectText, clickMenu, dialogPage, press, tabAddresses, rightClick,
  dialogFrame,
};
