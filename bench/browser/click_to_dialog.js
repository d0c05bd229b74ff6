// How long a menu click takes to reach the person, over 20 clicks on
// =>ISBN in headless chromium, each dialog cancelled, by both ways the
// extension shows a dialog:
// - the frame beside the selection: a real right-click makes the frame
//   ready (as the context menu opening does), a person's pause, then the
//   pick (the browser's part played in the service worker, as the browser
//   tests do) to the frame shown with the dialog drawn in it (the page's
//   next animation frame after the frame was shown);
// - the window, where no frame could be made ready: the pick to the
//   dialog window's first paint, which is the dialog drawn.
// Then the size of the WebAssembly module the extension loads, as it is
// and gzipped. Run by hand from anywhere:
//   node bench/browser/click_to_dialog.js [CLICKS]
// It needs `npm install` in tests/browser and the extension built
// (build/wasm/webext, or QM_WEBEXT_DIR).
'use strict';

const fs = require('node:fs');
const path = require('node:path');
const zlib = require('node:zlib');
const h = require('../../tests/browser/harness.js');

const CLICKS = Number(process.argv[2] ?? 20);
const SELECTION = 'ISBN 0-306-40615-2';

// The dialog window's page is blank until the dialog arrives (an empty
// main, the message box hidden), so its first contentful paint is the
// dialog, lines and all, drawn. A mutation observer the test puts in the
// page comes too late: puppeteer reaches a new window after its first
// dialog is often already there.
async function drawnAt(dialog) {
  await dialog.waitForSelector('.line');
  return dialog.evaluate(() => new Promise((resolve, reject) => {
    setTimeout(() => reject(new Error('the dialog window never painted')), 10000);
    new PerformanceObserver((list, observer) => {
      const paint = list.getEntries().find((e) => e.name === 'first-contentful-paint');
      if (!paint) return;
      observer.disconnect();
      resolve(performance.timeOrigin + paint.startTime);
    }).observe({type: 'paint', buffered: true});
  }));
}

// The pick, as the browser's menu makes it; resolves with its time.
function pick(worker, tab) {
  return worker.evaluate((tab, selectionText) => {
    const info = {menuItemId: 'qmkit:ISBN', pageUrl: tab.url, frameId: 0, selectionText};
    const at = performance.timeOrigin + performance.now();
    // eslint-disable-next-line no-undef
    globalThis.benchClick = onMenuClicked(info, tab);
    return at;
  }, tab, SELECTION);
}

async function windowClick({browser, worker, dialogUrl, tab}) {
  const before = new Set(browser.targets());
  const clickedAt = await pick(worker, tab);
  const target = await browser.waitForTarget((t) => t.url() === dialogUrl && !before.has(t));
  const dialog = await target.page();
  const drawn = await drawnAt(dialog);
  await h.press(dialog, '#cancel');
  await worker.evaluate(() => globalThis.benchClick);
  return drawn - clickedAt;
}

async function frameClick({worker, page, tab, dialogUrl}) {
  await h.rightClick(page, '#pick', {select: true});
  // The person reads the menu; the frame gets ready meanwhile.
  await new Promise((resolve) => setTimeout(resolve, 400));
  const clickedAt = await pick(worker, tab);
  let shown = null;
  for (let i = 0; i < 1000 && shown === null; ++i) {
    shown = await worker.evaluate(() => DialogChannel.shownAt);  // eslint-disable-line no-undef
    if (shown === null) await new Promise((resolve) => setTimeout(resolve, 2));
  }
  if (shown === null) throw new Error('the frame was never shown (did the window open?)');
  const frame = page.frames().find((f) => f.url().startsWith(`${dialogUrl}#`));
  await h.press(frame, '#cancel');
  await worker.evaluate(() => globalThis.benchClick);
  return shown - clickedAt;
}

function quantile(sorted, q) {
  const at = (sorted.length - 1) * q;
  const low = Math.floor(at);
  return sorted[low] + (sorted[Math.ceil(at)] - sorted[low]) * (at - low);
}

async function main() {
  const wasm = path.join(h.EXTENSION_DIR, 'qmkit_core.wasm');
  if (!fs.existsSync(wasm)) throw new Error(`${wasm} is missing: build the qm_webext target`);
  const server = await h.startServer({
    '/book.html': `<!DOCTYPE html><title>book</title><p id="pick">${SELECTION}</p>`,
  });
  const {browser, worker, extensionOrigin} = await h.launchChromium();
  const times = {frame: [], window: []};
  try {
    const page = await h.openWithSelection(browser, `${server.origin}/book.html`, '#pick');
    await page.setViewport({width: 1000, height: 700});
    await page.bringToFront();
    const tab = await worker.evaluate(async (url) => (
      (await chrome.tabs.query({})).find((t) => t.url === url)), page.url());
    const context = {browser, worker, page, tab, dialogUrl: `${extensionOrigin}/dialog.html`};
    for (let i = 0; i < CLICKS; ++i) {
      times.frame.push(await frameClick(context));
      times.window.push(await windowClick(context));
    }
  } finally {
    await browser.close();
    await server.close();
  }

  const rows = [['clicks', String(CLICKS), String(CLICKS)]];
  const sorted = {frame: [...times.frame].sort((a, b) => a - b),
                  window: [...times.window].sort((a, b) => a - b)};
  const row = (name, of) => rows.push([name, of('frame'), of('window')]);
  const ms = (n) => `${n.toFixed(1)} ms`;
  row('first click', (w) => ms(times[w][0]));
  row('median', (w) => ms(quantile(sorted[w], 0.5)));
  row('25th to 75th percentile', (w) => `${quantile(sorted[w], 0.25).toFixed(1)} to ` +
                                         ms(quantile(sorted[w], 0.75)));
  row('fastest to slowest', (w) => `${sorted[w][0].toFixed(1)} to ${ms(sorted[w].at(-1))}`);
  const bytes = fs.readFileSync(wasm);
  console.log('Menu click to the =>ISBN dialog shown, headless chromium');
  const width = Math.max(...rows.map(([name]) => name.length));
  const column = Math.max(...rows.map(([, frame]) => frame.length), 'frame beside'.length);
  console.log(`  ${''.padEnd(width)}  ${'frame beside'.padEnd(column)}  window`);
  for (const [name, frame, window] of rows) {
    console.log(`  ${name.padEnd(width)}  ${frame.padEnd(column)}  ${window}`);
  }
  console.log(`  qmkit_core.wasm ${(bytes.length / 1024).toFixed(0)} KiB, gzipped (level 9) ` +
              `${(zlib.gzipSync(bytes, {level: 9}).length / 1024).toFixed(0)} KiB`);
}

main().catch((e) => {
  console.error(e);
  process.exitCode = 1;
});
