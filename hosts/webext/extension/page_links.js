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

// In the page: the link, hidden, at the end of the document.
function insertLink(anchor) {
  const link = document.createElement('a');
  link.id = anchor.id;
  link.href = anchor.href;
  if (anchor.target) link.target = anchor.target;
  link.textContent = anchor.text;
  link.style.display = 'none';
  (document.body ?? document.documentElement).appendChild(link);
  return true;
}

function clickLink(id) {
  const link = document.getElementById(id);
  if (!link) return false;
  link.click();
  return true;
}

function removeElements(id) {
  for (const element of Array.from(document.querySelectorAll('[id]'))) {
    if (element.id === id) element.remove();
  }
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

// Puts the link `anchor` ({id, href, target, text}) at the end of the
// window `which`; false when its address must not be followed or the page
// refused.
// eslint-disable-next-line no-unused-vars
async function insertAnchor(click, which, anchor) {
  const href = await openableAddress(anchor.href);
  if (!href) return false;
  return inFrame(click, which, insertLink, [{
    id: String(anchor.id ?? ''), href, target: String(anchor.target ?? ''),
    text: String(anchor.text ?? ''),
  }]);
}

// eslint-disable-next-line no-unused-vars
async function clickAnchor(click, which, id) {
  return inFrame(click, which, clickLink, [id]);
}

// eslint-disable-next-line no-unused-vars
async function removeAnchors(click, which, id) {
  return inFrame(click, which, removeElements, [id]);
}
