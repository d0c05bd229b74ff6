// The dialog window's page: draws the dialog the core sends, as it stands,
// and sends back the person's gestures in the core's gesture language
// ("toggle 2", "text \"...\"", "ok"). Every text is put on the page as
// text, never as markup: it comes from the web page and the catalogue.
'use strict';

const port = api.runtime.connect({name: 'qmkit-dialog'});
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

function send(text) {
  if (!current) return;
  current = null;  // one answer per request
  port.postMessage({type: 'answer', text});
}

// The gestures for a dialog, after the edit the person made to the text
// field since it was drawn, if any.
function gesture(script, field, word = 'text') {
  const edited = field && field.input.value !== field.drawn
      ? `${word} ${quoted(field.input.value)}; ` : '';
  send(edited + script);
}

function button(label, onclick, extra = {}) {
  return el('button', {type: 'button', onclick, ...extra}, label);
}

function drawList(state, field) {
  const list = el('div', {class: 'list', tabIndex: 0, role: 'listbox'},
                  el('div', {class: 'column'}, state.column));
  state.lines.forEach((line, i) => {
    const row = el('div', {
      class: 'line' + (state.highlight === i ? ' highlight' : ''),
      role: 'option', 'aria-selected': String(line.chosen),
      'data-line': String(i + 1),
      onclick: () => { if (state.highlight !== i) gesture(`highlight ${i + 1}`, field); },
      ondblclick: () => gesture(`toggle ${i + 1}`, field),
    }, el('span', {class: 'check' + (line.chosen ? ' chosen' : '')}), line.text);
    list.append(row);
  });
  list.addEventListener('keydown', (event) => {
    const count = state.lines.length;
    if (count === 0) return;
    const at = state.highlight ?? -1;
    if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
      const next = Math.min(count - 1, Math.max(0, at + (event.key === 'ArrowDown' ? 1 : -1)));
      event.preventDefault();
      gesture(`highlight ${next + 1}`, field);
    } else if (event.key === ' ' && at >= 0) {
      event.preventDefault();
      gesture(`toggle ${at + 1}`, field);
    }
  });
  const scrollTo = state.scroll ?? state.highlight;
  if (scrollTo !== null && scrollTo !== undefined) {
    queueMicrotask(() => list.children[scrollTo + 1]?.scrollIntoView({block: 'nearest'}));
  }
  return list;
}

function drawChoice(request, {currency = false} = {}) {
  const state = request.state;
  const labels = state.labels;
  let field = null;
  const parts = [];
  if (currency) {
    const input = el('input', {type: 'text', id: 'text', value: state.text});
    field = {input, drawn: state.text};
    const choose = (id, chosen) => {
      const select = el('select', {id});
      if (chosen === null) select.append(el('option', {value: '', disabled: true, selected: true}, ''));
      const rows = [...state.currencies].sort((a, b) => a.text.localeCompare(b.text));
      for (const row of rows) {
        select.append(el('option', {value: row.code, selected: row.code === chosen}, row.text));
      }
      select.addEventListener('change', () => gesture(`${id} ${select.value}`, field, 'amount'));
      return select;
    };
    parts.push(el('div', {class: 'grid'},
        el('label', {htmlFor: 'text'}, labels.convert),
        el('div', {}, input, ' ', labels.example),
        el('label', {htmlFor: 'from'}, labels.from), choose('from', state.source),
        el('label', {htmlFor: 'to'}, labels.to), choose('to', state.target)));
  } else if (state.hasText) {
    const input = el('input', {type: 'text', id: 'text', value: state.text, maxLength: 1023});
    field = {input, drawn: state.text};
    parts.push(el('fieldset', {}, el('legend', {}, state.caption), input));
  }
  const word = currency ? 'amount' : 'text';
  const ok = () => gesture('ok', field, word);
  field?.input.addEventListener('keydown', (event) => {
    if (event.key === 'Enter') { event.preventDefault(); ok(); }
  });
  parts.push(el('p', {class: 'prompt'}, state.prompt));
  const list = drawList(state, field);
  parts.push(list, el('div', {class: 'status', id: 'status'}, state.status));
  const okButton = button(labels.ok, ok, {id: 'ok'});
  parts.push(el('div', {class: 'buttons'},
      button(labels.help, () => gesture('help', field, word), {id: 'help'}),
      okButton,
      button(labels.cancel, () => send('cancel'), {id: 'cancel'})));
  root.replaceChildren(...parts);
  const focus = {ok: okButton, list, text: field?.input}[state.focus] ?? okButton;
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
    select.addEventListener('change', () => gesture(`${word} ${select.value}`, field, 'amount'));
    return select;
  };
  const calculate = button(labels.calculate, () => gesture('calculate', field, 'amount'),
                           {id: 'calculate'});
  input.addEventListener('keydown', (event) => {
    if (event.key === 'Enter') { event.preventDefault(); gesture('calculate', field, 'amount'); }
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
          button(labels.help, () => gesture('help', field, 'amount'), {id: 'help'}), okButton));
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
  const choices = request.buttons === 'yesno' ? [['yes', 'Yes'], ['no', 'No']] : [['ok', 'OK']];
  const buttons = choices.map(([answer, label]) => button(label, () => {
    box.hidden = true;
    send(answer);
  }, {id: 'message-' + answer}));
  document.getElementById('message-buttons').replaceChildren(...buttons);
  box.hidden = false;
  const preferred = request.buttons === 'yesno' && request.secondDefault ? 1 : 0;
  buttons[preferred].focus();
  if (!root.hasChildNodes()) document.title = request.caption;
}

port.onMessage.addListener((request) => {
  current = request;
  if (request.kind === 'message') {
    drawMessage(request);
    return;
  }
  document.title = request.title;
  document.getElementById('message').hidden = true;
  switch (request.dialog) {
    case 'choice': drawChoice(request); break;
    case 'currency': drawChoice(request, {currency: true}); break;
    case 'convert': drawConvert(request); break;
    case 'about': drawAbout(request); break;
    default: return;
  }
  if (request.fault) root.prepend(el('p', {class: 'fault'}, request.fault));
});

document.addEventListener('keydown', (event) => {
  if (event.key !== 'Escape' || !current) return;
  event.preventDefault();
  if (current.kind === 'message') {
    document.getElementById('message').hidden = true;
    send(current.buttons === 'yesno' ? 'no' : 'ok');
  } else {
    send('cancel');
  }
});
