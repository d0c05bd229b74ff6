// The options page in chromium: what a newcomer sees first; a user catalogue
// typed, checked, saved and then used by a menu command; remembered ticks
// imported only when well formed.
'use strict';

const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const {after, before, test} = require('node:test');
const {startServer, tempProfile, launchChromium, openWithSelection, clickMenu,
       dialogPage, press, tabAddresses: harnessTabAddresses} = require('./harness');

let server;
let profile;
let chromium;
let options;

const storedValue = (key) => chromium.worker.evaluate(
    async (k) => (await chrome.storage.local.get(k))[k] ?? null, key);

const tabAddresses = () => harnessTabAddresses(chromium.worker);

// Polls `probe` until it gives something truthy, for at most five seconds.
async function eventually(probe) {
  for (let waited = 0; waited < 5000; waited += 100) {
    const result = await probe();
    if (result) return result;
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  return probe();
}

before(async () => {
  server = await startServer({
    '/book.html': '<!DOCTYPE html><title>A book</title><p id="isbn">ISBN 0-306-40615-2</p>',
    '/lookup': '<!DOCTYPE html><title>Looked up</title><p>found</p>',
  });
  profile = tempProfile();
  chromium = await launchChromium({userDataDir: profile});
  options = await chromium.browser.newPage();
  await options.goto(`${chromium.extensionOrigin}/options.html`);
  await options.waitForSelector('body[data-ready="1"]');
});

after(async () => {
  await chromium?.browser.close();
  await server?.close();
  fs.rmSync(profile, {recursive: true, force: true});
});

const isShown = (selector) => options.$eval(selector,
    (e) => !e.hidden && e.getClientRects().length > 0);

async function reloadOptions() {
  await options.reload();
  await options.waitForSelector('body[data-ready="1"]');
}

test('a first open greets with first steps, shows the catalogue in force and tells of ' +
     'the helper as optional', {timeout: 30000}, async () => {
  await options.setViewport({width: 1000, height: 800});
  assert.ok(await isShown('#welcome'));
  const picture = await options.$eval('#welcome img',
      (img) => ({loaded: img.complete && img.naturalWidth > 0, alt: img.alt}));
  assert.ok(picture.loaded, 'the picture of the menu is there');
  assert.match(picture.alt, /Pellmor Quillmark/);

  // The built-in catalogue, above the empty editor and on the first screen.
  const inForce = await options.$eval('#in-force-section', (section) => ({
    sources: [...section.querySelectorAll('details')].map((d) => d.dataset.source),
    top: section.querySelector('h2').getBoundingClientRect().top,
    screen: innerHeight,
    beforeEditor: Boolean(section.compareDocumentPosition(
        document.getElementById('editor-section')) & Node.DOCUMENT_POSITION_FOLLOWING),
  }));
  assert.equal(inForce.sources.length, 13);
  assert.ok(inForce.sources.every((s) => s === 'default'), inForce.sources.join());
  assert.ok(inForce.beforeEditor);
  assert.ok(inForce.top < inForce.screen, `heading at ${inForce.top} of ${inForce.screen}`);

  // No helper is installed for this profile: that is said plainly, as no
  // error, and the way to install it is the help's, not a file of the source.
  await options.waitForFunction(
      () => !document.getElementById('native-status').textContent.startsWith('Asking'));
  const helper = await options.$eval('#commands-section', (section) => ({
    text: section.innerText,
    kind: document.getElementById('native-status').className,
    link: section.querySelector('#native-install:not([hidden]) a')?.href,
  }));
  assert.equal(helper.kind, 'info');
  assert.match(helper.text, /not installed/);
  assert.match(helper.text, /optional/i);
  assert.doesNotMatch(helper.text, /tools\/|\.sh\b|not found/i);
  assert.equal(helper.link, `${chromium.extensionOrigin}/help/HelpExtension.htm#helper`);
  const helpPage = await options.evaluate(async (url) => (await fetch(url)).text(), helper.link);
  assert.match(helpPage, /id="helper"/);
  assert.equal(await options.$$eval('.bad', (list) => list.length), 0);
});

test('the first steps stay away once hidden or once the page is used, and come back ' +
     'from their link', {timeout: 30000}, async () => {
  // Opening the page again is no use of it.
  await reloadOptions();
  assert.ok(await isShown('#welcome'));

  const ways = [
    {stored: 'dismissed', act: () => options.click('#welcome-done')},
    {stored: 'used', act: () => options.click('#check')},
  ];
  for (const way of ways) {
    await chromium.worker.evaluate(() => chrome.storage.local.remove('welcome'));
    await reloadOptions();
    assert.ok(await isShown('#welcome'), way.stored);
    await way.act();
    assert.equal(await eventually(() => storedValue('welcome')), way.stored);
    await reloadOptions();
    assert.equal(await isShown('#welcome'), false, way.stored);
  }

  // Hidden, the focus goes to the link that brings them back.
  await options.click('#show-welcome');
  assert.ok(await isShown('#welcome'));
  assert.equal(await options.evaluate(() => document.activeElement.id), 'welcome-heading');
  await options.click('#welcome-done');
  assert.equal(await isShown('#welcome'), false);
  assert.equal(await options.evaluate(() => document.activeElement.id), 'show-welcome');
  assert.equal(await storedValue('welcome'), 'dismissed');
});

test('a catalogue typed on the page is checked, saved and used by the ISBN command',
     {timeout: 60000}, async () => {
  const catalogue = '[ISBN:Local]\nshortDescription=Local lookup\n' +
      `url=${server.origin}/lookup?isbn=!s\ndefaultSelected=y\ncolour=blue\n`;
  await options.type('#catalogue-text', catalogue);
  await options.click('#check');
  await options.waitForSelector('#findings .finding');
  const findings = await options.$$eval('#findings .finding',
      (list) => list.map((b) => ({line: b.dataset.line, text: b.textContent})));
  assert.deepEqual(findings.map((f) => f.line), ['5']);
  assert.match(findings[0].text, /^Line 5: error: .*"colour"/);

  // Saving with an error stores nothing until the person insists.
  await options.click('#save');
  await options.waitForSelector('#save-anyway:not([hidden])');
  assert.equal(await storedValue('catalogue'), null);

  // The finding takes the caret to its line, where the mistake is deleted.
  await options.click('#findings .finding[data-line="5"]');
  const caret = await options.$eval('#catalogue-text',
      (e) => [document.activeElement === e, e.selectionStart]);
  assert.deepEqual(caret, [true, catalogue.indexOf('colour')]);
  await options.keyboard.down('Shift');
  await options.keyboard.press('End');
  await options.keyboard.up('Shift');
  await options.keyboard.press('Backspace');
  await options.click('#save');
  await options.waitForFunction(
      () => document.getElementById('editor-status').textContent.startsWith('Saved'));
  const saved = catalogue.replace('colour=blue', '');
  assert.equal(await storedValue('catalogue'), saved);
  assert.equal(await options.$$eval('#findings li', (l) => l.length), 0);

  const sources = await options.$$eval('#in-force details',
      (list) => Object.fromEntries(list.map((d) => [d.dataset.category, d.dataset.source])));
  assert.equal(sources.ISBN, 'user');
  assert.equal(sources.BOOK, 'default');
  assert.deepEqual(await options.$$eval('#in-force details[data-category=ISBN] td.name',
      (cells) => cells.map((c) => c.textContent)), ['ISBN:Local']);
  assert.equal(await options.$eval('#in-force details[data-category=ISBN] .count',
      (e) => e.textContent), '1 entry');

  const before = await tabAddresses();
  const page = await openWithSelection(chromium.browser, `${server.origin}/book.html`, '#isbn');
  const opened = [...before, page.url()];
  const run = clickMenu(chromium.worker, 'ISBN', page);
  const dialog = await dialogPage(chromium.browser, chromium.extensionOrigin);
  // Pressed from the page: the window closes on it, which a mouse's
  // release could find gone.
  await press(dialog, '#ok');
  await run;

  const lookup = `${server.origin}/lookup?isbn=0306406152`;
  const fresh = await eventually(async () => {
    const tabs = (await tabAddresses()).filter((u) => !opened.includes(u));
    return tabs.every((u) => u) && tabs;
  });
  assert.deepEqual(fresh, [lookup]);
  assert.ok(await eventually(() => server.requests.includes('/lookup?isbn=0306406152')),
            server.requests.join(' '));

  // An emptied editor saved means no catalogue of one's own.
  await options.bringToFront();
  await options.click('#catalogue-text');
  await options.keyboard.down('Control');
  await options.keyboard.press('a');
  await options.keyboard.up('Control');
  await options.keyboard.press('Delete');
  await options.click('#save');
  await options.waitForSelector('#in-force details[data-category=ISBN][data-source=default]');
  assert.equal(await storedValue('catalogue'), null);
});

test('a catalogue file is read as UTF-8, else as Windows-1252', {timeout: 30000}, async () => {
  const folder = fs.mkdtempSync(path.join(profile, 'ini-'));
  const files = {
    'utf8.ini': Buffer.from('\xEF\xBB\xBF[BOOK:Caf\xC3\xA9]\n', 'latin1'),
    'ansi.ini': Buffer.from('[BOOK:Caf\xE9 \x80]\n', 'latin1'),
  };
  const expected = {'utf8.ini': '[BOOK:Caf\u00E9]\n', 'ansi.ini': '[BOOK:Caf\u00E9 \u20AC]\n'};
  for (const [name, bytes] of Object.entries(files)) {
    fs.writeFileSync(path.join(folder, name), bytes);
    await options.$eval('#catalogue-text', (e) => { e.value = ''; });
    await (await options.$('#import-catalogue')).uploadFile(path.join(folder, name));
    await options.waitForFunction(() => document.getElementById('catalogue-text').value,
                                  {polling: 100});
    assert.equal(await options.$eval('#catalogue-text', (e) => e.value), expected[name]);
  }
});

test('text the catalogue cannot keep is pointed out on its line', {timeout: 30000}, async () => {
  // Line 2 holds characters Windows-1252 has (é, €) and one it has not;
  // line 4 a NUL in a value, where most programs take the text to end.
  const text = '[BOOK:Shop]\nshortDescription=Caf\u00e9 \u20ac \u6771\u4eac\n' +
      'url=https://shop.example/?q=!s\nlongDescription=a\u0000b\n';
  await options.$eval('#catalogue-text', (e, value) => { e.value = value; }, text);
  await options.click('#check');
  await options.waitForSelector('#findings .finding');
  const findings = await options.$$eval('#findings .finding',
      (list) => list.map((b) => `${b.dataset.line} ${b.textContent}`));
  assert.equal(findings.length, 2, findings.join('\n'));
  assert.match(findings[0], /^2 .*warning.*"\u6771".*"\?"/);
  assert.match(findings[1], /^4 .*warning.*NUL/);
  await options.$eval('#catalogue-text', (e) => { e.value = ''; });
});

test('remembered ticks are imported only from a file of exactly their shape',
     {timeout: 30000}, async () => {
  await options.bringToFront();
  const folder = fs.mkdtempSync(path.join(profile, 'ticks-'));
  const importFile = async (name, text) => {
    const file = path.join(folder, name);
    fs.writeFileSync(file, text);
    await options.$eval('#ticks-status', (e) => { e.textContent = ''; });
    await (await options.$('#import-ticks')).uploadFile(file);
    await options.waitForFunction(() => document.getElementById('ticks-status').textContent);
    return options.$eval('#ticks-status', (e) => e.textContent);
  };
  await chromium.worker.evaluate(() => chrome.storage.local.set(
      {ticks: {'isbn:local': {name: 'ISBN:Local', value: 1}}}));

  const malformed = {
    'not-json.json': 'isbn:local=1',
    'array.json': '[{"name": "ISBN:Local", "value": 1}]',
    'two.json': '{"isbn:local": {"name": "ISBN:Local", "value": 2}}',
    'text-value.json': '{"isbn:local": {"name": "ISBN:Local", "value": "1"}}',
    'extra-field.json': '{"isbn:local": {"name": "ISBN:Local", "value": 0, "run": "x"}}',
    'wrong-key.json': '{"isbn:other": {"name": "ISBN:Local", "value": 0}}',
  };
  for (const [name, text] of Object.entries(malformed)) {
    const status = await importFile(name, text);
    assert.match(status, new RegExp(`^Not imported: ${name} `), name);
    assert.deepEqual(await storedValue('ticks'),
                     {'isbn:local': {name: 'ISBN:Local', value: 1}}, name);
  }

  const status = await importFile('good.json',
      '{"isbn:local": {"name": "ISBN:Local", "value": 0}, ' +
      '"book:x": {"name": "BOOK:X", "value": 1}}');
  assert.match(status, /^Imported 2 /);
  assert.deepEqual(await storedValue('ticks'), {
    'isbn:local': {name: 'ISBN:Local', value: 0}, 'book:x': {name: 'BOOK:X', value: 1}});
});

test('the choice of where new tabs go is stored and shown again', {timeout: 30000}, async () => {
  const checked = () => options.$$eval('input[name="new-tabs"]',
      (inputs) => inputs.filter((i) => i.checked).map((i) => i.value));
  assert.deepEqual(await checked(), ['foreground']);
  await options.click('input[name="new-tabs"][value="background"]');
  assert.equal(await eventually(() => storedValue('newTabs')), 'background');
  await options.reload();
  await options.waitForSelector('body[data-ready="1"]');
  assert.deepEqual(await checked(), ['background']);
  await options.click('input[name="new-tabs"][value="foreground"]');
  assert.equal(await eventually(async () => (await storedValue('newTabs')) === 'foreground'), true);
});

test('a catalogue the browser\'s storage cannot hold is not saved, and the page says so',
     {timeout: 60000}, async () => {
  const before = await storedValue('catalogue');
  // Past the 10 MB that storage.local holds without unlimited storage.
  await options.$eval('#catalogue-text', (editor) => {
    editor.value = '[BOOK:Big]\nshortDescription=Big\nurl=https://big.example/?q=!s\n' +
                   `; ${'x'.repeat(11 * 1024 * 1024)}\n`;
  });
  await options.click('#save');
  const status = await eventually(async () => {
    const text = await options.$eval('#editor-status', (e) => e.textContent);
    return /^(Not saved|Saved)/.test(text) ? text : null;
  });
  assert.match(status ?? '', /^Not saved: /);
  assert.deepEqual(await storedValue('catalogue'), before);
});
