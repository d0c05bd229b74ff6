// Reads the page a menu was opened on: a content script in the frame under
// the mouse gathers what the core asks about (its window's name, address
// and title, the selection as text and as HTML, the active element, the
// screen), and one in the top frame gives the top window's. Where the
// browser lets no script in (its own pages, a store), the click's data
// stands in for the page.
'use strict';

// Runs in the page's frame: everything is read, nothing is changed.
function gatherFrame(linkUrl) {
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
  let element = null;
  if (linkUrl) {
    element = Array.from(document.links).find((a) => a.href === linkUrl) ?? null;
  }
  if (!element && document.activeElement && document.activeElement !== document.body) {
    element = document.activeElement;
  }
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
    screen: {availWidth: screen.availWidth, availHeight: screen.availHeight},
  };
}

function gatherTop() {
  return {name: window.name, href: location.href, hostname: location.hostname,
          title: document.title};
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
    frame = await runInFrame(tab.id, frameId, gatherFrame, [linkUrl]);
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
      active: linkUrl ? {tag: 'A', outerHtml: '', innerText: info.linkText ?? ''} : null,
    };
  }
  if (!top) {
    const address = info.pageUrl || tab.url || '';
    top = {name: '', href: address, hostname: hostnameOf(address), title: tab.title ?? ''};
  }
  return {frame, top, tabId: tab.id, frameId};
}
