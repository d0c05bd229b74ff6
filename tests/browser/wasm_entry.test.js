// The WebAssembly module under node, without a browser: the extension's
// side of every request is played by the test, so what crosses between the
// core and the extension can be checked exactly.
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const {EXTENSION_DIR} = require('./harness.js');

const createQmkit = require(path.join(EXTENSION_DIR, 'qmkit_core.js'));

// Runs `word` on a page described by `values`; `answer(request)` answers
// each request. Returns the requests in order. `memory`, when given, is the
// most the module may allocate for one text it is handed.
async function click(word, values, answer, memory = Infinity) {
  const requests = [];
  const module = await createQmkit({
    qmAllocate: (size) => (size > memory ? 0 : module._malloc(size)),
    wasmBinary: fs.readFileSync(path.join(EXTENSION_DIR, 'qmkit_core.wasm')),
    qmRequestValue: (key) => (Object.hasOwn(values, key) ? values[key] : null),
    qmAsk: async (request) => {
      requests.push(request);
      return answer(request);
    },
    qmTell: (notice) => requests.push(notice),
  });
  await module.ccall('qm_click', null, ['string'], [word], {async: true});
  return requests;
}

const PAGE = {'frame.isTop': 1, 'frame.href': 'https://a.example/p', 'frame.hostname': 'a.example',
              'frame.title': 'T', 'frame.name': ''};

test('text of every kind crosses to the extension intact', async () => {
  // Quotes, a backslash, control characters, the separators JSON in a
  // script must escape, a character beyond the BMP, and a lone surrogate.
  const text = 'a"b\\c\u0001d\u2028e\u2029f\u{20BB7}g\uD800h';
  const requests = await click('SEARCH', {...PAGE, 'selection.text': text},
      (r) => (r.kind === 'dialog' ? 'cancel' : '1'));
  const dialog = requests.find((r) => r.kind === 'dialog');
  assert.ok(dialog, `a dialog was asked for: ${JSON.stringify(requests)}`);
  // The line and paragraph separators are white space, tidied to blanks.
  assert.equal(dialog.state.text, 'a"b\\c\u0001d e f\u{20BB7}g\uFFFDh');
});

test('a NUL in the stored catalogue does not end it: the entries after it are offered',
     async () => {
  const catalogue = '[BOOK:A]\nshortDescription=A\0cut\nurl=https://a.example/?q=!s\n' +
                    '[BOOK:B]\nshortDescription=B\nurl=https://b.example/?q=!s\n';
  const requests = await click('BOOK', {...PAGE, 'selection.text': 'x', catalogue},
      (r) => (r.kind === 'dialog' ? 'cancel' : '1'));
  const dialog = requests.find((r) => r.kind === 'dialog');
  assert.ok(dialog, JSON.stringify(requests));
  // The value holding the NUL is read as the linter's warning says; what
  // matters here is that entry B, after it, still reaches the dialog.
  assert.deepEqual(dialog.state.lines.map((line) => line.text), ['A\0cut', 'B']);
});

test('a gesture the dialog does not know comes back as a fault, then the dialog goes on',
     async () => {
  const answers = ['toggle 99', 'text "0-306-40615-2"; ok'];
  const requests = await click('ISBN', {...PAGE, 'selection.text': 'x'}, (r) => {
    if (r.kind === 'dialog') return answers.shift();
    if (r.kind === 'open') return String(requests.length);
    return '1';
  });
  const dialogs = requests.filter((r) => r.kind === 'dialog');
  assert.equal(dialogs.length, 2);
  assert.equal(dialogs[0].fault, '');
  assert.match(dialogs[1].fault, /no line "99"/);
  const opened = requests.filter((r) => r.kind === 'open').map((r) => r.url);
  assert.deepEqual(opened, ['https://www.bookfinder.com/search/?isbn=0306406152&mode=isbn&st=sr&ac=qr',
                            'https://openlibrary.org/isbn/0306406152']);
});

