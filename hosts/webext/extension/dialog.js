// The dialog window's page: draws the dialog the core sends, as it stands,
// and sends back the person's gestures in the core's gesture language
// ("toggle 2", "text \"...\"", "ok"). Every text is put on the page as
// text, never as markup: it comes from the web page and the catalogue.
// Lists are shown in the order the core gives, labels with the core's
// texts, and the core bounds what is typed.
'use strict';

const port = api.runtime.connect({name: 'qmkit-dialog'});
// Chromium ends a service worker, and Firefox an event page, after half a
// minute without activity, and with it the command waiting for this
// dialog; a message over the port counts as activity. Sent often enough to
// be proved against a shortened limit.
const keepAlive = setInterval(() => port.postMessage({type: 'keepalive'}), 5000);
port.onDisconnect.addListener(() => clearInterval(keepAlive));
const root = document.getElementById('dialog');

// The request being shown, and what its edit field held when drawn.
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

// A gesture's argument in quotes, as the gesture language reads it.
function quoted(text) {
  return '"' + text.replace(/\\/g, '\\\\').replace(/"/g, '\\"') + '"';
}

// Gestures made while the answer to the last one is on its way (the second
// click of a double-click), sent one per request as the requests come.
const waiting = [];

function send(text) {
  if (!current) {
    waiting.push(text);
    return;
  }
  current = null;  // one answer per request
  port.postMessage({type: 'answer', text});
}

// The gestures for a dialog, after the edit the person made to the text
// field since it was drawn, if any ("text" is every dialog's word for its
// edit field, the amount included).
function gesture(script, field) {
  const edited = field && field.input.value !== field.drawn
      ? `text ${quoted(field.input.value)}; ` : '';
  send(edited + script);
}

function button(label, onclick, extra = {}) {
  return el('button', {type: 'button', onclick, ...extra}, label);
}

// A choice dialog as drawn: its elements, kept while the same dialog is
// shown, so that the lines a person clicks stay the same elements from one
// state to the next (a double-click spans two of them).
let choiceView = null;

function drawList(view) {
  const list = el('div', {class: 'list', tabIndex: 0, role: 'listbox'},
                  el('div', {class: 'column'}, view.state.column));
  view.rows = view.state.lines.map((line, i) => {
    const row = el('div', {
      class: 'line', role: 'option', 'data-line': String(i + 1),
      onclick: () => {
        if (view.state.highlight !== i) gesture(`highlight ${i + 1}`, view.field);
      },
      ondblclick: () => gesture(`toggle ${i + 1}`, view.field),
    }, el('span', {class: 'check'}), el('span', {class: 'text'}));
    list.append(row);
    return row;
  });
  list.addEventListener('keydown', (event) => {
    const count = view.state.lines.length;
    if (count === 0) return;
    const at = view.state.highlight ?? -1;
    if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
      const next = Math.min(count - 1, Math.max(0, at + (event.key === 'ArrowDown' ? 1 : -1)));
      event.preventDefault();
      gesture(`highlight ${next + 1}`, view.field);
    } else if (event.key === ' ' && at >= 0) {
      event.preventDefault();
      gesture(`toggle ${at + 1}`, view.field);
    }
  });
  return list;
}

