// The options page: first steps for a newcomer, the catalogue in force, the
// user's catalogue edited, checked and stored, the remembered ticks moved
// between browsers, and whether the optional helper that starts commands is
// installed.
//
// Everything shown here that came from a catalogue or a file is put on the
// page as text: catalogues are shared around, and an entry's name or a
// finding quoting it is no markup of ours.
'use strict';

// Larger than any real file of ticks or catalogue; a file past it was
// picked by mistake.
const MAX_IMPORT_BYTES = 4 << 20;

const $ = (id) => document.getElementById(id);
const editor = $('catalogue-text');

function element(tag, text, className) {
  const node = document.createElement(tag);
  if (text !== undefined) node.textContent = text;
  if (className) node.className = className;
  return node;
}

// The core, for its linter and its loader. The page runs no command, so
// the callbacks a click would use answer nothing.
const corePromise = createQmkit({
  qmRequestValue: () => null,
  qmAsk: async () => '',
  qmTell: () => {},
});

// Calls the core's `name` with `text` (or null) and returns the JSON it
// answers.
async function callCore(name, text) {
  return JSON.parse(callCoreWithText(await corePromise, name, text));
}

// The linter's findings on `text`, in line order.
const lint = (text) => callCore('qm_lint', text);
const catalogueInForce = (text) => callCore('qm_catalogue', text);

async function menuTitles() {
  const module = await corePromise;
  const menu = JSON.parse(module.UTF8ToString(module._qm_menu()));
  return new Map(menu.entries.map((e) => [e.word, e.title]));
}

// ---- The user's catalogue ------------------------------------------------

const isBlank = (text) => text.trim() === '';

function setStatus(id, text, kind) {
  const node = $(id);
  node.textContent = text;
  node.className = kind ?? '';
}

// Puts the caret at the start of `line` (counted from 1) and scrolls it
// into view. The editor's value has LF line ends only.
function goToLine(line) {
  let offset = 0;
  for (let n = 1; n < line; ++n) {
    const next = editor.value.indexOf('\n', offset);
    if (next < 0) break;
    offset = next + 1;
  }
  editor.focus();
  editor.setSelectionRange(offset, offset);
  const lineHeight = parseFloat(getComputedStyle(editor).lineHeight) || 16;
  editor.scrollTop = Math.max(0, (line - 3) * lineHeight);
}

function showFindings(result) {
  const list = $('findings');
  list.replaceChildren();
  for (const f of result.findings) {
    const button = element('button', `Line ${f.line}: ${f.severity}: ${f.message}`,
                           'finding ' + f.severity);
    button.type = 'button';
    button.dataset.line = String(f.line);
    button.addEventListener('click', () => goToLine(f.line));
    const item = element('li');
    item.append(button);
    list.append(item);
  }
  for (const o of result.omitted) {
    const item = element('li', `Line ${o.line}: ${o.severity}: ${o.count} more of the kind ` +
                               `"${o.kind}" from here on are not shown.`, 'omitted');
    list.append(item);
  }
}

function tallyText(result) {
  const parts = [];
  const count = (n, word) => `${n} ${word}${n === 1 ? '' : 's'}`;
  if (result.errors) parts.push(count(result.errors, 'error'));
  if (result.warnings) parts.push(count(result.warnings, 'warning'));
  if (result.notes) parts.push(count(result.notes, 'note'));
  return parts.join(', ');
}

async function check() {
  $('save-anyway').hidden = true;
  if (isBlank(editor.value)) {
    showFindings({findings: [], omitted: []});
    setStatus('editor-status', 'The box is empty: the built-in catalogue alone is used.');
    return null;
  }
  const result = await lint(editor.value);
  showFindings(result);
  const tally = tallyText(result);
  setStatus('editor-status', tally ? `Checked: ${tally}.` : 'Checked: no findings.',
            result.errors ? 'bad' : result.warnings ? 'warn' : 'good');
  return result;
}