test('ticks are read under folded names; a tick left alone does not overwrite one stored',
     async () => {
  // WorldCat remembered as ticked, BookFinder as not (its default is ticked).
  const values = {...PAGE, 'selection.text': '0306406152',
                  'tick:isbn:worldcat': 1, 'tick:isbn:bookfinder': 0};
  const requests = await click('ISBN', values,
      (r) => (r.kind === 'dialog' ? 'toggle 1; ok' : '1'));
  const dialog = requests.find((r) => r.kind === 'dialog');
  const chosen = dialog.state.lines.filter((l) => l.chosen).map((l) => l.text);
  assert.deepEqual(chosen, ['Open Library', 'WorldCat']);
  const stored = requests.find((r) => r.kind === 'store').values;
  assert.ok(stored.some((v) => v.name === 'ISBN:AbeBooks' && v.value === 1));
  assert.ok(!stored.some((v) => /WorldCat|BookFinder/.test(v.name)), JSON.stringify(stored));
});

test('a closed dialog window is Cancel: nothing is opened or stored', async () => {
  const requests = await click('ISBN', {...PAGE, 'selection.text': '0306406152'},
      (r) => (r.kind === 'dialog' ? '' : '1'));
  assert.deepEqual(requests.map((r) => r.kind), ['dialog', 'dialog-end']);
});

test('the core hands out each tick\'s key and each message button\'s label', async () => {
  // An invalid ISBN first, which brings the message, then a valid one.
  const texts = ['text "12345"; ok', 'text "0306406152"; ok'];
  const requests = await click('ISBN', {...PAGE, 'selection.text': 'x'}, (r) => {
    if (r.kind === 'dialog') return texts.shift() ?? 'cancel';
    return r.kind === 'message' ? 'ok' : '1';
  });
  const message = requests.find((r) => r.kind === 'message');
  assert.ok(message, `the invalid ISBN was refused: ${requests.map((r) => r.kind)}`);
  assert.deepEqual(message.labels, {ok: 'OK', yes: 'Yes', no: 'No'});
  // Keys are the names with A-Z folded, made by the core alone.
  const stored = requests.find((r) => r.kind === 'store').values;
  assert.ok(stored.length > 0);
  for (const v of stored) assert.equal(v.key, v.name.replace(/[A-Z]/g, (c) => c.toLowerCase()));
});

test('the address policy reaches the extension through the module', async () => {
  const module = await createQmkit({
    wasmBinary: fs.readFileSync(path.join(EXTENSION_DIR, 'qmkit_core.wasm')),
    qmRequestValue: () => null, qmAsk: async () => '', qmTell: () => {},
  });
  const openable = (address) => module.ccall('qm_openable_address', 'string', ['string'],
                                             [address]);
  assert.equal(openable(' www.example.com/a '), 'https://www.example.com/a');
  assert.equal(openable('mailto:a@example.com'), 'mailto:a@example.com');
  assert.equal(openable('file:///etc/passwd'), '');
  assert.equal(openable('javascript:alert(1)'), '');
});

test('a text the module has no memory for counts as none, and nothing is written',
     async () => {
  const big = 'x'.repeat(1 << 20);
  // A selection and a window name too large to hold: the dialog opens on
  // no selection.
  let requests = await click('SEARCH', {...PAGE, 'selection.text': big, 'frame.name': big},
      (r) => (r.kind === 'dialog' ? 'cancel' : '1'), 65536);
  const dialog = requests.find((r) => r.kind === 'dialog');
  assert.ok(dialog, JSON.stringify(requests.map((r) => r.kind)));
  assert.equal(dialog.state.text, '');
  // An answer too large to hold is no answer: the dialog is cancelled.
  requests = await click('SEARCH', {...PAGE, 'selection.text': 'x'},
      (r) => (r.kind === 'dialog' ? `ok;${' '.repeat(1 << 17)}` : '1'), 65536);
  assert.deepEqual(requests.map((r) => r.kind), ['dialog', 'dialog-end']);
});
