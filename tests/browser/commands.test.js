// The fourteen menu entries in chromium with the extension loaded: each
// click reaches its dialog, the dialog is answered in its window, and the
// tabs opened, the link followed and the ticks remembered are checked.
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const h = require('./harness.js');

const PAGE = (body, title = 'Test page') =>
  `<!DOCTYPE html><html><head><meta charset="utf-8"><title>${title}</title></head>` +
  `<body>${body}</body></html>`;

// Each entry with a selection its sites accept, what to do in its dialog
// (OK as offered unless said otherwise) and the addresses of the tabs it
// opens with the built-in catalogue and no remembered ticks.
const ENTRIES = [
  {word: 'BOOK', selection: 'Moby Dick', tabs: [
    'https://www.amazon.com/s?k=Moby%20Dick&i=stripbooks',
    'https://openlibrary.org/search?q=Moby%20Dick']},
  {word: 'ISBN', selection: 'ISBN 0-306-40615-2', tabs: [
    'https://www.bookfinder.com/search/?isbn=0306406152&mode=isbn&st=sr&ac=qr',
    'https://openlibrary.org/isbn/0306406152']},
  {word: 'UPC', selection: '036000291452', tabs: ['https://www.upcitemdb.com/upc/036000291452']},
  {word: 'MOVIE', selection: 'Alien', tabs: ['https://www.imdb.com/find/?q=Alien']},
  {word: 'MUSIC', selection: 'Blue Train', tabs: [
    'https://www.allmusic.com/search/all/Blue%20Train',
    'https://www.discogs.com/search/?q=Blue%20Train&type=all']},
  {word: 'SEARCH', selection: 'quill pens', tabs: ['https://www.google.com/search?q=quill%20pens']},
  {word: 'STOCK', selection: 'IBM', tabs: ['https://finance.yahoo.com/quote/IBM']},
  {word: 'URL', selection: 'x', tabs: ['https://web.archive.org/web/*/PAGE']},
  {word: 'CURRENCY', selection: '$12.50', tabPattern:
    /^https:\/\/www\.xe\.com\/currencyconverter\/convert\/\?Amount=12\.50&From=USD&To=[A-Z]{3}$/},
  {word: 'OTHER', selection: 'www.example.com', tabs: ['https://www.example.com/']},
  {word: 'CONVERT', selection: '12.5 km', tabs: [], play: async (dialog) => {
    const miles = await dialog.$$eval('#toUnits option', (options) =>
      options.find((o) => o.textContent === 'miles').value);
    await dialog.select('#toUnits', miles);
    await dialog.waitForFunction((v) => document.querySelector('#toUnits')?.value === v, {}, miles);
    await dialog.click('#calculate');
    await dialog.waitForFunction(() =>
      document.querySelector('#result')?.textContent === '12.5 kilometres = 7.76714 miles');
    await h.press(dialog, '#ok');
  }},
  {word: 'CONFIG', selection: '', tabs: [], about: true},
];

async function closeOtherTabs(worker, keepUrl) {
  await worker.evaluate(async (keep) => {
    const tabs = await chrome.tabs.query({});
    await Promise.all(tabs.filter((t) => t.url !== keep && t.url !== 'about:blank')
        .map((t) => chrome.tabs.remove(t.id)));
  }, keepUrl);
}

// Clicks `word`, plays the dialog with `play` (OK by default), waits for
// the command to end and returns the dialog page's text as drawn.
async function runEntry(browser, worker, extensionOrigin, word, page, play) {
  const done = h.clickMenu(worker, word, page);
  const dialog = await h.dialogPage(browser, extensionOrigin);
  const shown = await dialog.$eval('#dialog', (e) => e.innerText);
  if (play) await play(dialog); else await h.press(dialog, '#ok');
  await done;
  return shown;
}

test('every menu entry opens its dialog and then its sites', {timeout: 180000}, async () => {
  const pages = {};
  for (const entry of ENTRIES) {
    pages['/' + entry.word] = PAGE(`<p id="s">${entry.selection}</p>`, entry.word);
  }
  const server = await h.startServer(pages);
  const {browser, worker, extensionOrigin} = await h.launchChromium();
  try {
    const menu = await worker.evaluate(() => menuTable());
    assert.deepEqual(menu.entries.map((e) => e.word).sort(),
        ENTRIES.map((e) => e.word).concat(['EMAIL', 'TRANSLATE']).sort());
    for (const entry of ENTRIES) {
      const page = await h.openWithSelection(browser, `${server.origin}/${entry.word}`,
                                             entry.selection ? '#s' : null);
      const shown = await runEntry(browser, worker, extensionOrigin, entry.word, page, entry.play);
      if (entry.about) assert.match(shown, /Pellmor Quillmark/, 'the about dialog');
      const opened = (await h.tabAddresses(worker)).filter((u) =>
        u !== page.url() && u !== 'about:blank' && !u.startsWith('chrome-extension:'));
      if (entry.tabPattern) {
        assert.equal(opened.length, 1, `${entry.word}: ${opened}`);
        assert.match(opened[0], entry.tabPattern);
      } else {
        const expected = entry.tabs.map((u) => u.replace('PAGE', page.url()));
        assert.deepEqual(opened.sort(), expected.sort(), entry.word);
      }
      await closeOtherTabs(worker, page.url());
      await page.close();
    }
  } finally {
    await browser.close();
    await server.close();
  }
});