async function save(evenWithErrors) {
  const text = editor.value;
  if (isBlank(text)) {
    await api.storage.local.remove('catalogue');
    showFindings({findings: [], omitted: []});
    $('save-anyway').hidden = true;
    setStatus('editor-status', 'Saved: you have no catalogue of your own now; ' +
                               'the built-in catalogue is in force.', 'good');
    await showCatalogueInForce();
    return;
  }
  const result = await check();
  if (result.errors && !evenWithErrors) {
    $('save-anyway').hidden = false;
    setStatus('editor-status', `Not saved: ${tallyText(result)}, listed below. ` +
              'Correct them, or save the catalogue as it is.', 'bad');
    return;
  }
  try {
    await api.storage.local.set({catalogue: text});
  } catch (e) {
    // The browser's storage has a quota: the catalogue stored before stays.
    setStatus('editor-status', `Not saved: ${e.message}`, 'bad');
    return;
  }
  $('save-anyway').hidden = true;
  const tally = tallyText(result);
  setStatus('editor-status', tally ? `Saved, with ${tally}.` : 'Saved.',
            result.errors ? 'bad' : result.warnings ? 'warn' : 'good');
  await showCatalogueInForce();
}

// A catalogue file is UTF-8 when it decodes as such (a byte-order mark is
// dropped), else the Windows-1252 the desktop module's files are written in.
function decodeCatalogueFile(bytes) {
  try {
    return new TextDecoder('utf-8', {fatal: true}).decode(bytes);
  } catch {
    return new TextDecoder('windows-1252').decode(bytes);
  }
}

async function importCatalogue(file) {
  if (file.size > MAX_IMPORT_BYTES) {
    setStatus('editor-status', `Not imported: ${file.name} is larger than a catalogue ` +
              'can sensibly be.', 'bad');
    return;
  }
  editor.value = decodeCatalogueFile(new Uint8Array(await file.arrayBuffer()));
  await check();
  $('editor-status').textContent += ` Imported ${file.name}; press Save to use it.`;
}

function download(name, text, type) {
  const url = URL.createObjectURL(new Blob([text], {type}));
  const link = element('a');
  link.href = url;
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}

// With the byte-order mark and CR LF line ends, so that the desktop module
// reads the file as UTF-8 and Windows editors show its lines.
function exportCatalogue() {
  download('qmkit.ini', '\uFEFF' + editor.value.replace(/\r?\n/g, '\r\n'),
           'text/plain;charset=utf-8');
}

// ---- The catalogue in force ----------------------------------------------

function entryActions(entry) {
  const actions = [];
  if (entry.command) actions.push('runs: ' + entry.command);
  if (entry.href) actions.push('follows: ' + entry.href);
  else if (entry.url) actions.push('opens: ' + entry.url);
  if (entry.mail) actions.push(entry.mailTo ? 'mails to: ' + entry.mailTo : 'writes a mail');
  return actions.length ? actions.join('\n') : 'does nothing';
}

// "1 entry", "13 entries"; the converter's category counts units.
function countText(category) {
  const n = category.entries.length;
  const [one, many] = category.category === 'UNIT' ? ['unit', 'units'] : ['entry', 'entries'];
  return `${n} ${n === 1 ? one : many}`;
}

async function showCatalogueInForce() {
  const stored = (await api.storage.local.get('catalogue')).catalogue;
  const [inForce, titles] = await Promise.all([
    catalogueInForce(typeof stored === 'string' ? stored : null), menuTitles()]);
  const container = $('in-force');
  const open = new Set([...container.querySelectorAll('details[open]')]
      .map((d) => d.dataset.category));
  container.replaceChildren();
  for (const category of inForce.categories) {
    const fromUser = category.source === 'user';
    const details = element('details', undefined, fromUser ? 'user' : 'default');
    details.dataset.category = category.category;
    details.dataset.source = category.source;
    details.open = open.has(category.category);
    const title = titles.get(category.category === 'UNIT' ? 'CONVERT' : category.category);
    const summary = element('summary');
    summary.append(element('span', title ?? category.category, 'title'),
                   element('span', countText(category), 'count'),
                   element('span', fromUser ? 'from your catalogue' : 'built-in', 'source'));
    details.append(summary);

    const table = element('table');
    const head = element('tr');
    const unit = category.category === 'UNIT';
    for (const h of unit ? ['Section', 'Measures'] : ['Section', 'Line in the list', 'Does']) {
      head.append(element('th', h));
    }
    table.append(head);
    for (const entry of category.entries) {
      const row = element('tr');
      row.append(element('td', entry.name, 'name'));
      if (unit) {
        row.append(element('td', entry.unitCategory));
      } else {
        const line = element('td', entry.shortDescription);
        if (entry.longDescription) line.title = entry.longDescription;
        row.append(line, element('td', entryActions(entry), 'does'));
      }
      table.append(row);
    }
    details.append(table);
    container.append(details);
  }
}

