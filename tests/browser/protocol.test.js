// What the background takes from the core and from other pages: a handler
// for every kind the core may send, addresses refused by the core's policy
// wherever one would leave the extension, and messages only from the
// extension's own pages.
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const h = require('./harness.js');

// The page keeps a followed link from leaving it, so that the link can be
// read after its click.
const PAGE = '<!DOCTYPE html><html><head><title>T</title></head><body><p>x</p>' +
  '<script>document.addEventListener("click", (e) => e.preventDefault());</script></body></html>';

test('every kind of request and notice has its handler, and no handler is for another kind',
     {timeout: 60000}, async () => {
  const {browser, worker} = await h.launchChromium();
  try {
    const kinds = await worker.evaluate(() => ({
      requests: Object.values(Protocol.request).sort(),
      requestHandlers: Object.keys(CORE_REQUEST_HANDLERS).sort(),
      notices: Object.values(Protocol.notice).sort(),
      noticeHandlers: Object.keys(CORE_NOTICE_HANDLERS).sort(),
    }));
    assert.equal(kinds.requests.length, 13);
    assert.deepEqual(kinds.requestHandlers, kinds.requests);
    assert.deepEqual(kinds.noticeHandlers, kinds.notices);
  } finally {
    await browser.close();
  }
});

test('an address the core refuses is not opened, navigated to or put in a link',
     {timeout: 60000}, async () => {
  const server = await h.startServer({'/page': PAGE});
  const {browser, worker} = await h.launchChromium();
  try {
    const page = await h.openWithSelection(browser, `${server.origin}/page`, null);
    const answers = await worker.evaluate(async (pageUrl) => {
      const tab = (await chrome.tabs.query({})).find((t) => t.url === pageUrl);
      const click = {tab, openIn: 'tabs', page: {frameId: 0, frame: {isTop: true}},
                     setTick: () => {}};
      const ask = (request) => answerCoreRequest(click, request);
      const bad = 'javascript:document.title="run"';
      const out = {
        open: await ask({kind: Protocol.request.open, url: bad, name: '_blank', features: ''}),
        shellOpen: await ask({kind: Protocol.request.shellOpen, url: 'data:text/html,x'}),
        navigate: await ask({kind: Protocol.request.navigate, window: 'frame', url: bad}),
        insertBad: await ask({kind: Protocol.request.insert, window: 'frame', id: 'QMBAD',
                              href: bad, target: '_top', text: 'x'}),
        insertGood: await ask({kind: Protocol.request.insert, window: 'frame', id: 'QMGOOD',
                               href: 'www.example.com/a', target: '_top',
                               text: '<b>TRANSLATE</b>'}),
        // The link goes into the page when it is clicked.
        clickGood: await ask({kind: Protocol.request.clickAnchor, window: 'frame',
                              name: 'QMGOOD'}),
        clickBad: await ask({kind: Protocol.request.clickAnchor, window: 'frame', name: 'QMBAD'}),
        unknown: await ask({kind: 'no-such-kind'}),
      };
      [out.links] = await chrome.scripting.executeScript({target: {tabId: tab.id}, func: () =>
        Array.from(document.querySelectorAll('a, b')).map((a) => ({
          tag: a.tagName, id: a.id, href: a.getAttribute('href'),
          target: a.getAttribute('target'), text: a.textContent}))});
      out.tabs = (await chrome.tabs.query({})).map((t) => t.pendingUrl || t.url);
      return out;
    }, page.url());
    assert.equal(answers.open, '');
    assert.equal(answers.shellOpen, '0');
    assert.equal(answers.navigate, '0');
    assert.equal(answers.insertBad, '0');
    assert.equal(answers.insertGood, '1');
    assert.deepEqual([answers.clickGood, answers.clickBad], ['1', '0']);
    assert.equal(answers.unknown, '');
    // The link holds the core's address and the text as text, not markup.
    assert.deepEqual(answers.links.result, [{tag: 'A', id: 'QMGOOD',
      href: 'https://www.example.com/a', target: '_top', text: '<b>TRANSLATE</b>'}]);
    assert.equal(await page.title(), 'T');
    assert.ok(!answers.tabs.some((u) => /^(javascript|data):/.test(u)), String(answers.tabs));
  } finally {
    await browser.close();
    await server.close();
  }
});

test('only the extension\'s own pages may ask for the menu or a click', {timeout: 60000},
     async () => {
  const server = await h.startServer({'/page': PAGE});
  const {browser, worker, extensionOrigin} = await h.launchChromium();
  try {
    const page = await h.openWithSelection(browser, `${server.origin}/page`, null);
    // A content script runs with the extension's id inside the web page.
    const fromContentScript = await worker.evaluate(async (pageUrl) => {
      const tab = (await chrome.tabs.query({})).find((t) => t.url === pageUrl);
      const [result] = await chrome.scripting.executeScript({target: {tabId: tab.id},
        func: async () => {
          const ask = (message) => chrome.runtime.sendMessage(message).then(
              (reply) => reply ?? null, () => null);
          return {menu: await ask({type: 'menu'}),
                  click: await ask({type: 'click', info: {menuItemId: 'qmkit:CONFIG'},
                                    tab: {id: 0}})};
        }});
      return result.result;
    }, page.url());
    assert.deepEqual(fromContentScript, {menu: null, click: null});

    const options = await browser.newPage();
    await options.goto(`${extensionOrigin}/options.html`);
    const menu = await options.evaluate(() => chrome.runtime.sendMessage({type: 'menu'}));
    assert.equal(menu.entries.length, 14, 'the options page is answered');
  } finally {
    await browser.close();
    await server.close();
  }
});

test('a web page cannot answer the dialog in the person\'s place', {timeout: 60000}, async () => {
  const server = await h.startServer(
      {'/isbn': PAGE.replace('<p>x</p>', '<p id="s">0306406152</p>')});
  const {browser, worker, extensionOrigin} = await h.launchChromium();
  try {
    const page = await h.openWithSelection(browser, `${server.origin}/isbn`, '#s');
    let ended = false;
    const done = h.clickMenu(worker, 'ISBN', page).then(() => { ended = true; });
    const dialog = await h.dialogPage(browser, extensionOrigin);
    // A content script connects as the dialog window does and presses OK.
    await worker.evaluate(async (pageUrl) => {
      const tab = (await chrome.tabs.query({})).find((t) => t.url === pageUrl);
      await chrome.scripting.executeScript({target: {tabId: tab.id}, func: () => {
        const port = chrome.runtime.connect({name: 'qmkit-dialog'});
        port.postMessage({type: 'answer', text: 'ok'});
      }});
    }, page.url());
    await new Promise((resolve) => setTimeout(resolve, 1000));
    assert.equal(ended, false, 'the command still waits for the person');
    await h.press(dialog, '#cancel');
    await done;
    const opened = (await h.tabAddresses(worker)).filter((u) => u.startsWith('https://'));
    assert.deepEqual(opened, []);
  } finally {
    await browser.close();
    await server.close();
  }
});