test('a translation follows its link in the page itself', {timeout: 60000}, async () => {
  const server = await h.startServer({'/article': PAGE('<p id="s">Bonjour</p>', 'Article')});
  const {browser, worker, extensionOrigin} = await h.launchChromium();
  try {
    const page = await h.openWithSelection(browser, `${server.origin}/article`, '#s');
    const articleUrl = page.url();
    await runEntry(browser, worker, extensionOrigin, 'TRANSLATE', page);
    const expected = 'https://translate.google.com/translate?sl=zh-CN&tl=en&hl=en&u=' +
        encodeURIComponent(articleUrl);
    // The navigation has begun when the command ends; wait for it to commit.
    await worker.evaluate(async (want) => {
      for (let i = 0; i < 200; ++i) {
        if ((await chrome.tabs.query({})).some((t) => t.url === want)) return;
        await new Promise((resolve) => setTimeout(resolve, 50));
      }
    }, expected);
    const urls = await h.tabAddresses(worker);
    assert.ok(urls.includes(expected), `the page went to the translation: ${urls}`);
    assert.ok(!urls.includes(articleUrl), 'no new tab: the page itself navigated');
  } finally {
    await browser.close();
    await server.close();
  }
});

test('a page that puts a link of its own under the followed link\'s id cannot have it ' +
     'clicked instead', {timeout: 60000}, async () => {
  // The page plants a link with the id the followed link takes, and puts
  // another one first whenever the document changes.
  const hostile = '<p id="s">Bonjour</p><script>' +
      'const plant = () => { const a = document.createElement("a"); a.id = "QMKIT7587";' +
      ' a.dataset.page = "1"; a.href = "/evil"; document.body.prepend(a); };' +
      'plant(); new MutationObserver((changes) => {' +
      ' if (changes.some((c) => [...c.addedNodes].some((n) => !n.dataset?.page))) plant();' +
      '}).observe(document.body, {childList: true});</script>';
  const server = await h.startServer({'/article': PAGE(hostile, 'Article'),
                                      '/evil': PAGE('<p>evil</p>', 'Evil')});
  const {browser, worker, extensionOrigin} = await h.launchChromium();
  try {
    const page = await h.openWithSelection(browser, `${server.origin}/article`, '#s');
    const articleUrl = page.url();
    await runEntry(browser, worker, extensionOrigin, 'TRANSLATE', page);
    const expected = 'https://translate.google.com/translate?sl=zh-CN&tl=en&hl=en&u=' +
        encodeURIComponent(articleUrl);
    const urls = await worker.evaluate(async (want) => {
      for (let i = 0; i < 200; ++i) {
        const all = (await chrome.tabs.query({})).map((t) => t.url);
        if (all.includes(want) || all.some((u) => u.endsWith('/evil'))) return all;
        await new Promise((resolve) => setTimeout(resolve, 50));
      }
      return (await chrome.tabs.query({})).map((t) => t.url);
    }, expected);
    assert.ok(urls.includes(expected), `the page went to the translation: ${urls}`);
    assert.ok(!urls.some((u) => u.endsWith('/evil')), `the page's link was not clicked: ${urls}`);
  } finally {
    await browser.close();
    await server.close();
  }
});

test('damaged ticks and window names in storage are left out; the rest is used and each ' +
     'site opens once', {timeout: 60000}, async () => {
  const server = await h.startServer({'/isbn': PAGE('<p id="s">0306406152</p>')});
  const {browser, worker, extensionOrigin} = await h.launchChromium();
  try {
    await worker.evaluate(async () => {
      await chrome.storage.local.set({ticks: {
        'isbn:x': null, 'isbn:bookfinder': 'ticked', 'isbn:openlibrary': {name: 7, value: 1},
        'isbn:worldcat': {name: 'ISBN:WorldCat', value: 1}}});
      await chrome.storage.session.set({namedTabs: 'not names'});
    });
    const page = await h.openWithSelection(browser, `${server.origin}/isbn`, '#s');
    await runEntry(browser, worker, extensionOrigin, 'ISBN', page, async (dialog) => {
      const chosen = await dialog.$$eval('.line', (lines) => lines
          .filter((l) => l.getAttribute('aria-checked') === 'true').map((l) => l.textContent));
      // The defaults where the stored ticks were damaged, WorldCat as stored.
      assert.deepEqual(chosen, ['BookFinder', 'Open Library', 'WorldCat']);
      await h.press(dialog, '#ok');
    });
    const opened = (await h.tabAddresses(worker)).filter((u) =>
      u !== page.url() && u !== 'about:blank' && !u.startsWith('chrome-extension:'));
    assert.equal(opened.length, 3, `each site once: ${opened}`);
    assert.equal(new Set(opened).size, 3, `each site once: ${opened}`);
    // The next save writes well-formed ticks only, the stored one kept.
    const ticks = await worker.evaluate(async () => (await chrome.storage.local.get('ticks')).ticks);
    assert.ok(!Object.hasOwn(ticks, 'isbn:x'), JSON.stringify(ticks));
    assert.deepEqual(ticks['isbn:worldcat'], {name: 'ISBN:WorldCat', value: 1});
  } finally {
    await browser.close();
    await server.close();
  }
});

