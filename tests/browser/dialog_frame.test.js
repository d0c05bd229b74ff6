// The dialog beside the selection, in the frame the content script makes
// ready when the context menu opens: where it appears, the keyboard in it,
// what ends it, a second command while it is open, and a page that tries
// to read, cover or press it.
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const h = require('./harness.js');

const PAGE = '<!DOCTYPE html><title>page</title>' +
  '<p style="margin: 160px 0 0 240px" id="s">ISBN 0-306-40615-2</p>' +
  '<p id="far" style="margin-top: 1200px">end</p>';
const SELECTION = 'ISBN 0-306-40615-2';
const ISBN_SITES = ['https://www.bookfinder.com/search/?isbn=0306406152&mode=isbn&st=sr&ac=qr',
                    'https://openlibrary.org/isbn/0306406152'];

async function withPage(run) {
  const server = await h.startServer({'/page': PAGE, '/other': PAGE});
  const {browser, worker, extensionOrigin} = await h.launchChromium();
  try {
    const page = await h.openWithSelection(browser, `${server.origin}/page`, null);
    await page.setViewport({width: 1000, height: 700});
    await worker.evaluate(() => chrome.storage.local.remove('ticks'));
    // Right-click on the selection, pick =>ISBN: the dialog in its frame.
    const open = async (word = 'ISBN') => {
      await within(h.rightClick(page, '#s', {select: true}), 'the right-click');
      const done = h.clickMenu(worker, word, page, {selectionText: SELECTION});
      const frame = await within(h.dialogFrame(page, extensionOrigin, worker), 'the dialog');
      return {frame, done};
    };
    await run({browser, worker, extensionOrigin, server, page, open});
  } finally {
    await browser.close();
    await server.close();
  }
}

// `promise`, or a failure that names `what` when it has not settled in
// 20 s: a step that never ends says which it was.
function within(promise, what) {
  let timer;
  const late = new Promise((resolve, reject) => {
    timer = setTimeout(() => reject(new Error(`${what}: not done in 20 s`)), 20000);
  });
  return Promise.race([promise, late]).finally(() => clearTimeout(timer));
}

// Presses `key` in the dialog, which ends it, and waits for its command
// (`done`). The protocol may wait for ever for a frame on its way out to
// take the key, down or up (the up hung about one run in seven on a busy
// machine): the command's end is what counts, and the key's up is sent
// without waiting for it.
async function endingKey(page, key, done) {
  const pressed = page.keyboard.down(key).catch(() => {});
  await within(Promise.race([pressed.then(() => done), done]), `the command after ${key}`);
  page.keyboard.up(key).catch(() => {});
}

// The web addresses of the tabs other than the page, in tab-strip order.
// (once every new tab has its address).
async function siteTabs(worker) {
  const urls = await worker.evaluate(async () => {
    for (let i = 0; ; ++i) {
      const tabs = (await chrome.tabs.query({})).sort((a, b) => a.index - b.index);
      const urls = tabs.map((t) => t.pendingUrl || t.url);
      if (!urls.includes('') || i === 100) return urls;
      await new Promise((resolve) => setTimeout(resolve, 20));
    }
  });
  return urls.filter((u) => /^https:/.test(u));
}

test('the dialog appears beside the selection and works from the keyboard', {timeout: 90000},
     async () => {
  await withPage(async ({worker, page, open}) => {
    const {frame, done} = await open();
    // What the page can find of the dialog: its host element after the
    // body, and nothing inside it.
    const placed = await page.evaluate(() => {
      const host = document.body.nextElementSibling;
      const box = host.getBoundingClientRect();
      const selection = document.querySelector('#s').getBoundingClientRect();
      return {below: box.top >= selection.bottom, left: Math.round(box.left - selection.left),
              inside: box.left >= 0 && box.top >= 0 && box.right <= innerWidth &&
                  box.bottom <= innerHeight,
              height: box.height, shadow: host.shadowRoot,
              frames: document.querySelectorAll('iframe').length};
    });
    assert.deepEqual({...placed, height: placed.height > 200}, {
      below: true, left: 0, inside: true, height: true, shadow: null, frames: 0});
    // The keys go to the dialog at once: OK has the focus, as in Windows,
    // and Tab, Tab reaches the list.
    assert.equal(await frame.evaluate(() => document.hasFocus() && document.activeElement.id),
                 'ok');
    await page.keyboard.press('Tab');
    await page.keyboard.press('Tab');
    await page.keyboard.press('End');
    await page.keyboard.press('Space');
    await frame.waitForFunction(() => document.querySelector('.line:last-child')
        ?.getAttribute('aria-checked') === 'true');
    await page.keyboard.press('Space');
    await frame.waitForFunction(() => document.querySelector('.line:last-child')
        ?.getAttribute('aria-checked') === 'false');
    await endingKey(page, 'Enter', done);
    assert.deepEqual(await siteTabs(worker), ISBN_SITES);
    assert.equal(await page.evaluate(() => document.body.nextElementSibling), null);
  });
});

