// Pictures of the extension's dialog window and of its options page as a
// first install opens it, for the README, taken in headless chromium:
// docs/screenshots/webext-*.png, and each again in the dark colour scheme as
// webext-*-dark.png. Build the extension
// first (cmake --build --preset wasm) and run `npm ci --prefix tests/browser`.
//   node tools/webext-screenshots.js
'use strict';

const path = require('node:path');
const h = require('../tests/browser/harness.js');

const OUT = path.resolve(__dirname, '../docs/screenshots');

// Each picture: the entry, the selection, and what to do before the
// picture is taken.
const SHOTS = [
  // The list from the keyboard: a line highlighted, another ticked.
  {file: 'webext-isbn.png', word: 'ISBN', selection: 'ISBN 0-306-40615-2',
   before: async (dialog) => {
     await dialog.focus('#list');
     for (const key of ['ArrowDown', 'ArrowDown', ' ', 'ArrowDown']) await dialog.keyboard.press(key);
     await dialog.waitForFunction(() => current !== null && waiting.length === 0);
   }},
  {file: 'webext-book-cjk.png', word: 'BOOK', selection: '東京タワー 北京烤鸭'},
  {file: 'webext-currency.png', word: 'CURRENCY', selection: '€12.50'},
  {file: 'webext-convert.png', word: 'CONVERT', selection: '12.5 km', before: async (dialog) => {
    await dialog.click('#calculate');
    await dialog.waitForFunction(() => document.querySelector('#result')?.textContent !== '');
  }},
  {file: 'webext-about.png', word: 'CONFIG', selection: ''},
  // OK on a text that is no ISBN: the dialog stays, with a message over it.
  {file: 'webext-message.png', word: 'ISBN', selection: 'not a number', message: true,
   before: async (dialog) => {
     await h.press(dialog, '#ok');
     await dialog.waitForSelector('#message:not([hidden])');
   }},
];

// The dialog beside its selection, on a page as a person sees it: the
// whole view, in a browser started in each colour scheme (the dialog's
// frame follows the browser's, not an emulation of the page's).
const BESIDE_PAGE = '<!DOCTYPE html><meta charset="utf-8"><title>A book</title>' +
  '<body style="font: 16px/1.5 serif; max-width: 40em; margin: 2em auto">' +
  '<h1>The Physics of Everyday Things</h1><p>First published in 1979, this edition ' +
  'carries the number <span id="s">ISBN 0-306-40615-2</span> on its back cover. ' +
  'It is still in print, and many libraries hold it.</p>' +
  '<p>Reviewers praised its clear drawings and its patient explanations.</p></body>';
const BESIDE_SHOTS = [
  {file: 'webext-beside.png', args: ['--force-light-mode']},
  {file: 'webext-beside-dark.png', args: ['--force-dark-mode']},
];

async function besideShots() {
  const server = await h.startServer({'/book': BESIDE_PAGE});
  try {
    for (const shot of BESIDE_SHOTS) {
      const {browser, worker, extensionOrigin} = await h.launchChromium({args: shot.args});
      try {
        const page = await browser.newPage();
        await page.setViewport({width: 900, height: 620});
        await page.goto(`${server.origin}/book`);
        await h.rightClick(page, '#s', {select: true});
        const done = h.clickMenu(worker, 'ISBN', page, {selectionText: 'ISBN 0-306-40615-2'});
        const frame = await h.dialogFrame(page, extensionOrigin, worker);
        await frame.waitForFunction(() => current !== null && waiting.length === 0);
        await page.screenshot({path: path.join(OUT, shot.file)});
        console.log(path.join('docs/screenshots', shot.file));
        await page.keyboard.press('Escape');
        await done;
      } finally {
        await browser.close();
      }
    }
  } finally {
    await server.close();
  }
}

// The options page of a fresh profile, whole, in each colour scheme.
const OPTIONS_SHOTS = [
  {file: 'webext-options.png', scheme: 'light'},
  {file: 'webext-options-dark.png', scheme: 'dark'},
];

(async () => {
  const pages = {'/page': '<!DOCTYPE html><meta charset="utf-8"><title>Page</title><p id="s"></p>'};
  const server = await h.startServer(pages);
  const {browser, worker, extensionOrigin} = await h.launchChromium();
  try {
    for (const shot of SHOTS) {
      const page = await browser.newPage();
      await page.goto(`${server.origin}/page`);
      await h.selectText(page, '#s', shot.selection);
      const done = h.clickMenu(worker, shot.word, page);
      const dialog = await h.dialogPage(browser, extensionOrigin);
      if (shot.before) await shot.before(dialog);
      // The window as the extension fits it: the dialog's own size.
      const size = await dialog.evaluate(() => {
        const box = document.getElementById('dialog').getBoundingClientRect();
        return {width: Math.ceil(box.width), height: Math.ceil(box.bottom)};
      });
      await dialog.setViewport(size);
      for (const [scheme, file] of [['light', shot.file],
                                    ['dark', shot.file.replace(/\.png$/, '-dark.png')]]) {
        await dialog.emulateMediaFeatures([{name: 'prefers-color-scheme', value: scheme}]);
        await dialog.screenshot({path: path.join(OUT, file)});
        console.log(path.join('docs/screenshots', file));
      }
      if (shot.message) {
        await h.press(dialog, '#message-ok');
        await dialog.waitForSelector('#message[hidden]');
      }
      await h.press(dialog, (await dialog.$('#cancel')) ? '#cancel' : '#ok');
      await done;
      await page.close();
    }
    for (const shot of OPTIONS_SHOTS) {
      const page = await browser.newPage();
      await page.setViewport({width: 1000, height: 900});
      await page.emulateMediaFeatures([{name: 'prefers-color-scheme', value: shot.scheme}]);
      await page.goto(`${extensionOrigin}/options.html`);
      await page.waitForSelector('body[data-ready="1"]');
      await page.screenshot({path: path.join(OUT, shot.file), fullPage: true});
      console.log(path.join('docs/screenshots', shot.file));
      await page.close();
    }
  } finally {
    await browser.close();
    await server.close();
  }
  await besideShots();
})().catch((error) => {
  console.error(error);
  process.exit(1);
});