test('ticks are remembered across a browser restart', {timeout: 90000}, async () => {
  const server = await h.startServer({'/isbn': PAGE('<p id="s">0306406152</p>')});
  const profile = h.tempProfile();
  try {
    const chosenLines = async (dialog) => dialog.$$eval('.line', (lines) =>
      lines.filter((l) => l.getAttribute('aria-checked') === 'true').map((l) => l.textContent));
    {
      const {browser, worker, extensionOrigin} = await h.launchChromium({userDataDir: profile});
      try {
        const page = await h.openWithSelection(browser, `${server.origin}/isbn`, '#s');
        await runEntry(browser, worker, extensionOrigin, 'ISBN', page, async (dialog) => {
          assert.deepEqual(await chosenLines(dialog), ['BookFinder', 'Open Library']);
          // A double-click ticks WorldCat; the window is drawn anew.
          await dialog.click('.line[data-line="9"]', {count: 2});
          await dialog.waitForFunction(() =>
            document.querySelector('.line[data-line="9"]')?.getAttribute('aria-checked') === 'true');
          await h.press(dialog, '#ok');
        });
      } finally {
        await browser.close();
      }
    }
    const {browser, worker, extensionOrigin} = await h.launchChromium({userDataDir: profile});
    try {
      const page = await h.openWithSelection(browser, `${server.origin}/isbn`, '#s');
      await runEntry(browser, worker, extensionOrigin, 'ISBN', page, async (dialog) => {
        assert.deepEqual(await chosenLines(dialog), ['BookFinder', 'Open Library', 'WorldCat']);
        await h.press(dialog, '#cancel');
      });
    } finally {
      await browser.close();
    }
  } finally {
    fs.rmSync(profile, {recursive: true, force: true});
    await server.close();
  }
});

test('sites open in windows of their own when chosen so', {timeout: 60000}, async () => {
  const server = await h.startServer({'/book': PAGE('<p id="s">Moby Dick</p>')});
  const {browser, worker, extensionOrigin} = await h.launchChromium();
  try {
    await worker.evaluate(() => chrome.storage.local.set({openIn: 'windows'}));
    const page = await h.openWithSelection(browser, `${server.origin}/book`, '#s');
    await runEntry(browser, worker, extensionOrigin, 'BOOK', page);
    // (Headless chromium keeps its windows at a size of its own, so the
    // entry's size is not checked here.)
    const windows = await worker.evaluate(async () => {
      for (let i = 0; ; ++i) {
        const all = (await chrome.windows.getAll({populate: true, windowTypes: ['normal']}))
            .map((w) => w.tabs.map((t) => t.pendingUrl || t.url));
        if (!all.flat().includes('') || i === 100) return all;
        await new Promise((resolve) => setTimeout(resolve, 20));
      }
    });
    const opened = windows.filter((urls) => urls.some((u) => u.startsWith('https://')));
    assert.deepEqual(opened.sort(), [['https://openlibrary.org/search?q=Moby%20Dick'],
                                     ['https://www.amazon.com/s?k=Moby%20Dick&i=stripbooks']]);
  } finally {
    await browser.close();
    await server.close();
  }
});