// ---- Remembered ticks ----------------------------------------------------

// The ticks in a file as `ticks` holds them: an object of
// {key: {name, value}} with value 0 or 1 and key the one `tickKey` (the
// core's) makes of the name. Throws an Error saying what is wrong with
// anything else.
function parseTicks(text, tickKey) {
  let data;
  try {
    data = JSON.parse(text);
  } catch (e) {
    throw new Error(`it is not JSON (${e.message}).`);
  }
  if (typeof data !== 'object' || data === null || Array.isArray(data)) {
    throw new Error('it must hold one object of entry names, as the export writes.');
  }
  const ticks = {};
  for (const [key, tick] of Object.entries(data)) {
    const where = `the entry ${JSON.stringify(key)}`;
    if (typeof tick !== 'object' || tick === null || Array.isArray(tick)) {
      throw new Error(`${where} is not an object of "name" and "value".`);
    }
    const fields = Object.keys(tick).sort().join(',');
    if (fields !== 'name,value') {
      throw new Error(`${where} must have exactly "name" and "value", not ${fields || 'nothing'}.`);
    }
    if (typeof tick.name !== 'string' || tick.name === '' || /[\r\n]/.test(tick.name)) {
      throw new Error(`${where} has a "name" that is no entry name.`);
    }
    if (tickKey(tick.name) !== key) {
      throw new Error(`${where} does not match its name ${JSON.stringify(tick.name)}.`);
    }
    if (tick.value !== 0 && tick.value !== 1) {
      throw new Error(`${where} has a "value" other than the number 0 or 1.`);
    }
    Object.defineProperty(ticks, key, {
      value: {name: tick.name, value: tick.value}, enumerable: true, writable: true,
      configurable: true,
    });
  }
  return ticks;
}

async function showTickCount() {
  const ticks = (await api.storage.local.get('ticks')).ticks ?? {};
  const n = Object.keys(ticks).length;
  $('ticks-count').textContent = n === 0
    ? 'No choices are remembered yet.'
    : `The ticks of ${n} ${n === 1 ? 'entry are' : 'entries are'} remembered.`;
}

async function exportTicks() {
  const ticks = (await api.storage.local.get('ticks')).ticks ?? {};
  download('qmkit-ticks.json', JSON.stringify(ticks, null, 2) + '\n', 'application/json');
}

async function importTicks(file) {
  let ticks;
  try {
    if (file.size > MAX_IMPORT_BYTES) throw new Error('it is far too large.');
    const module = await corePromise;
    ticks = parseTicks(decodeCatalogueFile(new Uint8Array(await file.arrayBuffer())),
                       (name) => callCoreWithText(module, 'qm_tick_key', name));
  } catch (e) {
    setStatus('ticks-status', `Not imported: ${file.name} is no file of remembered ` +
              `choices: ${e.message}`, 'bad');
    return;
  }
  try {
    await api.storage.local.set({ticks});
  } catch (e) {
    setStatus('ticks-status', `Not imported: ${e.message}`, 'bad');
    return;
  }
  const n = Object.keys(ticks).length;
  setStatus('ticks-status', `Imported ${n} remembered ${n === 1 ? 'choice' : 'choices'} ` +
            `from ${file.name}; they replace the ones remembered before.`, 'good');
  await showTickCount();
}

// ---- The helper that starts commands -------------------------------------

// What the page says of the helper when it does not answer, by the kind of
// failure. The helper is optional: its absence is information, not an error.
const NATIVE_HOST_NOTICES = {
  missing: () => ['The command helper is not installed. Entries without a command ' +
                  'work as they are.', 'info'],
  forbidden: () => ['The command helper is installed for another copy of this ' +
                    'extension, so entries with a command cannot run.', 'warn'],
  broken: (e) => ['The command helper is installed but did not answer, so entries ' +
                  `with a command cannot run. (${e?.message ?? e})`, 'warn'],
};

