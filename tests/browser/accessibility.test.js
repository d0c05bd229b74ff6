// Every dialog the window draws, and the options page, checked by axe-core
// in light and dark colours: no critical or serious violation.
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const h = require('./harness.js');

const AXE = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
const SCHEMES = ['light', 'dark'];

// The violations on `page` in `scheme`, as "rule (impact): targets".
async function violations(page, scheme) {
  await page.emulateMediaFeatures([{name: 'prefers-color-scheme', value: scheme}]);
  // Evaluated over the protocol, past the extension pages' script policy.
  if (!await page.evaluate(() => typeof axe === 'object')) await page.evaluate(AXE);
  const found = await page.evaluate(async () => {
    const result = await axe.run(document, {resultTypes: ['violations']});
    return result.violations.map((v) => ({
      id: v.id, impact: v.impact, targets: v.nodes.map((n) => n.target.join(' ')),
    }));
  });
  return found.map((v) => `${v.id} (${v.impact}): ${v.targets.join(', ')}`);
}

const grave = (list) => list.filter((v) => /\((critical|serious)\)/.test(v));

// Each dialog kind with a selection that opens it, and what to do before
// the check (a message box over the dialog).
const DIALOGS = [
  {name: 'choice with a text', word: 'ISBN', selection: '0306406152'},
  {name: 'choice with a title', word: 'BOOK', selection: 'Moby Dick'},
  {name: 'choice list alone', word: 'EMAIL', selection: 'a@example.com'},
  {name: 'currency', word: 'CURRENCY', selection: '$12.50'},
  {name: 'converter', word: 'CONVERT', selection: '12.5 km', before: async (dialog) => {
    await dialog.click('#calculate');
    await dialog.waitForFunction(() => document.querySelector('#result').textContent !== '');
  }},
  {name: 'about', word: 'CONFIG', selection: ''},
  {name: 'message box', word: 'ISBN', selection: 'no number', before: async (dialog) => {
    await dialog.focus('[role=listbox]');
    await h.press(dialog, '#ok');
    await dialog.waitForSelector('#message:not([hidden])');
  }, after: async (dialog) => {
    await h.press(dialog, '#message-ok');
    await dialog.waitForSelector('#message[hidden]');
  }},
];

test('no critical or serious violation in any dialog, light or dark', {timeout: 180000},
     async () => {
  const server = await h.startServer({
    '/page': '<!DOCTYPE html><title>page</title><p id="s"></p>',
  });
  const {browser, worker, extensionOrigin} = await h.launchChromium();
  const report = [];
  try {
    for (const d of DIALOGS) {
      const page = await h.openWithSelection(browser, `${server.origin}/page`, null);
      await h.selectText(page, '#s', d.selection);
      const done = h.clickMenu(worker, d.word, page);
      const dialog = await h.dialogPage(browser, extensionOrigin);
      if (d.before) await d.before(dialog);
      for (const scheme of SCHEMES) {
        for (const v of await violations(dialog, scheme)) report.push(`${d.name}, ${scheme}: ${v}`);
      }
      if (d.after) await d.after(dialog);
      await h.press(dialog, (await dialog.$('#cancel')) ? '#cancel' : '#ok');
      await done;
      await page.close();
    }
    const options = await browser.newPage();
    await options.goto(`${extensionOrigin}/options.html`);
    await options.waitForFunction(() => document.querySelector('#in-force details'));
    for (const scheme of SCHEMES) {
      for (const v of await violations(options, scheme)) report.push(`options, ${scheme}: ${v}`);
    }
  } finally {
    await browser.close();
    await server.close();
  }
  if (report.length > 0) console.log(report.join('\n'));
  assert.deepEqual(grave(report), []);
});
