// The functions of the WebAssembly core that can be on the stack when a
// dialog waits for the extension's answer, for Asyncify to instrument only
// those: instrumenting every function that makes an indirect call (its
// default) made the module a fifth larger and the core's work slower.
//
//   node pause_paths.js WASM_DIS MODULE.wasm LIST_OUT
//   node pause_paths.js WASM_DIS MODULE.wasm --check
//
// MODULE.wasm is the core linked with names (--profiling-funcs): with
// nothing instrumented to write the list, and as linked with the list to
// check it. The check fails when a function that can pause was left as it
// was (a name the list did not match): such a module would go wrong the
// first time a dialog waits in that function, so it must not be built. A function can pause when it calls one that can:
// directly, or through call_indirect of a signature that some function of
// the table with that signature and able to pause has. That follows the
// wasm rule that call_indirect reaches only functions of its own type, so
// the list is complete whatever the C++ does with virtual functions and
// function pointers; it only over-counts. The imports that pause are those
// EM_ASYNC_JS makes ("__asyncjs__" names).
//
// Each name is written with "*" in place of every character that the
// list's round trip through emcc and binaryen would change (spaces, commas,
// dots and binaryen's escapes), so a name can only match more functions,
// never fewer. Fails when no function can pause: the module changed in a
// way this reading does not know.
'use strict';

const {execFileSync} = require('node:child_process');
const fs = require('node:fs');

const [wasmDis, modulePath, listPath] = process.argv.slice(2);
if (!listPath) {
  console.error('usage: node pause_paths.js WASM_DIS MODULE.wasm LIST_OUT|--check');
  process.exit(2);
}

const text = execFileSync(wasmDis, [modulePath], {maxBuffer: 1 << 28, encoding: 'utf8'});
const lines = text.split('\n');

// A signature as "(param i32 i32) (result i32)" with the parameters' names
// left out, the same for a type, an import and a function.
function signature(header) {
  const params = [...header.matchAll(/\(param (?:\$\S+ )?([^)]*)\)/g)]
      .flatMap((m) => m[1].trim().split(/\s+/)).filter(Boolean);
  const results = [...header.matchAll(/\(result ([^)]*)\)/g)]
      .flatMap((m) => m[1].trim().split(/\s+/)).filter(Boolean);
  return `${params.join(' ')} => ${results.join(' ')}`;
}

const typeSignature = new Map();    // type name -> signature
const functionSignature = new Map(); // function or import name -> signature
const pausing = new Set();
const directCalls = new Map();       // function -> names it calls
const indirectCalls = new Map();     // function -> signatures it calls through the table
const table = [];
const bodies = new Map();             // function -> its lines, for the check
let current = null;

for (const line of lines) {
  let m;
  if ((m = /^ \(type (\$\S+) \(func(.*)$/.exec(line))) {
    typeSignature.set(m[1], signature(m[2]));
  } else if ((m = /^ \(import "[^"]*" "([^"]*)" \(func (\$\S+)(.*)$/.exec(line))) {
    functionSignature.set(m[2], signature(m[3]));
    if (m[1].startsWith('__asyncjs__')) pausing.add(m[2]);
  } else if ((m = /^ \(func (\$\S+)(.*)$/.exec(line))) {
    current = m[1];
    functionSignature.set(current, signature(m[2]));
    directCalls.set(current, new Set());
    indirectCalls.set(current, new Set());
    bodies.set(current, []);
  } else if ((m = /^ \(elem \(i32\.const \d+\)(?: func)?(.*)\)\s*$/.exec(line))) {
    table.push(...m[1].trim().split(/\s+/).filter((name) => name.startsWith('$')));
  } else if (/^ \(/.test(line)) {
    current = null;
  } else if (current) {
    bodies.get(current).push(line);
    for (const call of line.matchAll(/\((?:return_)?call (\$\S+)/g)) {
      directCalls.get(current).add(call[1]);
    }
    for (const call of line.matchAll(/\((?:return_)?call_indirect (?:\$\S+ )?\(type (\$\S+)\)/g)) {
      indirectCalls.get(current).add(typeSignature.get(call[1]));
    }
  }
}

if (pausing.size === 0 || directCalls.size === 0 || table.length === 0) {
  console.error(`pause_paths: nothing to read in ${modulePath} ` +
                `(${pausing.size} pausing imports, ${directCalls.size} functions, ` +
                `${table.length} table entries)`);
  process.exit(1);
}

// To a fixed point: the signatures of the table's functions that can pause
// grow with the set.
const pausingSignatures = new Set();
for (let grew = true; grew;) {
  grew = false;
  for (const name of table) {
    if (pausing.has(name)) pausingSignatures.add(functionSignature.get(name));
  }
  for (const [name, callees] of directCalls) {
    if (pausing.has(name)) continue;
    const pauses = [...callees].some((callee) => pausing.has(callee)) ||
        [...indirectCalls.get(name)].some((s) => pausingSignatures.has(s));
    if (pauses) {
      pausing.add(name);
      grew = true;
    }
  }
}

if (listPath === '--check') {
  // Asyncify's state is the global that asyncify_start_unwind sets first;
  // an instrumented function reads it.
  const start = bodies.get('$asyncify_start_unwind') ?? [];
  const state = start.map((line) => /\(global\.set (\$\S+)/.exec(line)?.[1]).find(Boolean);
  if (!state) {
    console.error(`pause_paths: ${modulePath} has no Asyncify state to check`);
    process.exit(1);
  }
  const reads = `(global.get ${state})`;
  const missed = [...pausing].filter((name) => bodies.has(name) &&
      !bodies.get(name).some((line) => line.includes(reads)));
  if (missed.length > 0) {
    console.error(`pause_paths: ${missed.length} functions can pause but are not ` +
                  `instrumented:\n  ${missed.join('\n  ')}`);
    process.exit(1);
  }
  const functions = [...pausing].filter((name) => bodies.has(name)).length;
  console.log(`pause_paths: all ${functions} functions that can pause are instrumented`);
  process.exit(0);
}

// Binaryen writes a character outside its identifier set as "\" and two
// hex digits; emcc reads "." as a space and binaryen splits the list at
// commas. A ".1" that tells two functions of one name apart becomes "*"
// too: the names binaryen reads may number them otherwise.
function listName(name) {
  return name.slice(1).replace(/\.\d+$/, '*').replace(/\\[0-9a-f]{2}/g, '*').replace(/[ .,]/g, '*')
      .replace(/\*+/g, '*');
}

const names = [...pausing].filter((name) => directCalls.has(name)).map(listName).sort();
if (names.length === 0) {
  console.error('pause_paths: no function calls a pausing import');
  process.exit(1);
}
fs.writeFileSync(listPath, [...new Set(names)].join('\n') + '\n');
console.log(`pause_paths: ${names.length} of ${directCalls.size} functions can pause`);
