// How long a menu click takes to reach the person: from the click (the
// browser's part played in the service worker, as the browser tests do) to
// the dialog drawn in its window, over 20 clicks on =>ISBN in headless
// chromium, each dialog cancelled; then the size of the WebAssembly module
// the extension loads, as it is and gzipped. Run by hand from anywhere:
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

async function oneClick(browser, worker, dialogUrl, tab) {
  const before = new Set(browser.targets());
  const clickedAt = await worker.evaluate((tab, selectionText) => {
    const info = {menuItemId: 'qmkit:ISBN', pageUrl: tab.url, frameId: 0, selectionText};
    const at = performance.timeOrigin + performance.now();
    // eslint-disable-next-line no-undef
    globalThis.benchClick = onMenuClicked(info, tab);
    return at;
  }, tab, SELECTION);
  const target = await browser.waitForTarget((t) => t.url() === dialogUrl && !before.has(t));
  const dialog = await target.page();
  const drawn = await drawnAt(dialog);
  await h.press(dialog, '#cancel');
  await worker.evaluate(() => globalThis.benchClick);
  return drawn - clickedAt;
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
  const times = [];
  try {
    const page = await h.openWithSelection(browser, `${server.origin}/book.html`, '#pick');
    const tab = await worker.evaluate(async (url) => (
      (await chrome.tabs.query({})).find((t) => t.url === url)), page.url());
    for (let i = 0; i < CLICKS; ++i) {
      times.push(await oneClick(browser, worker, `${extensionOrigin}/dialog.html`, tab));
    }
  } finally {
    await browser.close();
    await server.close();
  }

  const sorted = [...times].sort((a, b) => a - b);
  const bytes = fs.readFileSync(wasm);
  const rows = [
    ['clicks', String(times.length)],
    ['first click', `${times[0].toFixed(1)} ms`],
    ['median', `${quantile(sorted, 0.5).toFixed(1)} ms`],
    ['25th to 75th percentile', `${quantile(sorted, 0.25).toFixed(1)} to ` +
                                `${quantile(sorted, 0.75).toFixed(1)} ms`],
    ['fastest to slowest', `${sorted[0].toFixed(1)} to ${sorted.at(-1).toFixed(1)} ms`],
    ['qmkit_core.wasm', `${(bytes.length / 1024).toFixed(0)} KiB`],
    ['gzipped (level 9)', `${(zlib.gzipSync(bytes, {level: 9}).length / 1024).toFixed(0)} KiB`],
  ];
  console.log('Menu click to the =>ISBN dialog drawn, headless chromium');
  const width = Math.max(...rows.map(([name]) => name.length));
  for (const [name, value] of rows) console.log(`  ${name.padEnd(width)}  ${value}`);
}

main().catch((e) => {
  console.error(e);
  process.exitCode = 1;
});
