// What the core does in the page itself: navigating the frame or the tab,
// and the link an href entry inserts and clicks. Every address has passed
// the address policy first, and the link is made as an element, never
// parsed into the page as markup.
'use strict';

function frameOf(click, which) {
  return which === Protocol.window.top ? 0 : click.page.frameId;
}

// Runs `func` in the frame `which` of the click's tab; false when the page
// refused it.
async function inFrame(click, which, func, args) {
  try {
    return await runInFrame(click.tab.id, frameOf(click, which), func, args);
  } catch (e) {
    console.info('qmkit: the page refused a change:', String(e));
    return false;
  }
}

// In the page: the link, hidden, put at the end of the document and
// clicked in one go, so the page has no moment to change it or to put one
// of its own with the same id in its place. The element is kept where only
// the extension's scripts see it (their own world of the frame), for its
// removal.
function insertAndClickLink(anchor) {
  const link = document.createElement('a');
  link.id = anchor.id;
  link.href = anchor.href;
  if (anchor.target) link.target = anchor.target;
  link.textContent = anchor.text;
  link.style.display = 'none';
  (document.body ?? document.documentElement).appendChild(link);
  globalThis.qmInsertedLinks ??= new Map();
  globalThis.qmInsertedLinks.set(anchor.id, link);
  link.click();
  return true;
}

// Removes the link the extension made under `id`; the page's own elements
// stay, whatever their ids.
function removeLink(id) {
  globalThis.qmInsertedLinks?.get(id)?.remove();
  globalThis.qmInsertedLinks?.delete(id);
  return true;
}

function goTo(url) {
  location.href = url;
  return true;
}

// Navigates the window `which` to `address`: the tab itself for the top
// window, for a page without frames and for a mail address; else the
// frame. False when the address must not be opened or the page refused.
// eslint-disable-next-line no-unused-vars
async function navigate(click, which, address) {
  const url = await openableAddress(address);
  if (!url) return false;
  if (which === Protocol.window.top || click.page.frame.isTop || /^mailto:/i.test(url)) {
    await api.tabs.update(click.tab.id, {url});
    return true;
  }
  return inFrame(click, which, goTo, [url]);
}

// Takes the link `anchor` ({id, href, target, text}) for the window
// `which`; false when its address must not be followed. The link goes into
// the page only when it is clicked.
// eslint-disable-next-line no-unused-vars
async function insertAnchor(click, which, anchor) {
  const href = await openableAddress(anchor.href);
  if (!href) return false;
  click.links ??= new Map();
  const id = String(anchor.id ?? '');
  click.links.set(id, {which, anchor: {id, href, target: String(anchor.target ?? ''),
                                       text: String(anchor.text ?? '')}});
  return true;
}

// Puts the link taken under `id` into its window and clicks it; false when
// there is none or the page refused.
// eslint-disable-next-line no-unused-vars
async function clickAnchor(click, which, id) {
  const taken = click.links?.get(String(id));
  if (!taken || taken.which !== which) return false;
  return inFrame(click, which, insertAndClickLink, [taken.anchor]);
}

// eslint-disable-next-line no-unused-vars
async function removeAnchors(click, which, id) {
  click.links?.delete(String(id));
  return inFrame(click, which, removeLink, [String(id)]);
}