function updateList(view) {
  const state = view.state;
  state.lines.forEach((line, i) => {
    const row = view.rows[i];
    row.classList.toggle('highlight', state.highlight === i);
    row.setAttribute('aria-selected', String(line.chosen));
    row.firstChild.classList.toggle('chosen', line.chosen);
    row.lastChild.textContent = line.text;
  });
  view.status.textContent = state.status;
  const scrollTo = state.scroll ?? state.highlight;
  if (scrollTo !== null && scrollTo !== undefined) {
    view.rows[scrollTo]?.scrollIntoView({block: 'nearest'});
  }
}

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
  const view = {dialog: request.dialog, lineCount: state.lines.length, state, field: null};
  const parts = [];
  if (currency) {
    view.field = {input: el('input', {type: 'text', id: 'text'}), drawn: ''};
    view.from = currencySelect(view, 'from');
    view.to = currencySelect(view, 'to');
    parts.push(el('div', {class: 'grid'},
        el('label', {htmlFor: 'text'}, labels.convert),
        el('div', {}, view.field.input, ' ', labels.example),
        el('label', {htmlFor: 'from'}, labels.from), view.from,
        el('label', {htmlFor: 'to'}, labels.to), view.to));
  } else if (state.hasText) {
    view.field = {input: el('input', {type: 'text', id: 'text'}), drawn: ''};
    view.legend = el('legend', {}, state.caption);
    parts.push(el('fieldset', {}, view.legend, view.field.input));
  }
  const ok = () => gesture('ok', view.field);
  view.field?.input.addEventListener('keydown', (event) => {
    if (event.key === 'Enter') { event.preventDefault(); ok(); }
  });
  view.prompt = el('p', {class: 'prompt'}, state.prompt);
  view.list = drawList(view);
  view.status = el('div', {class: 'status', id: 'status'});
  view.ok = button(labels.ok, ok, {id: 'ok'});
  parts.push(view.prompt, view.list, view.status, el('div', {class: 'buttons'},
      button(labels.help, () => gesture('help', view.field), {id: 'help'}),
      view.ok,
      button(labels.cancel, () => send('cancel'), {id: 'cancel'})));
  view.fault = el('p', {class: 'fault'});
  root.replaceChildren(view.fault, ...parts);
  return view;
}

function drawChoice(request, {currency = false} = {}) {
  const state = request.state;
  if (!choiceView || choiceView.dialog !== request.dialog ||
      choiceView.lineCount !== state.lines.length) {
    choiceView = buildChoice(request, currency);
  }
  const view = choiceView;
  view.state = state;
  if (view.field) {
    view.field.input.value = state.text;
    view.field.drawn = state.text;
  }
  if (currency) {
    view.from.value = state.source ?? '';
    view.to.value = state.target ?? '';
  }
  view.fault.textContent = request.fault;
  updateList(view);
  const focus = {ok: view.ok, list: view.list, text: view.field?.input}[state.focus] ?? view.ok;
  focus.focus();
}

function drawConvert(request) {
  const state = request.state;
  const labels = state.labels;
  const input = el('input', {type: 'text', id: 'amount', value: state.amount});
  const field = {input, drawn: state.amount};
  const choose = (id, list) => {
    const select = el('select', {id});
    if (list.chosen < 0) select.append(el('option', {value: '', disabled: true, selected: true}, ''));
    list.names.forEach((name, i) => {
      select.append(el('option', {value: String(i + 1), selected: i === list.chosen}, name));
    });
    const word = {categories: 'category', fromUnits: 'from', toUnits: 'to'}[id];
    select.addEventListener('change', () => gesture(`${word} ${select.value}`, field));
    return select;
  };
  const calculate = button(labels.calculate, () => gesture('calculate', field),
                           {id: 'calculate'});
  input.addEventListener('keydown', (event) => {
    if (event.key === 'Enter') { event.preventDefault(); gesture('calculate', field); }
  });
  const categories = choose('categories', state.categories);
  const from = choose('fromUnits', state.fromUnits);
  const to = choose('toUnits', state.toUnits);
  const okButton = button(labels.ok, () => send('ok'), {id: 'ok'});
  root.replaceChildren(
      el('div', {class: 'grid'},
          el('label', {htmlFor: 'categories'}, labels.convertThe),
          el('div', {}, categories, ' ', input),
          el('label', {htmlFor: 'fromUnits'}, labels.from), from,
          el('label', {htmlFor: 'toUnits'}, labels.to), to),
      el('div', {class: 'buttons'}, calculate),
      el('div', {class: 'result', id: 'result'}, state.result),
      el('p', {class: 'warranty'}, labels.warranty),
      el('div', {class: 'buttons'},
          button(labels.help, () => gesture('help', field), {id: 'help'}), okButton));
  const focus = {amount: input, category: categories, from, to, calculate, ok: okButton}[state.focus];
  (focus ?? input).focus();
}