async function askNativeHost() {
  setStatus('native-status', 'Asking the helper…');
  $('native-install').hidden = true;
  let answer;
  try {
    answer = await api.runtime.sendNativeMessage(NATIVE_HOST, {type: 'hello'});
  } catch (e) {
    setStatus('native-status', ...NATIVE_HOST_NOTICES[nativeHostFailure(e)](e));
    $('native-install').hidden = false;
    return;
  }
  if (answer?.type === 'hello' && typeof answer.version === 'string') {
    setStatus('native-status', `The command helper answers (version ${answer.version}): ` +
              'entries with a command can run.', 'good');
  } else {
    setStatus('native-status', 'The command helper answered in a way this extension ' +
              'does not understand; it may be of another version.', 'warn');
    $('native-install').hidden = false;
  }
}

// ---- First steps ---------------------------------------------------------

// The first steps greet a person until they hide them or use the page's
// controls; `welcome` in storage records which ('dismissed' or 'used'). The
// link in the header brings them back.
async function setUpWelcome() {
  const welcome = $('welcome');
  let seen = (await api.storage.local.get('welcome')).welcome !== undefined;
  welcome.hidden = seen;
  $('welcome-done').addEventListener('click', () => {
    seen = true;
    welcome.hidden = true;
    $('show-welcome').focus();
    return api.storage.local.set({welcome: 'dismissed'});
  });
  $('show-welcome').addEventListener('click', (event) => {
    event.preventDefault();
    welcome.hidden = false;
    $('welcome-heading').focus();
  });
  const onUse = (event) => {
    if (seen || welcome.contains(event.target)) return;
    if (event.type === 'click' && !event.target.closest('button')) return;
    seen = true;
    api.storage.local.set({welcome: 'used'});
  };
  for (const type of ['input', 'change', 'click']) {
    document.querySelector('main').addEventListener(type, onUse);
  }
}

// ---- Wiring --------------------------------------------------------------

function onFileChosen(input, handle) {
  input.addEventListener('change', async () => {
    const file = input.files[0];
    input.value = '';  // choosing the same file again is a new import
    if (file) await handle(file);
  });
}

async function start() {
  // A text the core cannot take, or storage that refuses, is said, not lost
  // in the console.
  const failed = (what) => (e) => setStatus('editor-status', `${what}: ${e.message}`, 'bad');
  $('check').addEventListener('click', () => check().catch(failed('Not checked')));
  $('save').addEventListener('click', () => save(false).catch(failed('Not saved')));
  $('save-anyway').addEventListener('click', () => save(true).catch(failed('Not saved')));
  editor.addEventListener('input', () => { $('save-anyway').hidden = true; });
  $('export-catalogue').addEventListener('click', exportCatalogue);
  onFileChosen($('import-catalogue'), importCatalogue);
  $('export-ticks').addEventListener('click', exportTicks);
  onFileChosen($('import-ticks'), importTicks);
  $('native-retry').addEventListener('click', askNativeHost);
  const openInWindows = $('open-in-windows');
  openInWindows.checked = (await api.storage.local.get('openIn')).openIn === 'windows';
  openInWindows.addEventListener('change', () =>
    api.storage.local.set({openIn: openInWindows.checked ? 'windows' : 'tabs'}));
  const newTabs = (await api.storage.local.get('newTabs')).newTabs === 'background'
    ? 'background' : 'foreground';
  for (const choice of document.querySelectorAll('input[name="new-tabs"]')) {
    choice.checked = choice.value === newTabs;
    choice.addEventListener('change', () => {
      if (choice.checked) api.storage.local.set({newTabs: choice.value});
    });
  }
  api.storage.onChanged.addListener((changes, area) => {
    if (area === 'local' && 'ticks' in changes) showTickCount();
  });

  const stored = (await api.storage.local.get('catalogue')).catalogue;
  editor.value = typeof stored === 'string' ? stored : '';
  await Promise.all([setUpWelcome(), showCatalogueInForce(), showTickCount(),
                     askNativeHost()]);
  document.body.dataset.ready = '1';
}

start().catch((e) => setStatus('editor-status', `The page could not start: ${e.message}`, 'bad'));