test('Escape, a click outside, leaving the page and a page that tries to take the dialog',
     {timeout: 120000}, async () => {
  await withPage(async ({worker, extensionOrigin, browser, server, page, open}) => {
    const ended = async (done, key) => {
      if (key) await within(endingKey(page, key, done), `${key} in the dialog`);
      await within(done, 'the command');
      assert.deepEqual(await within(siteTabs(worker), 'the tabs'), [],
                       'a cancelled dialog opens nothing');
      assert.equal(await within(page.evaluate(() => document.body.nextElementSibling), 'the page'),
                   null);
    };

    // Escape.
    let {done} = await open();
    await ended(done, 'Escape');

    // A page that covers the dialog, restyles it, reads it and sends it
    // events of its own: it stays, in sight, unreadable, unmoved.
    ({done} = await open());
    const attempts = await page.evaluate(() => {
      const host = document.body.nextElementSibling;
      const cover = document.createElement('div');
      cover.style.cssText = 'position: fixed; inset: 0; z-index: 2147483647';
      // After the host, so on top of it but for the top layer.
      document.documentElement.append(cover);
      host.style.opacity = '0';
      host.style.left = '-5000px';
      host.hidePopover();
      host.removeAttribute('popover');
      document.dispatchEvent(new KeyboardEvent('keydown', {key: 'Escape', bubbles: true}));
      document.body.dispatchEvent(new PointerEvent('pointerdown', {bubbles: true}));
      host.dispatchEvent(new MouseEvent('click', {bubbles: true}));
      let read = 'refused';
      try {
        read = String(frames[frames.length - 1].document.body.innerHTML);
      } catch {
        // another origin
      }
      return new Promise((resolve) => setTimeout(() => {
        const box = host.getBoundingClientRect();
        const top = document.elementFromPoint(box.left + box.width / 2, box.top + box.height / 2);
        cover.remove();
        resolve({read, onTop: top === host, opacity: getComputedStyle(host).opacity,
                 inView: box.left >= 0, open: host.isConnected});
      }, 100));
    });
    assert.deepEqual(attempts,
                     {read: 'refused', onTop: true, opacity: '1', inView: true, open: true});
    // A click outside.
    await within(page.mouse.click(20, 20), 'the click outside');
    await ended(done);

    // Leaving the page.
    ({done} = await open());
    await within(page.goto(`${server.origin}/other`), 'leaving the page');
    await ended(done);

    // A second command waits, and the open dialog says so; once it is
    // cancelled, the second runs, in a window centred on the browser's
    // (its menu was never opened in the page).
    let frame;
    ({done, frame} = await open());
    const second = h.clickMenu(worker, 'URL', page);
    await frame.waitForFunction(() => {
      const note = document.querySelector('#waiting');
      return !note.hidden && /^"=>URL" waits until this dialog is closed\.$/.test(note.textContent);
    });
    await h.press(frame, '#cancel');
    await done;
    const dialog = await h.dialogPage(browser, extensionOrigin);
    const windows = await worker.evaluate(async () => (await chrome.windows.getAll())
        .map((w) => ({type: w.type, left: w.left, top: w.top, width: w.width, height: w.height})));
    const main = windows.find((w) => w.type === 'normal');
    const popup = windows.find((w) => w.type === 'popup');
    const centre = (w) => [w.left + w.width / 2, w.top + w.height / 2];
    const [dx, dy] = centre(popup).map((c, i) => Math.abs(c - centre(main)[i]));
    assert.ok(dx <= 2 && dy <= 40, `the window is centred: ${JSON.stringify(windows)}`);
    await h.press(dialog, '#cancel');
    await second;
  });
});

test('Help opens beside the dialog, on the other side, and the dialog stays in sight',
     {timeout: 60000}, async () => {
  await withPage(async ({worker, page, open}) => {
    // Help from the dialog with the selection at `margin` in the page: the
    // help window's address and its left edge in the browser window.
    const help = async (margin) => {
      await page.$eval('#s', (e, m) => { e.style.marginLeft = m; }, margin);
      const {frame, done} = await open();
      await frame.click('#help');
      const opened = await worker.evaluate(async () => {
        for (let i = 0; i < 100; ++i) {
          const popups = await chrome.windows.getAll({populate: true, windowTypes: ['popup']});
          const [browserWindow] = await chrome.windows.getAll({windowTypes: ['normal']});
          if (popups.length > 0 && popups[0].tabs[0]) {
            const tab = popups[0].tabs[0];
            await chrome.windows.remove(popups[0].id);
            return {url: tab.pendingUrl || tab.url, left: popups[0].left - browserWindow.left};
          }
          await new Promise((resolve) => setTimeout(resolve, 20));
        }
        return {};
      });
      const [active] = await worker.evaluate(() =>
        chrome.tabs.query({active: true, windowType: 'normal'}));
      const shown = await page.evaluate(() => document.body.nextElementSibling !== null);
      await page.bringToFront();
      await frame.click('#cancel');
      await done;
      return {...opened, pageInFront: active.url === page.url(), shown};
    };
    // A dialog in the left half of the page has its help on the right, and
    // one in the right half on the left, at the window's edge.
    const onLeft = await help('40px');
    const onRight = await help('560px');
    assert.match(onLeft.url, /\/help\/.+\.htm$/);
    assert.deepEqual([onLeft.pageInFront, onLeft.shown, onRight.pageInFront, onRight.shown],
                     [true, true, true, true]);
    assert.ok(onLeft.left > 16, `help at ${onLeft.left}`);
    assert.equal(onRight.left, 16);
  });
});
