// Text into and out of the core's exports that take and give C strings.
'use strict';

// Calls the export `name` of the core `module` with `text` (or null) as a
// UTF-8 C string and its length in bytes (an export that reads a text with
// a NUL in it takes the length; the others ignore it), and returns the text
// it answers. The text goes through
// the heap, not the stack that ccall would use: a catalogue or an address
// may be larger than the module's stack.
// eslint-disable-next-line no-unused-vars
function callCoreWithText(module, name, text) {
  if (text === null) return module.UTF8ToString(module['_' + name](0));
  const bytes = new TextEncoder().encode(text);
  const pointer = module._malloc(bytes.length + 1);
  if (!pointer) throw new Error(`A text of ${bytes.length} bytes is too large to be read.`);
  try {
    module.HEAPU8.set(bytes, pointer);
    module.HEAPU8[pointer + bytes.length] = 0;
    return module.UTF8ToString(module['_' + name](pointer, bytes.length));
  } finally {
    module._free(pointer);
  }
}
