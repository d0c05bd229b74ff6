// pause_paths.js on a module made for it: what it must find (a function
// reached only through the table, by its signature; one that calls such a
// function) and what it must leave (a function of the same signature that
// does not pause; a call through the table with another signature), and
// how it writes names for the list. The build's check uses the same
// reading, so a fault here would pass the check: this test does not.
//   node --test pause_paths_test.js   (QM_WASM_AS, QM_WASM_DIS name the tools)
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const {execFileSync} = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');

const WASM_AS = process.env.QM_WASM_AS || 'wasm-as';
const WASM_DIS = process.env.QM_WASM_DIS || 'wasm-dis';
const SCRIPT = path.join(__dirname, 'pause_paths.js');

const MODULE = String.raw`(module
 (type $i32_=>_none (func (param i32)))
 (type $none_=>_i32 (func (result i32)))
 (import "env" "__asyncjs__ask" (func $ask (param i32) (result i32)))
 (import "env" "tell" (func $tell (param i32)))
 (table $0 5 5 funcref)
 (elem (i32.const 1) $dialog $plain $other_sig $ns::f\28int\2c\20bool\29)
 (func $dialog (param $0 i32)
  (drop (call $ask (local.get $0))))
 (func $plain (param $0 i32)
  (call $tell (local.get $0)))
 (func $other_sig (result i32)
  (i32.const 0))
 (func $ns::f\28int\2c\20bool\29 (param $0 i32)
  (drop (call $ask (local.get $0))))
 (func $virtual_caller (param $0 i32)
  (call_indirect (type $i32_=>_none) (local.get $0) (i32.const 2)))
 (func $other_caller
  (drop (call_indirect (type $none_=>_i32) (i32.const 3))))
 (func $outer.1
  (call $virtual_caller (i32.const 0)))
 (func $leaf
  (call $plain (i32.const 0)))
 (export "outer" (func $outer.1))
 (export "other" (func $other_caller))
 (export "leaf" (func $leaf))
 (export "f" (func $ns::f\28int\2c\20bool\29)))
`;

test('finds every function that can pause, by direct calls and by signature', () => {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'pause-paths-'));
  try {
    fs.writeFileSync(path.join(dir, 'm.wat'), MODULE);
    execFileSync(WASM_AS, [path.join(dir, 'm.wat'), '--debuginfo', '-o',
                           path.join(dir, 'm.wasm')]);
    execFileSync(process.execPath, [SCRIPT, WASM_DIS, path.join(dir, 'm.wasm'),
                                    path.join(dir, 'list.txt')]);
    const list = fs.readFileSync(path.join(dir, 'list.txt'), 'utf8').trim().split('\n');
    // $virtual_caller calls slot 2 ($plain), which does not pause, but a
    // call_indirect of its signature could as well reach $dialog.
    assert.deepEqual(list, ['dialog', 'ns::f*int*bool*', 'outer*', 'virtual_caller']);
  } finally {
    fs.rmSync(dir, {recursive: true, force: true});
  }
});
