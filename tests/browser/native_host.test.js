// Commands of catalogue entries, started through qmkit's native messaging
// host from chromium: the page's text reaches the program as one argument,
// whole, with no shell reading it; and without the host the person is told
// so while the entry's other actions still run.
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const {execFileSync} = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const {
  startServer, launchChromium, openWithSelection, clickMenu, dialogPage, press, tabAddresses,
} = require('./harness');

const ROOT = path.resolve(__dirname, '../..');
const QMKIT = path.resolve(ROOT, process.env.QM_QMKIT || 'build/native/hosts/terminal/qmkit');

// A program that records each run's arguments in a file of its own,
// NUL-separated, and nothing else.
function writeRecorder(dir, outDir) {
  const script = path.join(dir, 'record-arguments');
  fs.writeFileSync(script,
      '#!/bin/sh\n' +
      `out='${outDir}'/run.$$\n` +
      'printf \'%s\\0\' "$@" > "$out.new" && mv "$out.new" "$out"\n');
  fs.chmodSync(script, 0o755);
  return script;
}

// The runs recorded in `outDir`, each as its argument list, once `count`
// are there or a few seconds have passed (the host does not wait for the
// programs it starts).
async function recordedRuns(outDir, count) {
  const deadline = Date.now() + 5000;
  let names = [];
  while (Date.now() < deadline) {
    names = fs.readdirSync(outDir).filter((n) => !n.endsWith('.new'));
    if (names.length >= count) break;
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  return names.map((n) => fs.readFileSync(path.join(outDir, n), 'utf8').split('\0').slice(0, -1));
}

function catalogue(recorder, origin) {
  return [
    '[OTHER:Record]',
    'shortDescription=Record the selection',
    `command=${recorder} first "!S" last`,
    'URLEncode=n',
    'defaultSelected=yes',
    '',
    '[OTHER:Look]',
    'shortDescription=Look it up',
    `url=${origin}/found?q=!s`,
    'charset=utf-8',
    'defaultSelected=yes',
    '',
  ].join('\n');
}

// Opens the page, runs OTHER on its selection and presses OK in the
// dialog. Resolves with the command's promise (it may still be waiting
// for a message to be answered).
async function runOther(browser, worker, extensionOrigin, url, storedCatalogue) {
  await worker.evaluate((text) => chrome.storage.local.set({catalogue: text}), storedCatalogue);
  const page = await openWithSelection(browser, url, '#pick');
  const done = clickMenu(worker, 'OTHER', page);
  const dialog = await dialogPage(browser, extensionOrigin);
  await dialog.waitForSelector('.line[data-line="2"]');
  const closed = new Promise((resolve) => dialog.once('close', resolve));
  await press(dialog, '#ok');
  return {done, closed};
}

test('a command gets the page text as one argument, and a missing host is told',
     {timeout: 90000}, async () => {
  assert.ok(fs.existsSync(QMKIT), `${QMKIT} is not built (set QM_QMKIT)`);
  const tmp = fs.mkdtempSync(path.join(os.tmpdir(), 'qmkit-native-'));
  const outDir = path.join(tmp, 'runs');
  fs.mkdirSync(outDir);
  const keep = path.join(tmp, 'keep');
  fs.writeFileSync(keep, '');
  const recorder = writeRecorder(tmp, outDir);
  const hostile = `Title "double" 'single' $(touch ${tmp}/dollar) \`touch ${tmp}/tick\` ` +
      `; rm ${keep} & echo <b>bold</b> | tee ${tmp}/pipe > ${tmp}/out %PATH% !x end`;
  const escaped = hostile.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
  const server = await startServer({
    '/hostile.html': `<!DOCTYPE html><title>hostile</title><p id="pick">${escaped}</p>`,
    '/found': '<!DOCTYPE html><title>found</title>',
  });

  const withHost = path.join(tmp, 'with-host');
  try {
    execFileSync(path.join(ROOT, 'tools/install-native-host.sh'), [
      '--chromium-dir', path.join(withHost, 'NativeMessagingHosts'),
      '--firefox-dir', path.join(tmp, 'firefox-hosts'),
      '--launcher-dir', path.join(tmp, 'launcher'), QMKIT,
    ], {stdio: ['ignore', 'ignore', 'inherit']});
    await test.test('with the host installed', async () => {
      const {browser, worker, extensionOrigin} = await launchChromium({userDataDir: withHost});
      try {
        const {done} = await runOther(browser, worker, extensionOrigin,
                                      `${server.origin}/hostile.html`,
                                      catalogue(recorder, server.origin));
        await done;
        const runs = await recordedRuns(outDir, 1);
        assert.deepEqual(runs, [['first', hostile, 'last']]);
        // Nothing the text names was made or removed.
        const left = fs.readdirSync(tmp).sort();
        assert.deepEqual(left, ['firefox-hosts', 'keep', 'launcher', 'record-arguments', 'runs',
                                'with-host']);
      } finally {
        await browser.close();
      }
    });

    await test.test('without the host', async () => {
      const withoutHost = path.join(tmp, 'without-host');
      const {browser, worker, extensionOrigin} = await launchChromium({userDataDir: withoutHost});
      try {
        const {done, closed} = await runOther(browser, worker, extensionOrigin,
                                              `${server.origin}/hostile.html`,
                                              catalogue(recorder, server.origin));
        const expected = await worker.evaluate(() => NATIVE_HOST_MISSING);
        assert.match(expected, /not installed/);
        await closed;
        const message = await dialogPage(browser, extensionOrigin);
        const text = await message.$eval('#message:not([hidden]) #message-text',
                                         (p) => p.textContent);
        assert.ok(text.includes(expected), `message: ${text}`);
        await press(message, '#message-ok');
        await done;
        // The entry after the command was still carried out.
        const found = `${server.origin}/found?q=Title`;
        const tabs = await tabAddresses(worker);
        assert.ok(tabs.some((u) => u.startsWith(found)), `no tab for ${found}: ${tabs}`);
        assert.equal((await recordedRuns(outDir, 1)).length, 1);
      } finally {
        await browser.close();
      }
    });
  } finally {
    await server.close();
    fs.rmSync(tmp, {recursive: true, force: true});
  }
});
