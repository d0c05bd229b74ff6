// The dialog window from the keyboard and the mouse, with real key presses
// in chromium: the keys each dialog knows, the focus that stays where the
// person put it, the sites a dialog then opens and their order.
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const h = require('./harness.js');

// Fourteen lines, more than the list shows at once; Alder ticked.
const TREES = ['Alder', 'Aspen', 'Birch', 'Cedar', 'Cherry', 'Elm', 'Fir', 'Hazel', 'Larch',
               'Maple', 'Pine', 'Plum', 'Rowan', 'Willow'];

function catalogue(origin) {
  const trees = TREES.map((name, i) => [
    `[ISBN:T${String(i + 1).padStart(2, '0')}]`, `shortDescription=${name}`,
    `url=${origin}/site/${name}?isbn=!s`, name === 'Alder' ? 'defaultSelected=yes' : '', '']);
  const currency = ['[CURRENCY:Rates]', 'shortDescription=Rates',
                    `url=${origin}/site/Rates?amount=!S&from=!F&to=!L`, 'defaultSelected=yes', ''];
  return [...trees.flat(), ...currency].join('\n');
}

// The window is waiting for the person: no gesture on its way or queued.
const settled = (dialog) => dialog.waitForFunction(() => current !== null && waiting.length === 0);

const focused = (dialog) => dialog.evaluate(() => document.activeElement?.id ?? '');

// Plays `steps` in the dialog: a key ("Space", "Shift+Tab"), {type: text},
// {click: selector, count}, {pause: ms} (type-ahead forgets after a
// while) or {settle: true} (wait for the window to take the next gesture,
// a message answered). A key that ends the dialog may find the window gone.
async function play(dialog, steps) {
  for (const step of steps) {
    if (typeof step === 'string') {
      const keys = step.split('+').map((k) => (k === 'Space' ? ' ' : k));
      const key = keys.pop();
      for (const held of keys) await dialog.keyboard.down(held);
      await dialog.keyboard.press(key).catch((error) => {
        if (!/closed|detached|Target/i.test(String(error))) throw error;
      });
      for (const held of keys.reverse()) await dialog.keyboard.up(held);
    } else if (step.type !== undefined) {
      await dialog.keyboard.type(step.type);
    } else if (step.click !== undefined) {
      await dialog.click(step.click, {count: step.count ?? 1});
    } else if (step.settle) {
      await dialog.waitForSelector('#message[hidden]');
      await settled(dialog);
    } else if (step.pause !== undefined) {
      await new Promise((resolve) => setTimeout(resolve, step.pause));
    }
  }
}

