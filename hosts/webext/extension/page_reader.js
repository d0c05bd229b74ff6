// Reads the page a menu was opened on: a content script in the frame under
// the mouse gathers what the core asks about (its window's name, address
// and title, the selection as text and as HTML, the active element, the
// link under the mouse, the screen), and one in the top frame gives the top
// window's. Where the browser lets no script in (its own pages, a store),
// the click's data stands in for the page.
'use strict';

// How much of the link the menu was opened on the core is given: its text
// as far as a dialog's box holds it, and its element only when whole (a
// cut element would be markup the page never had).
const LINK_TEXT_LIMIT = 1024;
const LINK_HTML_LIMIT = 16384;

// How much of each value of the page crosses into the background, in
// UTF-16 units. The page writes them, and one of millions of characters
// would hold up every command in every tab while it is copied. The
// selection and the focused element as text or markup: 1 Mi, what a mail
// body takes, far past what a person selects and what the recognisers
// and the dialog's box (1,023) use. An address: 2 Mi, the longest address
// the browser itself opens. A window's name and a page's title: 64 Ki,
// names of windows to reuse and a mail's subject. A host name: 1 Ki (a
// DNS name has at most 253 characters, written out in Unicode longer).
const PAGE_LIMITS = Object.freeze({text: 1 << 20, href: 2 << 20, name: 1 << 16, host: 1 << 10});

// `text` as a string of at most `limit` units, never ending in the first
// half of a surrogate pair.
function cutText(text, limit) {
  text = typeof text === 'string' ? text : '';
  if (text.length <= limit) return text;
  const high = text.charCodeAt(limit - 1);
  return text.slice(0, high >= 0xd800 && high <= 0xdbff ? limit - 1 : limit);
}

// Runs in the page's frame: everything is read, nothing is changed, and
// every value is cut to its limit there (cutText's rule, written again
// here because the function crosses into the page alone). The link is the
// one of the click's address under the mouse, else the focused one, else
// the first in the page.
function gatherFrame(linkUrl, textLimit, htmlLimit, limits) {
  const cut = (text, limit) => {
    text = String(text ?? '');
    if (text.length <= limit) return text;
    const high = text.charCodeAt(limit - 1);
    return text.slice(0, high >= 0xd800 && high <= 0xdbff ? limit - 1 : limit);
  };
  const selection = window.getSelection();
  let selectionText;
  let selectionHtml;
  if (selection && selection.rangeCount > 0 && !selection.isCollapsed) {
    selectionText = cut(selection.toString(), limits.text);
    const holder = document.createElement('div');
    for (let i = 0; i < selection.rangeCount; ++i) {
      holder.appendChild(selection.getRangeAt(i).cloneContents());
    }
    selectionHtml = cut(holder.innerHTML, limits.text);
  }
  let link = null;
  if (linkUrl) {
    const matches = Array.from(document.links).filter((a) => a.href === linkUrl);
    const element = matches.find((a) => a.matches(':hover')) ??
        matches.find((a) => a === document.activeElement) ?? matches[0];
    if (element) {
      const text = String(element.innerText ?? element.textContent ?? '');
      const html = String(element.outerHTML);
      link = {text: text.slice(0, textLimit + 1),
              html: html.length <= htmlLimit ? html : ''};
    }
  }
  const element = document.activeElement !== document.body ? document.activeElement : null;
  const active = element ? {
    tag: cut(element.tagName, limits.host),
    outerHtml: cut(element.outerHTML, limits.text),
    innerText: cut(element.innerText ?? element.textContent, limits.text),
  } : null;
  return {
    isTop: window === window.top,
    name: cut(window.name, limits.name),
    href: cut(location.href, limits.href),
    hostname: cut(location.hostname, limits.host),
    title: cut(document.title, limits.name),
    selectionText,
    selectionHtml,
    active,
    link,
    screen: {availWidth: screen.availWidth, availHeight: screen.availHeight},
  };
}

function gatherTop(limits) {
  const cut = (text, limit) => {
    text = String(text ?? '');
    if (text.length <= limit) return text;
    const high = text.charCodeAt(limit - 1);
    return text.slice(0, high >= 0xd800 && high <= 0xdbff ? limit - 1 : limit);
  };
  return {name: cut(window.name, limits.name), href: cut(location.href, limits.href),
          hostname: cut(location.hostname, limits.host), title: cut(document.title, limits.name)};
}

// The link as the core may have it, whatever the page made of it: the
// browser's own address, and texts that are strings, within their limits.
// A text cut at the limit never ends in half a surrogate pair.
// eslint-disable-next-line no-unused-vars
function boundedLink(linkUrl, gathered) {
  if (typeof linkUrl !== 'string' || linkUrl === '') return null;
  const text = cutText(gathered?.text, LINK_TEXT_LIMIT);
  const html = typeof gathered?.html === 'string' && gathered.html.length <= LINK_HTML_LIMIT
    ? gathered.html : '';
  return {href: linkUrl, text, html};
}

function hostnameOf(address) {
  try {
    return new URL(address).hostname;
  } catch {
    return '';
  }
}

async function runInFrame(tabId, frameId, func, args = []) {
  const [result] = await api.scripting.executeScript({
    target: {tabId, frameIds: [frameId]}, func, args,
  });
  return result?.result;
}

async function readPage(info, tab) {
  const frameId = info.frameId ?? 0;
  const linkUrl = info.linkUrl ?? '';
  let frame = null;
  let top = null;
  try {
    frame = await runInFrame(tab.id, frameId, gatherFrame,
                             [linkUrl, LINK_TEXT_LIMIT, LINK_HTML_LIMIT, PAGE_LIMITS]);
    top = frame?.isTop ? frame : await runInFrame(tab.id, 0, gatherTop, [PAGE_LIMITS]);
  } catch (e) {
    console.info('qmkit: the page could not be read:', String(e));
  }
  if (!frame) {
    const address = cutText(info.frameUrl || info.pageUrl || tab.url, PAGE_LIMITS.href);
    frame = {
      isTop: !info.frameUrl, name: '', href: address, hostname: hostnameOf(address),
      title: info.frameUrl ? '' : cutText(tab.title, PAGE_LIMITS.name),
      selectionText: typeof info.selectionText === 'string'
        ? cutText(info.selectionText, PAGE_LIMITS.text) : undefined,
      selectionHtml: undefined,
      active: null,
      link: {text: info.linkText ?? '', html: ''},
    };
  }
  // The address is the browser's: the page cannot change which link the
  // menu was opened on.
  frame.link = boundedLink(linkUrl, frame.link);
  if (!top) {
    const address = cutText(info.pageUrl || tab.url, PAGE_LIMITS.href);
    top = {name: '', href: address, hostname: hostnameOf(address),
           title: cutText(tab.title, PAGE_LIMITS.name)};
  }
  return {frame, top, tabId: tab.id, frameId};
}
