// The remembered ticks in the extension's storage: {key: {name, value}},
// each under the key the core made for its entry's name.
'use strict';

// Damaged storage is told on the console once per start of the background.
let storageDamageTold = false;

// eslint-disable-next-line no-unused-vars
function tellStorageDamage(what) {
  if (storageDamageTold) return;
  storageDamageTold = true;
  console.warn(`qmkit: ${what} in the extension's storage were damaged and are left out; ` +
               'the rest is used as it is.');
}

const isPlainObject = (value) =>
  value !== null && typeof value === 'object' && !Array.isArray(value);

// The well-formed ticks of `stored` (what storage holds under "ticks"): an
// object of {name: string, value: a whole number 0 to 2^32 - 1}. Anything
// else, or the whole when it is no such object, is left out and told once.
// eslint-disable-next-line no-unused-vars
function wellFormedTicks(stored) {
  if (stored === undefined) return {};
  const ticks = {};
  let damaged = !isPlainObject(stored);
  for (const [key, tick] of Object.entries(isPlainObject(stored) ? stored : {})) {
    if (isPlainObject(tick) && typeof tick.name === 'string' && Number.isInteger(tick.value) &&
        tick.value >= 0 && tick.value <= 0xFFFFFFFF) {
      ticks[key] = {name: tick.name, value: tick.value};
    } else {
      damaged = true;
    }
  }
  if (damaged) tellStorageDamage('Remembered ticks');
  return ticks;
}

// Stores `values` ([{key, name, value}], as the core sends them) and makes
// them the click's values too, so a later dialog of the same command reads
// them. Damaged ticks in storage give way to well-formed ones.
// eslint-disable-next-line no-unused-vars
async function storeTicks(click, values) {
  const ticks = wellFormedTicks((await api.storage.local.get('ticks')).ticks);
  for (const {key, name, value} of values) {
    ticks[key] = {name, value};
    click.setTick(key, value);
  }
  await api.storage.local.set({ticks});
}