function drawAbout(request) {
  const labels = request.state.labels;
  const okButton = button(labels.ok, () => send('ok'), {id: 'ok'});
  root.replaceChildren(
      el('div', {class: 'about'},
          el('img', {src: 'icons/product-picture.png', alt: ''}),
          el('div', {}, el('p', {}, labels.product), el('p', {}, labels.feedback))),
      el('div', {class: 'buttons'},
          button(labels.help, () => send('help'), {id: 'help'}),
          button(labels.customization, () => send('customize'), {id: 'customize'})),
      el('div', {class: 'buttons'}, labels.goToUrl,
          button(labels.homePage, () => send('home'), {id: 'home'}), okButton));
  okButton.focus();
}

const ICONS = {exclamation: '\u26a0\ufe0f', stop: '\u26d4', question: '\u2753',
               information: '\u2139\ufe0f', none: ''};

function drawMessage(request) {
  const box = document.getElementById('message');
  document.getElementById('message-icon').textContent = ICONS[request.icon] ?? '';
  document.getElementById('message-text').textContent = request.text;
  const yesNo = request.buttons === Protocol.buttons.yesNo;
  const answers = yesNo ? [Protocol.button.yes, Protocol.button.no] : [Protocol.button.ok];
  const buttons = answers.map((answer) => button(request.labels[answer], () => {
    box.hidden = true;
    send(answer);
  }, {id: 'message-' + answer}));
  document.getElementById('message-buttons').replaceChildren(...buttons);
  box.hidden = false;
  const preferred = yesNo && request.secondDefault ? 1 : 0;
  buttons[preferred].focus();
  if (!root.hasChildNodes()) document.title = request.caption;
}

// Each dialog's drawing, and whether it shows the fault itself.
const DIALOG_DRAWERS = Object.freeze({
  [Protocol.dialog.choice]: {draw: (request) => drawChoice(request), showsFault: true},
  [Protocol.dialog.currency]: {
    draw: (request) => drawChoice(request, {currency: true}), showsFault: true,
  },
  [Protocol.dialog.convert]: {
    draw: (request) => { choiceView = null; drawConvert(request); }, showsFault: false,
  },
  [Protocol.dialog.about]: {
    draw: (request) => { choiceView = null; drawAbout(request); }, showsFault: false,
  },
});

function drawDialog(request) {
  if (!Object.hasOwn(DIALOG_DRAWERS, request.dialog)) return;
  const drawer = DIALOG_DRAWERS[request.dialog];
  document.title = request.title;
  document.getElementById('message').hidden = true;
  drawer.draw(request);
  if (request.fault && !drawer.showsFault) root.prepend(el('p', {class: 'fault'}, request.fault));
  if (waiting.length > 0) send(waiting.shift());
}

// What the background sends over the port, by kind.
const REQUEST_DRAWERS = Object.freeze({
  [Protocol.request.message]: (request) => {
    waiting.length = 0;  // a message box takes its own answer
    drawMessage(request);
  },
  [Protocol.request.dialog]: drawDialog,
});

port.onMessage.addListener((request) => {
  if (!Object.hasOwn(REQUEST_DRAWERS, request?.kind)) return;
  current = request;
  REQUEST_DRAWERS[request.kind](request);
});

document.addEventListener('keydown', (event) => {
  if (event.key !== 'Escape' || !current) return;
  event.preventDefault();
  if (current.kind === Protocol.request.message) {
    document.getElementById('message').hidden = true;
    send(current.buttons === Protocol.buttons.yesNo ? Protocol.button.no : Protocol.button.ok);
  } else {
    send('cancel');
  }
});