async function withBrowser(run) {
  const server = await h.startServer({
    '/page': '<!DOCTYPE html><title>page</title><p id="s"></p>',
  });
  const {browser, worker, extensionOrigin} = await h.launchChromium();
  try {
    await worker.evaluate((text) => chrome.storage.local.set({catalogue: text}),
                          catalogue(server.origin));
    const page = await h.openWithSelection(browser, `${server.origin}/page`, null);
    // Opens the dialog of `word` on `selection`, with no ticks remembered;
    // `finish` resolves with the sites opened, in the order they were opened.
    const open = async (word, selection) => {
      await worker.evaluate(() => chrome.storage.local.remove('ticks'));
      await h.selectText(page, '#s', selection);
      const done = h.clickMenu(worker, word, page, {selectionText: selection});
      const dialog = await h.dialogPage(browser, extensionOrigin);
      await dialog.bringToFront();
      await settled(dialog);
      const finish = async () => {
        await done;
        const opened = await worker.evaluate(async () => {
          for (let i = 0; i < 100; ++i) {
            const tabs = await chrome.tabs.query({});
            if (tabs.every((t) => t.pendingUrl || t.url)) {
              return tabs.sort((a, b) => a.id - b.id).map((t) => t.pendingUrl || t.url);
            }
            await new Promise((resolve) => setTimeout(resolve, 20));
          }
          return [];
        });
        await worker.evaluate(async () => {
          const tabs = await chrome.tabs.query({});
          await Promise.all(tabs.filter((t) => /\/site\//.test(t.pendingUrl || t.url))
              .map((t) => chrome.tabs.remove(t.id)));
        });
        return opened.filter((u) => u.includes('/site/')).map((u) => decodeURIComponent(
            u.replace(/^.*\/site\//, '')));
      };
      return {dialog, finish};
    };
    await run(open);
  } finally {
    await browser.close();
    await server.close();
  }
}

const ISBN = '0306406152';
const sites = (...names) => names.map((name) => `${name}?isbn=${ISBN}`);

// The site list from the keyboard: the focus starts on OK; Tab, Tab
// reaches the list.
const LIST_CASES = [
  {name: 'arrows move the highlight, Space ticks it, Enter is OK',
   steps: ['Tab', 'Tab', 'ArrowDown', 'ArrowDown', 'Space', 'Enter'],
   opened: sites('Alder', 'Birch')},
  {name: 'Space unticks, Up comes back',
   steps: ['Tab', 'Tab', 'ArrowDown', 'Space', 'ArrowUp', 'Space', 'Enter'],
   opened: sites('Aspen')},
  {name: 'End and Home go to the last and the first line',
   steps: ['Tab', 'Tab', 'End', 'Space', 'Home', 'Space', 'Enter'],
   opened: sites('Willow')},
  {name: 'a letter goes to the next line starting with it, round the list',
   steps: ['Tab', 'Tab', 'c', 'Space', {pause: 800}, 'c', 'Space', {pause: 800}, 'c', 'Space',
           'Enter'],
   opened: sites('Alder', 'Cherry')},
  {name: 'letters typed together make a word',
   steps: ['Tab', 'Tab', {type: 'pl'}, 'Space', {pause: 800}, 'w', 'Space', 'Enter'],
   opened: sites('Alder', 'Plum', 'Willow')},
  {name: 'Escape is Cancel', steps: ['Tab', 'Tab', 'ArrowDown', 'Space', 'Escape'], opened: []},
  {name: 'Space on OK presses it', steps: ['Space'], opened: sites('Alder')},
  {name: 'a click on a box ticks it, a second click unticks',
   steps: [{click: '#line-6 .check'}, {click: '#line-4 .check'}, {pause: 600},
           {click: '#line-6 .check'}, 'Enter'],
   opened: sites('Alder', 'Cedar')},
  {name: 'a double-click on a line ticks it, and on a box too',
   steps: [{click: '#line-3 .text', count: 2}, {click: '#line-1 .check', count: 2}, 'Enter'],
   opened: sites('Birch')},
  {name: 'with nothing ticked, OK tells so and the focus goes to the list',
   steps: ['Tab', 'Tab', 'Space', 'Enter', {pause: 300}, 'Enter', {settle: true}, 'End', 'Space',
           'Enter'],
   opened: sites('Willow')},
];

test('the site list from the keyboard and the mouse', {timeout: 240000}, async () => {
  await withBrowser(async (open) => {
    for (const c of LIST_CASES) {
      const {dialog, finish} = await open('ISBN', ISBN);
      assert.equal(await focused(dialog), 'ok', `${c.name}: the focus starts on OK`);
      await play(dialog, c.steps);
      assert.deepEqual(await finish(), c.opened, c.name);
    }
  });
});

test('PageDown and PageUp move a page; the focus stays on the list', {timeout: 60000},
     async () => {
  await withBrowser(async (open) => {
    const {dialog, finish} = await open('ISBN', ISBN);
    await play(dialog, ['Tab', 'Tab', 'PageDown']);
    await settled(dialog);
    const highlighted = () => dialog.$eval('#list', (list) => ({
      active: list.getAttribute('aria-activedescendant'),
      line: Number(list.querySelector('.highlight')?.dataset.line),
      shown: (() => {
        const row = list.querySelector('.highlight').getBoundingClientRect();
        const box = list.getBoundingClientRect();
        return row.top >= box.top && row.bottom <= box.bottom;
      })(),
    }));
    const down = await highlighted();
    assert.ok(down.line > 2 && down.line < TREES.length, `a page down: line ${down.line}`);
    assert.equal(down.active, `line-${down.line}`, 'the highlighted line is the active one');
    assert.ok(down.shown, 'the highlighted line is scrolled into view');
    await play(dialog, ['PageDown', 'PageDown']);
    await settled(dialog);
    assert.equal((await highlighted()).line, TREES.length, 'the last page ends on the last line');
    assert.ok((await highlighted()).shown);
    await play(dialog, ['PageUp', 'PageUp', 'PageUp']);
    await settled(dialog);
    assert.equal((await highlighted()).line, 1);
    assert.equal(await focused(dialog), 'list', 'redraws left the focus on the list');
    // What a screen reader and a sighted person are shown of the list.
    const list = await dialog.accessibility.snapshot({root: await dialog.$('#list')});
    assert.equal(list.role, 'listbox');
    const prompt = await dialog.$eval('#prompt', (p) => p.textContent);
    assert.equal(list.name, prompt.replace('\n', ' '));
    const option = async (id) => {
      const node = await dialog.accessibility.snapshot({root: await dialog.$(id),
                                                         interestingOnly: false});
      return [node.role, node.name, node.checked];
    };
    assert.deepEqual([await option('#line-1'), await option('#line-2')],
                     [['option', 'Alder', true], ['option', 'Aspen', false]]);
    assert.notEqual(await dialog.$eval('#list', (l) => getComputedStyle(l).outlineStyle), 'none',
                    'a focus ring');
    // The status line explains the highlighted line.
    assert.match(await dialog.$eval('#status', (s) => s.textContent), /.+/);
    await play(dialog, ['Escape']);
    assert.deepEqual(await finish(), []);
  });
});

// Tab goes round each dialog's controls in the Windows dialog's order;
// Shift+Tab goes back.
const TAB_CASES = [
  {word: 'ISBN', selection: ISBN, order: ['ok', 'cancel', 'list', 'text', 'help', 'ok']},
  {word: 'EMAIL', selection: 'a@example.com', order: ['ok', 'cancel', 'list', 'help', 'ok']},
  {word: 'CURRENCY', selection: '$12.50',
   order: ['ok', 'cancel', 'list', 'text', 'from', 'to', 'help', 'ok']},
  {word: 'CONVERT', selection: '12.5 km',
   order: ['amount', 'fromUnits', 'toUnits', 'calculate', 'result', 'ok', 'help', 'categories',
           'amount']},
  {word: 'CONFIG', selection: '', order: ['ok', 'help', 'customize', 'home', 'ok']},
];

test('Tab and Shift+Tab go round every dialog in its order', {timeout: 120000}, async () => {
  await withBrowser(async (open) => {
    for (const c of TAB_CASES) {
      const {dialog, finish} = await open(c.word, c.selection);
      const forward = [await focused(dialog)];
      for (let i = 1; i < c.order.length; ++i) {
        await play(dialog, ['Tab']);
        forward.push(await focused(dialog));
      }
      assert.deepEqual(forward, c.order, `${c.word}: Tab`);
      const backward = [await focused(dialog)];
      for (let i = 1; i < c.order.length; ++i) {
        await play(dialog, ['Shift+Tab']);
        backward.push(await focused(dialog));
      }
      assert.deepEqual(backward, [...c.order].reverse(), `${c.word}: Shift+Tab`);
      await play(dialog, ['Escape']);
      assert.deepEqual(await finish(), [], `${c.word}: Escape cancelled`);
    }
  });
});

test('the converter: picking by typing leaves the focus there; the result answers as one ' +
     'types; Enter calculates',
     {timeout: 60000}, async () => {
  await withBrowser(async (open) => {
    const {dialog, finish} = await open('CONVERT', '12.5 km');
    assert.equal(await focused(dialog), 'amount');
    // Down the to-unit list by its keys, then by typing a name.
    await play(dialog, ['Tab', 'Tab', 'ArrowDown']);
    await settled(dialog);
    assert.equal(await focused(dialog), 'toUnits');
    await play(dialog, [{type: 'miles'}]);
    await settled(dialog);
    const chosen = () => dialog.$eval('#toUnits', (s) => s.selectedOptions[0]?.textContent);
    assert.equal(await chosen(), 'miles');
    assert.equal(await focused(dialog), 'toUnits', 'the focus stayed on the list typed in');
    assert.equal(await dialog.$eval('#amount', (i) => i.value), '12.5', 'no key reached the amount');
    // The result answers the pick before any button is pressed.
    await dialog.waitForFunction(() =>
      document.querySelector('#result').textContent === '12.5 kilometres = 7.76714 miles');
    await play(dialog, ['Enter']);
    await dialog.waitForFunction(() =>
      document.querySelector('#result').textContent === '12.5 kilometres = 7.76714 miles');
    assert.equal(await focused(dialog), 'toUnits');
    // A new amount typed: the result answers each key, the focus and the
    // typing stay in the field; then the default button from there.
    await play(dialog, ['Shift+Tab', 'Shift+Tab', 'Control+a', {type: '20'}]);
    await dialog.waitForFunction(() =>
      document.querySelector('#result').textContent === '20 kilometres = 12.4274 miles');
    assert.equal(await focused(dialog), 'amount');
    await play(dialog, ['Backspace']);
    await dialog.waitForFunction(() =>
      document.querySelector('#result').textContent === '2 kilometres = 1.24274 miles');
    assert.equal(await dialog.$eval('#amount', (i) => i.value), '2');
    await play(dialog, ['Enter']);
    // The buttons' access keys, as the dialog's texts mark them.
    const keys = await dialog.$$eval('button', (all) => all.map((b) => `${b.id} ${b.accessKey}`));
    assert.deepEqual(keys, ['calculate c', 'help h', 'ok o']);
    // Not a number: the message takes the focus, and the rule gives it to
    // the amount.
    await play(dialog, ['Control+a', {type: 'x'}, 'Tab', 'Tab', 'Tab', 'Enter']);
    await dialog.waitForSelector('#message:not([hidden])');
    assert.equal(await focused(dialog), 'message-ok');
    await play(dialog, ['Tab']);
    assert.equal(await focused(dialog), 'message-ok', 'Tab stays in the message');
    await play(dialog, ['Enter']);
    await dialog.waitForSelector('#message[hidden]');
    await settled(dialog);
    assert.equal(await focused(dialog), 'amount');
    await play(dialog, ['Escape']);
    assert.deepEqual(await finish(), []);
  });
});

test('the currency dialog from the keyboard', {timeout: 60000}, async () => {
  await withBrowser(async (open) => {
    const {dialog, finish} = await open('CURRENCY', '$12.50');
    await play(dialog, ['Tab', 'Tab', 'Tab', 'Control+a', {type: '30'}, 'Tab', {type: 'GBP'}]);
    await settled(dialog);
    assert.equal(await focused(dialog), 'from');
    await play(dialog, ['Tab', {type: 'JPY'}]);
    await settled(dialog);
    assert.equal(await focused(dialog), 'to');
    assert.equal(await dialog.$eval('#text', (i) => i.value), '30');
    await play(dialog, ['Enter']);
    assert.deepEqual(await finish(), ['Rates?amount=30&from=GBP&to=JPY']);
  });
});

test('a message answered from the keyboard gives the focus back', {timeout: 60000},
     async () => {
  await withBrowser(async (open) => {
    // Not an ISBN: OK tells so, and the rule puts the focus on the text.
    const {dialog, finish} = await open('ISBN', 'no number');
    await play(dialog, ['Enter']);
    await dialog.waitForSelector('#message:not([hidden])');
    const box = await dialog.$eval('#message [role=alertdialog]', (b) => ({
      modal: b.getAttribute('aria-modal'), caption: b.querySelector('h2').textContent,
    }));
    assert.deepEqual(box, {modal: 'true', caption: 'Pellmor Quillmark'});
    assert.equal(await focused(dialog), 'message-ok');
    assert.ok(await dialog.$eval('#dialog', (d) => d.inert), 'the dialog waits under the message');
    await play(dialog, ['Escape']);
    await dialog.waitForSelector('#message[hidden]');
    await settled(dialog);
    assert.equal(await focused(dialog), 'text');
    await play(dialog, ['Control+a', {type: ISBN}, 'Enter']);
    assert.deepEqual(await finish(), sites('Alder'));
  });
});
