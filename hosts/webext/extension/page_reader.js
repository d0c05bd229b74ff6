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

// Runs in the page's frame: everything is read, nothing is changed. The
// link is the one of the click's address under the mouse, else the
// focused one, else the first in the page.
function gatherFrame(linkUrl, textLimit, htmlLimit) {
  const selection = window.getSelection();
  let selectionText;
  let selectionHtml;
  if (selection && selection.rangeCount > 0 && !selection.isCollapsed) {
    selectionText = selection.toString();
    const holder = document.createElement('div');
    for (let i = 0; i < selection.rangeCount; ++i) {
      holder.appendChild(selection.getRangeAt(i).cloneContents());
    }
    selectionHtml = holder.innerHTML;
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
    tag: element.tagName,
    outerHtml: element.outerHTML,
    innerText: element.innerText ?? element.textContent ?? '',
  } : null;
  return {
    isTop: window === window.top,
    name: window.name,
    href: location.href,
    hostname: location.hostname,
    title: document.title,
    selectionText,
    selectionHtml,
    active,
    link,
    screen: {availWidth: screen.availWidth, availHeight: screen.availHeight},
  };
}

function gatherTop() {
  return {name: window.name, href: location.href, hostname: location.hostname,
          title: document.title};
}

// The link as the core may have it, whatever the page made of it: the
// browser's own address, and texts that are strings, within their limits.
// A text cut at the limit never ends in half a surrogate pair.
// eslint-disable-next-line no-unused-vars
function boundedLink(linkUrl, gathered) {
  if (typeof linkUrl !== 'string' || linkUrl === '') return null;
  let text = typeof gathered?.text === 'string' ? gathered.text : '';
  if (text.length > LINK_TEXT_LIMIT) {
    const high = text.charCodeAt(LINK_TEXT_LIMIT - 1);
    text = text.slice(0, high >= 0xd800 && high <= 0xdbff ? LINK_TEXT_LIMIT - 1 : LINK_TEXT_LIMIT);
  }
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
                             [linkUrl, LINK_TEXT_LIMIT, LINK_HTML_LIMIT]);
    top = frame?.isTop ? frame : await runInFrame(tab.id, 0, gatherTop);
  } catch (e) {
    console.info('qmkit: the page could not be read:', String(e));
  }
  if (!frame) {
    const address = info.frameUrl || info.pageUrl || tab.url || '';
    frame = {
      isTop: !info.frameUrl, name: '', href: address, hostname: hostnameOf(address),
      title: info.frameUrl ? '' : (tab.title ?? ''),
      selectionText: info.selectionText, selectionHtml: undefined,
      active: null,
      link: {text: info.linkText ?? '', html: ''},
    };
  }
  // The address is the browser's: the page cannot change which link the
  // menu was opened on.
  frame.link = boundedLink(linkUrl, frame.link);
  if (!top) {
    const address = info.pageUrl || tab.url || '';
    top = {name: '', href: address, hostname: hostnameOf(address), title: tab.title ?? ''};
  }
  return {frame, top, tabId: tab.id, frameId};
}
