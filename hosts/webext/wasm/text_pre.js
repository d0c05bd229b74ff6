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
