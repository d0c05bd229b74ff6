// The dialog window's page: draws the dialog the core sends, as it stands,
// and sends back the person's gestures in the core's gesture language
// ("toggle 2", "text \"...\"", "ok"). Every text is put on the page as
// text, never as markup: it comes from the web page and the catalogue.
// Lists are shown in the order the core gives, labels with the core's
// texts, and the core bounds what is typed.
//
// A dialog is built once and then brought up to date in place, so that
// the focus, the caret and the keys a person is typing stay where they
// are; the focus moves only when the dialog is first drawn and when the
// dialog's own rules move it (the state's focusMoves changes).
'use strict';

// In a frame beside the selection, the page is named by the token its
// content script gave it; in a window of its own it has none.
const frameToken = location.hash.slice(1);
const port = api.runtime.connect(
    {name: frameToken ? `qmkit-dialog#${frameToken}` : 'qmkit-dialog'});
// Chromium ends a service worker, and Firefox an event page, after half a
// minute without activity, and with it the command waiting for this
// dialog; a message over the port counts as activity. Sent often enough to
// be proved against a shortened limit, from the first request on (a frame
// made ready and never used keeps nothing awake).
let keepAlive = null;
port.onDisconnect.addListener(() => clearInterval(keepAlive));
const root = document.getElementById('dialog');
const messageBox = document.getElementById('message');
const waitingNote = document.getElementById('waiting');

// The request being answered; null while an answer is on its way.
let current = null;

function el(tag, props = {}, ...children) {
  const node = document.createElement(tag);
  for (const [key, value] of Object.entries(props)) {
    if (key === 'class') node.className = value;
    else if (key.startsWith('on')) node.addEventListener(key.slice(2), value);
    else if (key in node) node[key] = value;
    else node.setAttribute(key, value);
  }
  for (const child of children) {
    if (child === null || child === undefined) continue;
    node.append(typeof child === 'string' ? document.createTextNode(child) : child);
  }
  return node;
}

const byId = (id) => document.getElementById(id);

