// Code the module carries for its imports (emscripten --pre-js).

// A string made well-formed UTF-16 before the runtime encodes it as UTF-8
// for the core: the encoder would join a lone high surrogate with whatever
// unit follows into a character the page never had. A lone surrogate
// becomes U+FFFD, as the core's own decoder makes it.
Module['qmWellFormed'] = function (text) {
  let out = '';
  for (let i = 0; i < text.length; ++i) {
    const unit = text.charCodeAt(i);
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      const next = text.charCodeAt(i + 1);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        out += text[i] + text[i + 1];
        ++i;
        continue;
      }
      out += '\ufffd';
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      out += '\ufffd';
    } else {
      out += text[i];
    }
  }
  return out;
};

// Memory for a text handed to the core; 0 when the module cannot grow to
// hold it. A test may give its own, to make that happen.
if (!Module['qmAllocate']) {
  Module['qmAllocate'] = function (size) {
    return _malloc(size);
  };
}

// `text` as a UTF-8 C string in the module's memory, its length in bytes in
// the int at `length` (when not 0); or 0, with a line on the console, when
// there is no memory for it: the caller reads that as no value, and nothing
// is written anywhere.
Module['qmHeapText'] = function (text, length) {
  const bytes = lengthBytesUTF8(text);
  const pointer = Module['qmAllocate'](bytes + 1);
  if (!pointer) {
    err('Pellmor Quillmark: a text of ' + bytes + ' bytes is too large to be read; ' +
        'it counts as none');
    return 0;
  }
  stringToUTF8(text, pointer, bytes + 1);
  if (length) HEAP32[length >> 2] = bytes;
  return pointer;
};
