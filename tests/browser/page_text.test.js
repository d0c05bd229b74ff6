// Page text on its way through the extension: Chinese and Japanese text
// reaches a UTF-8 site whole, and hostile text (quotes, markup, a very long
// selection) is only ever text: in the dialog window, in the address, in
// the page.
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const h = require('./harness.js');

// A user catalogue whose SEARCH category is one site on the test server.
function catalogue(origin) {
  return [
    '[SEARCH:Local]',
    'shortDescription=The test server',
    `url=${origin}/search?q=!s`,
    'charset=utf-8',
    'windowName=LocalSearch',
    'defaultSelected=yes',
    '',
    // A link followed from the page, with the text inserted as it is.
    '[SEARCH:Follow]',
    'shortDescription=A link on the test server',
    `href=${origin}/follow?q=!s`,
    'URLEncode=n',
    'defaultSelected=yes',
    '',
  ].join('\n');
}

const HOSTILE = '"><img src=x onerror="window.pwned=1"><b id="bold">bold</b> ' +
    '\'; $(touch /tmp/qmkit-pwned) `id` & <script>window.pwned=2</script>';

test('page text reaches the site whole and never as markup', {timeout: 120000}, async (t) => {
  const pages = {};
  const server = await h.startServer(pages);
  const {browser, worker, extensionOrigin} = await h.launchChromium();
  t.after(async () => {
    await browser.close();
    await server.close();
  });
  await worker.evaluate((text) => chrome.storage.local.set({catalogue: text}),
                        catalogue(server.origin));

  // Clicks SEARCH on a page whose paragraph holds `text` (set as text, so
  // the page itself is not hurt), confirms the dialog and returns the edit
  // box's text and the markup the dialog window had; resolves once the
  // site was asked.
  async function search(text) {
    pages['/page'] = '<!DOCTYPE html><meta charset="utf-8"><title>T</title><p id="s"></p>';
    const page = await browser.newPage();
    await page.goto(`${server.origin}/page`);
    await page.evaluate((value) => {
      const p = document.getElementById('s');
      p.textContent = value;
      const range = document.createRange();
      range.selectNodeContents(p);
      getSelection().removeAllRanges();
      getSelection().addRange(range);
    }, text);
    const elementsBefore = await page.evaluate(() => document.querySelectorAll('*').length);
    const asked = server.requests.length;
    const done = h.clickMenu(worker, 'SEARCH', page);
    const dialog = await h.dialogPage(browser, extensionOrigin);
    const edit = await dialog.$eval('#text', (input) => input.value);
    await h.press(dialog, '#ok');
    await done;
    for (let i = 0; i < 200 && server.requests.length < asked + 2; ++i) {
      await new Promise((resolve) => setTimeout(resolve, 25));
    }
    const request = server.requests.slice(asked).find((u) => u.startsWith('/search?q='));
    const followed = server.requests.slice(asked).find((u) => u.startsWith('/follow?q='));
    const pageState = await page.evaluate(() => ({
      pwned: window.pwned ?? null, elements: document.querySelectorAll('*').length,
    }));
    await page.close();
    return {edit, request, followed, pageState, elementsBefore};
  }

  await t.test('Chinese and Japanese text reaches a UTF-8 site whole', async () => {
    const text = '東京タワー 北京烤鸭 𠮷野家';
    const seen = await search(text);
    assert.equal(seen.edit, text);
    assert.ok(seen.request, 'the site was asked');
    assert.equal(decodeURIComponent(seen.request.slice('/search?q='.length)), text);
  });

  await t.test('hostile text stays text everywhere', async () => {
    const seen = await search(HOSTILE);
    assert.equal(seen.edit, HOSTILE.replace(/\s+/g, ' '));
    assert.ok(seen.request, 'the site was asked');
    assert.match(seen.request, /^\/search\?q=[A-Za-z0-9%._~*'()!-]*$/,
                 'every special character of the text is percent-encoded');
    assert.equal(decodeURIComponent(seen.request.slice('/search?q='.length)),
                 HOSTILE.replace(/\s+/g, ' '));
    assert.ok(seen.followed, 'the link was followed');
    assert.equal(seen.pageState.pwned, null, 'nothing of the text ran in the page');
    assert.equal(seen.pageState.elements, seen.elementsBefore + 1,
                 'the one link followed is all that was added to the page');
  });

  await t.test('a very long selection is shown whole and read as the edit box reads it',
               async () => {
    const text = 'quill '.repeat(40000);
    const seen = await search(text);
    assert.equal(seen.edit, text.trim());
    assert.equal(decodeURIComponent(seen.request.slice('/search?q='.length)),
                 text.slice(0, 1023));
  });
});

test('a selection in a frame: the frame and its top page are told apart', {timeout: 60000},
     async (t) => {
  const pages = {
    '/top': '<!DOCTYPE html><meta charset="utf-8"><title>Top page</title>' +
            '<iframe src="/inner" name="reader"></iframe>',
    '/inner': '<!DOCTYPE html><meta charset="utf-8"><title>Inner page</title>' +
              '<p id="s">Moby Dick</p>',
  };
  const server = await h.startServer(pages);
  const {browser, worker, extensionOrigin} = await h.launchChromium();
  t.after(async () => {
    await browser.close();
    await server.close();
  });
  await worker.evaluate((text) => chrome.storage.local.set({catalogue: text}), [
    '[SEARCH:Frames]',
    'shortDescription=Frame and top',
    `url=${server.origin}/frames?q=!s&frame=!u&top=!U&ft=!t&tt=!T`,
    'defaultSelected=yes',
    ''].join('\n'));
  const page = await browser.newPage();
  await page.goto(`${server.origin}/top`);
  const frame = page.frames().find((f) => f.url().endsWith('/inner'));
  await frame.evaluate(() => {
    const range = document.createRange();
    range.selectNodeContents(document.getElementById('s'));
    getSelection().addRange(range);
  });
  // The frame's id as the browser gives it in the click data.
  const frameId = await worker.evaluate(async (pageUrl) => {
    const [tab] = (await chrome.tabs.query({})).filter((x) => x.url === pageUrl);
    const results = await chrome.scripting.executeScript(
        {target: {tabId: tab.id, allFrames: true}, func: () => location.pathname});
    return results.find((r) => r.result === '/inner').frameId;
  }, page.url());
  const done = h.clickMenu(worker, 'SEARCH', page,
                           {frameId, frameUrl: `${server.origin}/inner`});
  const dialog = await h.dialogPage(browser, extensionOrigin);
  assert.equal(await dialog.$eval('#text', (input) => input.value), 'Moby Dick');
  await h.press(dialog, '#ok');
  await done;
  for (let i = 0; i < 200 && !server.requests.some((u) => u.startsWith('/frames')); ++i) {
    await new Promise((resolve) => setTimeout(resolve, 25));
  }
  const asked = new URL(server.requests.find((u) => u.startsWith('/frames')), server.origin);
  assert.deepEqual(Object.fromEntries(asked.searchParams), {
    q: 'Moby Dick', frame: `${server.origin}/inner`, top: `${server.origin}/top`,
    ft: 'Inner page', tt: 'Top page',
  });
});

test('what a page gives is cut to its limit before it leaves the page', {timeout: 60000},
     async (t) => {
  const server = await h.startServer({
    '/page': '<!DOCTYPE html><meta charset="utf-8"><title>T</title><p id="s"></p>',
  });
  const {browser, worker} = await h.launchChromium();
  t.after(async () => {
    await browser.close();
    await server.close();
  });
  const page = await h.openWithSelection(browser, `${server.origin}/page`, null);
  // A window name of 32 Mi units, a title of 1 Mi, and a selection of
  // 2 Mi that a surrogate pair straddles at its limit.
  await page.evaluate(() => {
    window.name = 'n'.repeat(32 << 20);
    document.title = 't'.repeat(1 << 20);
    const p = document.getElementById('s');
    p.textContent = 's'.repeat((1 << 20) - 1) + '\u{1F600}' + 's'.repeat(1 << 20);
    const range = document.createRange();
    range.selectNodeContents(p);
    getSelection().removeAllRanges();
    getSelection().addRange(range);
  });
  const read = await worker.evaluate(async (url) => {
    const [tab] = (await chrome.tabs.query({})).filter((t) => t.url === url);
    const gathered = await readPage({frameId: 0, pageUrl: url}, tab);
    const text = gathered.frame.selectionText;
    return {name: gathered.frame.name.length, title: gathered.frame.title.length,
            text: text.length, last: text.charCodeAt(text.length - 1),
            html: gathered.frame.selectionHtml.length, topName: gathered.top.name.length};
  }, page.url());
  assert.deepEqual(read, {name: 1 << 16, title: 1 << 16, text: (1 << 20) - 1, last: 0x73,
                          html: (1 << 20) - 1, topName: 1 << 16});
});
