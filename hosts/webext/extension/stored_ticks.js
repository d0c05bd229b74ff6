// The remembered ticks in the extension's storage: {key: {name, value}},
// each under the key the core made for its entry's name.
'use strict';

// Stores `values` ([{key, name, value}], as the core sends them) and makes
// them the click's values too, so a later dialog of the same command reads
// them.
// eslint-disable-next-line no-unused-vars
async function storeTicks(click, values) {
  const {ticks = {}} = await api.storage.local.get('ticks');
  for (const {key, name, value} of values) {
    ticks[key] = {name, value};
    click.setTick(key, value);
  }
  await api.storage.local.set({ticks});
}