// A gesture's argument in quotes, as the gesture language reads it.
function quoted(text) {
  return '"' + text.replace(/\\/g, '\\\\').replace(/"/g, '\\"') + '"';
}

// Gestures made while the answer to the last one is on its way (the second
// click of a double-click, keys pressed in a row), sent one per request as
// the requests come.
const waiting = [];

function send(text) {
  if (!current) {
    waiting.push(text);
    return;
  }
  current = null;  // one answer per request
  port.postMessage({type: 'answer', text});
}

// A text field as the person edits it: `drawn` is what the core holds,
// `shown` what the field held when last drawn or sent. A redraw that finds
// the field changed since then keeps the person's typing; the next gesture
// carries it.
function textField(input) {
  return {input, drawn: input.value, shown: input.value};
}

function syncField(field, text) {
  if (field.input.value === field.shown && field.input.value !== text) field.input.value = text;
  field.drawn = text;
  field.shown = field.input.value;
}

// The gestures for a dialog, after the edit the person made to the text
// field since it was drawn, if any ("text" is every dialog's word for its
// edit field, the amount included).
function gesture(script, field) {
  const edited = field && field.input.value !== field.drawn
      ? `text ${quoted(field.input.value)}; ` : '';
  if (field) field.shown = field.input.value;
  send(edited + script);
}

function button(id, label, onclick, key) {
  const node = el('button', {type: 'button', id, onclick}, label);
  if (key) node.accessKey = key;
  return node;
}

// Moves the focus along `elements` (those shown and enabled), by `step`,
// round from the last to the first as a dialog does.
function cycleFocus(elements, step) {
  const order = elements.filter((e) => e && !e.disabled && e.getClientRects().length > 0);
  if (order.length === 0) return;
  const at = order.findIndex((e) => e === document.activeElement || e.contains(document.activeElement));
  const next = at < 0 ? (step > 0 ? 0 : order.length - 1)
                      : (at + step + order.length) % order.length;
  order[next].focus();
}

// ---------------------------------------------------------------- the list

// The keys that move the highlight, as the line they move it to.
const LIST_MOVES = Object.freeze({
  ArrowDown: (at) => at + 1,
  ArrowUp: (at) => at - 1,
  Home: () => 0,
  End: (at, count) => count - 1,
  PageDown: (at, count, page) => at + page,
  PageUp: (at, count, page) => at - page,
});

// Letters typed within this time make one word to look for.
const TYPE_AHEAD_MS = 700;

function drawList(view) {
  const list = el('div', {
    id: 'list', class: 'list', tabIndex: 0, role: 'listbox', 'aria-labelledby': 'prompt',
  });
  view.rows = view.state.lines.map((line, i) => {
    const row = el('div', {id: `line-${i + 1}`, class: 'line', role: 'option',
                           'data-line': String(i + 1)},
                   el('span', {class: 'check', 'aria-hidden': 'true'}), el('span', {class: 'text'}));
    list.append(row);
    return row;
  });
  const lineOf = (event) => {
    const row = event.target.closest('.line');
    return row ? Number(row.dataset.line) - 1 : null;
  };
  // A click on the box ticks; a double-click anywhere on the line does too
  // (its first click on the box has already ticked).
  list.addEventListener('click', (event) => {
    const line = lineOf(event);
    if (line === null || event.detail > 1) return;
    if (event.target.closest('.check')) tick(view, line);
    else moveCursor(view, line);
  });
  list.addEventListener('dblclick', (event) => {
    const line = lineOf(event);
    if (line !== null && !event.target.closest('.check')) tick(view, line);
  });
  list.addEventListener('keydown', (event) => listKey(view, event));
  return list;
}

function listKey(view, event) {
  if (event.ctrlKey || event.altKey || event.metaKey) return;
  const count = view.rows.length;
  if (count === 0) return;
  if (Object.hasOwn(LIST_MOVES, event.key)) {
    event.preventDefault();
    const rowHeight = view.rows[0].offsetHeight || 1;
    const page = Math.max(1, Math.floor(view.list.clientHeight / rowHeight) - 1);
    const next = LIST_MOVES[event.key](view.cursor, count, page);
    moveCursor(view, Math.min(count - 1, Math.max(0, next)));
  } else if (event.key === ' ') {
    event.preventDefault();
    if (!event.repeat) tick(view, view.cursor);  // a held key ticks once
  } else if (event.key.length === 1 && event.key.trim() !== '') {
    event.preventDefault();
    typeAhead(view, event.key, event.timeStamp);
  }
}

// Typing jumps to the next line that starts with what was typed: one
// letter again and again goes from line to line of that letter.
function typeAhead(view, key, time) {
  const typed = time - view.typedAt < TYPE_AHEAD_MS ? view.typed + key : key;
  view.typed = typed;
  view.typedAt = time;
  const word = [...typed].every((c) => c === typed[0]) ? typed[0] : typed;
  const wanted = word.toLocaleLowerCase();
  const count = view.rows.length;
  // A longer word may still be the line under the highlight.
  const first = word.length > 1 ? 0 : 1;
  for (let step = first; step < count + first; ++step) {
    const line = (view.cursor + step) % count;
    if (view.state.lines[line].text.toLocaleLowerCase().startsWith(wanted)) {
      moveCursor(view, line);
      return;
    }
  }
}

// The highlight follows the keyboard at once; the core is told, and its
// status line follows when it answers.
function moveCursor(view, line) {
  view.cursor = line;
  if (view.requested !== line) {
    view.requested = line;
    gesture(`highlight ${line + 1}`, view.field);
  }
  drawCursor(view, {scroll: true});
}

// The double-click gesture on `line`, highlighting it first as a click does.
function tick(view, line) {
  const highlight = view.requested === line ? '' : `highlight ${line + 1}; `;
  view.cursor = line;
  view.requested = line;
  drawCursor(view, {scroll: true});
  gesture(`${highlight}toggle ${line + 1}`, view.field);
}

// Scrolls the list, and only the list, so that `row` shows whole.
function scrollIntoList(list, row) {
  const top = row.offsetTop;
  const bottom = top + row.offsetHeight;
  if (top < list.scrollTop) list.scrollTop = top;
  else if (bottom > list.scrollTop + list.clientHeight) list.scrollTop = bottom - list.clientHeight;
}

function drawCursor(view, {scroll = false} = {}) {
  view.rows.forEach((row, i) => {
    row.classList.toggle('highlight', view.requested === i);
    row.classList.toggle('cursor', view.cursor === i);
  });
  const row = view.rows[view.cursor];
  if (row) {
    view.list.setAttribute('aria-activedescendant', row.id);
    if (scroll) scrollIntoList(view.list, row);
  } else {
    view.list.removeAttribute('aria-activedescendant');
  }
}

function updateList(view) {
  const state = view.state;
  state.lines.forEach((line, i) => {
    const row = view.rows[i];
    row.setAttribute('aria-checked', String(line.chosen));
    row.firstChild.classList.toggle('chosen', line.chosen);
    row.lastChild.textContent = line.text;
  });
  view.status.textContent = state.status;
  view.requested = state.highlight;
  // Before the first highlight, the keyboard starts at the line the list
  // opened on (the first ticked line), scrolled into view when drawn first.
  const opening = view.cursor === null;
  view.cursor = state.highlight ?? view.cursor ?? state.scroll ?? 0;
  drawCursor(view, {scroll: opening});
}

// ------------------------------------------------------ the choice dialogs

function currencySelect(view, id) {
  const select = el('select', {id});
  select.append(el('option', {value: '', disabled: true}, ''));
  for (const row of view.state.currencies) select.append(el('option', {value: row.code}, row.text));
  select.addEventListener('change', () => gesture(`${id} ${select.value}`, view.field));
  return select;
}

function buildChoice(request, currency) {
  const state = request.state;
  const labels = state.labels;
  const keys = state.keys ?? {};
  const view = {state, field: null, cursor: null, requested: null, typed: '', typedAt: 0,
                defaultButton: 'ok',
                tabOrder: ['ok', 'cancel', 'list', 'text', 'from', 'to', 'help'],
                focusTargets: {ok: 'ok', list: 'list', text: 'text'}};
  const parts = [];
  if (currency) {
    view.field = textField(el('input', {type: 'text', id: 'text', autocomplete: 'off'}));
    view.from = currencySelect(view, 'from');
    view.to = currencySelect(view, 'to');
    parts.push(el('div', {class: 'grid group'},
        el('label', {htmlFor: 'text'}, labels.convert),
        el('div', {}, view.field.input, ' ', el('span', {class: 'example'}, labels.example)),
        el('label', {htmlFor: 'from'}, labels.from), view.from,
        el('label', {htmlFor: 'to'}, labels.to), view.to));
  } else if (state.hasText) {
    view.field = textField(el('input', {type: 'text', id: 'text', autocomplete: 'off'}));
    parts.push(el('fieldset', {},
        el('legend', {}, el('label', {htmlFor: 'text'}, state.caption)), view.field.input));
  }
  view.list = drawList(view);
  view.status = el('div', {class: 'status', id: 'status', role: 'status'});
  parts.push(el('p', {class: 'prompt', id: 'prompt'}, state.prompt),
      el('div', {class: 'list-frame'},
          el('div', {class: 'column', 'aria-hidden': 'true'}, state.column), view.list),
      view.status,
      el('div', {class: 'buttons'},
          button('help', labels.help, () => gesture('help', view.field), keys.help),
          button('ok', labels.ok, () => gesture('ok', view.field), keys.ok),
          button('cancel', labels.cancel, () => send('cancel'), keys.cancel)));
  view.fault = el('p', {class: 'fault', role: 'alert'});
  root.replaceChildren(view.fault, ...parts);
  return view;
}

function updateChoice(view, request) {
  const state = request.state;
  if (view.field) syncField(view.field, state.text);
  if (view.from) {
    view.from.value = state.source ?? '';
    view.to.value = state.target ?? '';
  }
  view.fault.textContent = request.fault;
  updateList(view);
}

// ------------------------------------------------------------ the converter

function unitSelect(id, field, word) {
  const select = el('select', {id});
  select.addEventListener('change', () => gesture(`${word} ${select.value}`, field));
  return select;
}

// Fills a drop-down anew only when its names changed, so that a person
// going through it with the keys keeps their place.
function updateSelect(select, list) {
  const names = JSON.stringify(list.names);
  if (select.dataset.names !== names) {
    const options = list.names.map((name, i) => el('option', {value: String(i + 1)}, name));
    select.replaceChildren(el('option', {value: '', disabled: true}, ''), ...options);
    select.dataset.names = names;
  }
  select.firstChild.hidden = list.chosen >= 0;
  select.value = list.chosen >= 0 ? String(list.chosen + 1) : '';
}

function buildConvert(request) {
  const state = request.state;
  const labels = state.labels;
  const keys = state.keys ?? {};
  const input = el('input', {type: 'text', id: 'amount', autocomplete: 'off', value: state.amount});
  const field = textField(input);
  // The result answers as the person types: each edit goes to the core,
  // which recalculates; the field keeps the focus and the typing.
  input.addEventListener('input', () => {
    field.shown = input.value;
    send(`text ${quoted(input.value)}`);
  });
  const view = {state, field, defaultButton: 'calculate',
                tabOrder: ['categories', 'amount', 'fromUnits', 'toUnits', 'calculate', 'result',
                           'ok', 'help'],
                focusTargets: {amount: 'amount', category: 'categories', from: 'fromUnits',
                               to: 'toUnits', calculate: 'calculate', ok: 'ok'},
                firstFocus: 'amount'};
  view.categories = unitSelect('categories', field, 'category');
  view.fromUnits = unitSelect('fromUnits', field, 'from');
  view.toUnits = unitSelect('toUnits', field, 'to');
  view.result = el('output', {id: 'result', class: 'result', tabIndex: 0});
  root.replaceChildren(
      el('div', {class: 'grid'},
          el('label', {htmlFor: 'categories'}, labels.convertThe),
          el('div', {}, view.categories, ' ',
             el('label', {htmlFor: 'amount', class: 'visually-hidden'}, 'Amount'), input),
          el('label', {htmlFor: 'fromUnits'}, labels.from), view.fromUnits,
          el('label', {htmlFor: 'toUnits'}, labels.to), view.toUnits),
      el('div', {class: 'buttons centre'},
          button('calculate', labels.calculate, () => gesture('calculate', field),
                 keys.calculate)),
      el('label', {htmlFor: 'result', class: 'visually-hidden'}, 'Result'),
      view.result,
      el('p', {class: 'warranty'}, labels.warranty),
      el('div', {class: 'buttons'},
          button('help', labels.help, () => gesture('help', field), keys.help),
          button('ok', labels.ok, () => send('ok'), keys.ok)));
  return view;
}

function updateConvert(view, request) {
  const state = request.state;
  updateSelect(view.categories, state.categories);
  updateSelect(view.fromUnits, state.fromUnits);
  updateSelect(view.toUnits, state.toUnits);
  syncField(view.field, state.amount);
  view.result.textContent = state.result;
}

// ------------------------------------------------------------ the about box

function buildAbout(request) {
  const labels = request.state.labels;
  const keys = request.state.keys ?? {};
  root.replaceChildren(
      el('div', {class: 'about'},
          el('img', {src: 'icons/product-picture.png', alt: ''}),
          el('div', {}, el('p', {}, labels.product), el('p', {}, labels.feedback))),
      el('div', {class: 'buttons'},
          button('help', labels.help, () => send('help'), keys.help),
          button('customize', labels.customization, () => send('customize'), keys.customization)),
      el('div', {class: 'buttons'}, el('span', {id: 'go-to'}, labels.goToUrl),
          button('home', labels.homePage, () => send('home'), keys.homePage),
          button('ok', labels.ok, () => send('ok'), keys.ok)));
  byId('home').setAttribute('aria-describedby', 'go-to');
  return {defaultButton: 'ok', tabOrder: ['ok', 'help', 'customize', 'home'],
          focusTargets: {}, firstFocus: 'ok'};
}

// ------------------------------------------------------------- the drawing

// Each dialog: how it is built and brought up to date, and whether it
// shows the fault itself.
const DIALOG_VIEWS = Object.freeze({
  [Protocol.dialog.choice]: {
    build: (request) => buildChoice(request, false), update: updateChoice, showsFault: true,
  },
  [Protocol.dialog.currency]: {
    build: (request) => buildChoice(request, true), update: updateChoice, showsFault: true,
  },
  [Protocol.dialog.convert]: {build: buildConvert, update: updateConvert, showsFault: false},
  [Protocol.dialog.about]: {build: buildAbout, update: () => {}, showsFault: false},
});

// The dialog as drawn, kept while the same dialog is shown.
let view = null;

function focusControl(name) {
  const id = view.focusTargets[name] ?? view.firstFocus ?? view.focusTargets.ok;
  byId(id)?.focus();
}

function drawDialog(request) {
  if (!Object.hasOwn(DIALOG_VIEWS, request.dialog)) return;
  const kind = DIALOG_VIEWS[request.dialog];
  const state = request.state;
  const first = view === null || view.dialog !== request.dialog;
  if (!first && waiting.length > 0) {
    // A state already out of date: the gestures still to come decide.
    view.state = state;
    send(waiting.shift());
    return;
  }
  document.title = request.title;
  byId('title').textContent = request.title;
  hideMessage();
  if (first) {
    view = kind.build(request);
    view.dialog = request.dialog;
  }
  view.state = state;
  kind.update(view, request);
  root.querySelector(':scope > p.fault.own')?.remove();
  if (request.fault && !kind.showsFault) {
    root.prepend(el('p', {class: 'fault own', role: 'alert'}, request.fault));
  }
  const moves = state.focusMoves ?? 0;
  if (first || moves !== view.focusMoves) focusControl(state.focus);
  view.focusMoves = moves;
  if (waiting.length > 0) send(waiting.shift());
}

// ------------------------------------------------------------ the messages

const ICONS = {exclamation: '\u26a0\ufe0f', stop: '\u26d4', question: '\u2753',
               information: '\u2139\ufe0f', none: ''};

// Where the focus was before a message took it, to give it back; the
// message's button that has the focus first.
let focusBeforeMessage = null;
let messageDefault = null;

function messageShown() {
  return !messageBox.hidden;
}

function hideMessage() {
  if (!messageShown()) return;
  messageBox.hidden = true;
  root.inert = false;
  const back = focusBeforeMessage;
  focusBeforeMessage = null;
  if (back?.isConnected) back.focus();
}

function answerMessage(answer) {
  if (current?.kind !== Protocol.request.message) return;
  hideMessage();
  send(answer);
}

function drawMessage(request) {
  byId('message-icon').textContent = ICONS[request.icon] ?? '';
  byId('message-caption').textContent = request.caption;
  byId('message-text').textContent = request.text;
  const yesNo = request.buttons === Protocol.buttons.yesNo;
  const answers = yesNo ? [Protocol.button.yes, Protocol.button.no] : [Protocol.button.ok];
  const buttons = answers.map((answer) => button('message-' + answer, request.labels[answer],
                                                 () => answerMessage(answer)));
  byId('message-buttons').replaceChildren(...buttons);
  if (!messageShown() && !messageBox.contains(document.activeElement)) {
    focusBeforeMessage = document.activeElement;
  }
  messageBox.hidden = false;
  root.inert = true;
  messageDefault = buttons[yesNo && request.secondDefault ? 1 : 0];
  messageDefault.focus();
  if (!root.hasChildNodes()) {
    document.title = request.caption;
    byId('title').textContent = request.caption;
  }
}

// What the background sends over the port, by kind.
const REQUEST_DRAWERS = Object.freeze({
  [Protocol.request.message]: (request) => {
    waiting.length = 0;  // a message box takes its own answer
    drawMessage(request);
  },
  [Protocol.request.dialog]: drawDialog,
});

// The size the page needs to show what it holds, for its frame or window
// to be fitted to it.
function reportSize() {
  const box = messageBox.querySelector('.box');
  const dialogHeight = root.hasChildNodes() ? root.getBoundingClientRect().height : 0;
  const notice = waitingNote.hidden ? 0 : waitingNote.getBoundingClientRect().height;
  const width = Math.max(root.hasChildNodes() ? root.offsetWidth : 0,
                         messageShown() ? box.offsetWidth + 24 : 0);
  const height = Math.max(dialogHeight, messageShown() ? box.offsetHeight + 24 : 0) + notice;
  port.postMessage({type: 'drawn', width: Math.ceil(width), height: Math.ceil(height),
                    chromeWidth: outerWidth - innerWidth, chromeHeight: outerHeight - innerHeight});
}

// What the background sends besides requests: another command waits for
// this dialog; the frame was shown; one dialog of the command ended, and
// the frame is kept for the next.
const CHANNEL_NOTICES = Object.freeze({
  waiting: (notice) => {
    waitingNote.textContent = `"${String(notice.title)}" waits until this dialog is closed.`;
    waitingNote.hidden = false;
    reportSize();
  },
  shown: () => {
    if (messageShown()) {
      if (!messageBox.contains(document.activeElement)) messageDefault?.focus();
    } else if (view && !root.contains(document.activeElement)) {
      focusControl(view.state.focus);
    }
  },
  reset: () => {
    current = null;
    view = null;
    waiting.length = 0;
    hideMessage();
    root.replaceChildren();
    waitingNote.hidden = true;
  },
});

port.onMessage.addListener((request) => {
  if (Object.hasOwn(CHANNEL_NOTICES, request?.kind)) {
    CHANNEL_NOTICES[request.kind](request);
    return;
  }
  if (!Object.hasOwn(REQUEST_DRAWERS, request?.kind)) return;
  keepAlive ??= setInterval(() => port.postMessage({type: 'keepalive'}), 5000);
  current = request;
  REQUEST_DRAWERS[request.kind](request);
  reportSize();
});

// ------------------------------------------------------------ the keyboard

// The keys of the window as a whole, as a dialog's: Tab goes round the
// controls in the dialog's order, Enter presses the default button (a
// button with the focus presses itself), Escape is Cancel.
const MESSAGE_KEYS = Object.freeze({
  Tab: (event) => cycleFocus([...byId('message-buttons').children], event.shiftKey ? -1 : 1),
  ArrowRight: () => cycleFocus([...byId('message-buttons').children], 1),
  ArrowDown: () => cycleFocus([...byId('message-buttons').children], 1),
  ArrowLeft: () => cycleFocus([...byId('message-buttons').children], -1),
  ArrowUp: () => cycleFocus([...byId('message-buttons').children], -1),
  Escape: () => answerMessage(current?.buttons === Protocol.buttons.yesNo
      ? Protocol.button.no : Protocol.button.ok),
});

const DIALOG_KEYS = Object.freeze({
  Tab: (event) => cycleFocus(view.tabOrder.map(byId), event.shiftKey ? -1 : 1),
  Escape: () => send('cancel'),
  Enter: (event) => {
    if (event.target instanceof HTMLButtonElement) return false;
    byId(view.defaultButton)?.click();
    return true;
  },
});

document.addEventListener('keydown', (event) => {
  // Enter and Escape while an input method composes belong to it.
  if (event.isComposing || event.keyCode === 229) return;
  if (event.defaultPrevented || event.ctrlKey || event.altKey || event.metaKey) return;
  const keys = messageShown() ? MESSAGE_KEYS : view ? DIALOG_KEYS : {};
  if (!Object.hasOwn(keys, event.key)) return;
  if (keys[event.key](event) !== false) event.preventDefault();
});