test('on a link, URL looks up where it leads and SEARCH offers its text', {timeout: 60000},
     async () => {
  const server = await h.startServer({
    '/links': PAGE('<p id="focus" tabindex="0">Focused words</p>' +
                   '<p><a href="/first">One</a> <a href="/target?x=1">Blue <b>Train</b></a></p>'),
  });
  const {browser, worker, extensionOrigin} = await h.launchChromium();
  try {
    const page = await h.openWithSelection(browser, `${server.origin}/links`, null);
    await page.focus('#focus');
    const linkUrl = `${server.origin}/target?x=1`;
    // The click as the browser makes it on the link: its address, no selection.
    const onLink = (word, play) => {
      const done = h.clickMenu(worker, word, page, {linkUrl});
      return h.dialogPage(browser, extensionOrigin).then(async (dialog) => {
        const text = await dialog.$eval('#text', (input) => input.value).catch(() => null);
        await play(dialog);
        await done;
        return text;
      });
    };
    assert.equal(await onLink('SEARCH', (d) => h.press(d, '#cancel')), 'Blue Train');
    await onLink('URL', (d) => h.press(d, '#ok'));
    const opened = (await h.tabAddresses(worker)).filter((u) => u.startsWith('https://'));
    assert.deepEqual(opened, [`https://web.archive.org/web/*/${linkUrl}`]);
  } finally {
    await browser.close();
    await server.close();
  }
});

// Three sites of the test server, listed in this order, all ticked.
const ORDERED_BOOKS = (origin) => ['First', 'Second', 'Third'].map((name) => [
  `[BOOK:${name}]`, `shortDescription=${name}`, `url=${origin}/${name.toLowerCase()}?q=!s`,
  'defaultSelected=yes', ''].join('\n')).join('\n');

test('sites open beside the page in the list\'s order, in front or behind it',
     {timeout: 90000}, async () => {
  const server = await h.startServer({
    '/book': PAGE('<p id="s">Moby Dick</p>'), '/first': PAGE('1'), '/second': PAGE('2'),
    '/third': PAGE('3'), '/later': PAGE('a tab right of the page'),
  });
  const {browser, worker, extensionOrigin} = await h.launchChromium();
  try {
    const page = await h.openWithSelection(browser, `${server.origin}/book`, '#s');
    await worker.evaluate((text) => chrome.storage.local.set({catalogue: text}),
                          ORDERED_BOOKS(server.origin));
    // A tab already right of the page: the sites go between the two.
    const pageTab = await worker.evaluate(async (url, later) => {
      const [tab] = (await chrome.tabs.query({})).filter((t) => t.url === url);
      await chrome.tabs.create({windowId: tab.windowId, index: tab.index + 1, url: later,
                                active: false});
      await chrome.tabs.update(tab.id, {active: true});
      return tab;
    }, page.url(), `${server.origin}/later`);
    // The test server's tabs in the page's window in strip order, as path
    // and whether active (the options page of the first start may be there).
    const strip = () => worker.evaluate(async (windowId, origin) => {
      for (let i = 0; ; ++i) {
        const tabs = (await chrome.tabs.query({windowId})).sort((a, b) => a.index - b.index);
        const urls = tabs.map((t) => t.pendingUrl || t.url);
        const ours = tabs.filter((t, at) => urls[at].startsWith(origin + '/'));
        if ((!urls.includes('') && ours.length >= 5) || i === 100) {
          return ours.map((t) =>
            new URL(t.pendingUrl || t.url).pathname + (t.active ? ' (active)' : ''));
        }
        await new Promise((resolve) => setTimeout(resolve, 20));
      }
    }, pageTab.windowId, server.origin);
    const closeSites = () => worker.evaluate(async (windowId) => {
      const tabs = await chrome.tabs.query({windowId});
      await chrome.tabs.remove(tabs.filter((t) =>
        /\/(first|second|third)$/.test(new URL(t.pendingUrl || t.url).pathname)).map((t) => t.id));
    }, pageTab.windowId);

    await runEntry(browser, worker, extensionOrigin, 'BOOK', page);
    assert.deepEqual(await strip(), ['/book', '/first (active)', '/second', '/third', '/later']);

    await closeSites();
    await worker.evaluate(async (id) => {
      await chrome.storage.local.set({newTabs: 'background'});
      await chrome.tabs.update(id, {active: true});
    }, pageTab.id);
    await runEntry(browser, worker, extensionOrigin, 'BOOK', page);
    assert.deepEqual(await strip(), ['/book (active)', '/first', '/second', '/third', '/later']);
  } finally {
    await browser.close();
    await server.close();
  }
});

test('Help opens the dialog\'s topic page in a tab and the dialog stays', {timeout: 60000},
     async () => {
  const server = await h.startServer({'/isbn': PAGE('<p id="s">0306406152</p>')});
  const {browser, worker, extensionOrigin} = await h.launchChromium();
  try {
    const page = await h.openWithSelection(browser, `${server.origin}/isbn`, '#s');
    await runEntry(browser, worker, extensionOrigin, 'ISBN', page, async (dialog) => {
      await dialog.click('#help');
      const help = await browser.waitForTarget(
          (t) => t.url() === `${extensionOrigin}/help/HelpISBN.htm`);
      const title = await (await help.page()).title();
      assert.match(title, /ISBN/);
      assert.ok(!dialog.isClosed(), 'the dialog is still open');
      await h.press(dialog, '#cancel');
    });
  } finally {
    await browser.close();
    await server.close();
  }
});
