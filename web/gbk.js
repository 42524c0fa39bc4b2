// GBK text at the page's edges: the programs print, read and name their
// files in GBK bytes, and the page shows and types Unicode. Decoding is the
// browser's own (TextDecoder 'gbk'); the encoder is a table built from that
// same decoder, so both directions agree.
const Gbk = (() => {
  let table = null;  // character -> its two bytes, as lead * 256 + trail

  function buildTable() {
    // Every two-byte sequence, each followed by a line break: a trail byte is
    // never one, so each sequence decodes to one piece of its own, and one
    // that is no character comes out as more than one character.
    const bytes = [];
    for (let lead = 0x81; lead <= 0xFE; lead++) {
      for (let trail = 0x40; trail <= 0xFE; trail++) {
        if (trail !== 0x7F) bytes.push(lead, trail, 0x0A);
      }
    }
    const pieces = new TextDecoder('gbk').decode(new Uint8Array(bytes)).split('\n');
    table = new Map();
    for (let k = 0; k < bytes.length / 3; k++) {
      const character = pieces[k];
      if (character.length === 1 && character !== '\uFFFD' && !table.has(character)) {
        table.set(character, bytes[3 * k] * 256 + bytes[3 * k + 1]);
      }
    }
  }

  // The GBK bytes of `text`. A character GBK lacks goes as its UTF-8 bytes,
  // as a Linux terminal's converter passes it on.
  function encode(text) {
    if (table === null) buildTable();
    const out = [];
    for (const character of text) {
      const code = character.codePointAt(0);
      if (code < 0x80) {
        out.push(code);
      } else if (table.has(character)) {
        const pair = table.get(character);
        out.push(pair >> 8, pair & 0xFF);
      } else {
        out.push(...new TextEncoder().encode(character));
      }
    }
    return new Uint8Array(out);
  }

  // Whether `bytes` are GBK text: ASCII, and pairs of a lead byte and a
  // trail byte.
  function isGbk(bytes) {
    for (let k = 0; k < bytes.length; k++) {
      const lead = bytes[k];
      if (lead < 0x80) continue;
      const trail = bytes[++k];
      if (lead === 0x80 || lead === 0xFF || !(trail >= 0x40 && trail <= 0xFE && trail !== 0x7F)) return false;
    }
    return true;
  }

  // An uploaded contact book as the programs read it: { bytes, from } where
  // `from` is 'gbk' or 'utf-8' (converted, its byte-order mark dropped), or
  // { refused } with 'binary' (NUL bytes), 'encoding' (neither GBK nor
  // UTF-8) or 'character' (a character GBK lacks, given as `character`).
  // A book is taken as UTF-8 when it is UTF-8 with a multi-byte sequence.
  function book(bytes) {
    if (bytes.includes(0)) return { refused: 'binary' };
    let text = null;
    if (bytes.some((byte) => byte >= 0x80)) {
      try {
        text = new TextDecoder('utf-8', { fatal: true }).decode(bytes);
      } catch {
        text = null;
      }
    }
    if (text === null) return isGbk(bytes) ? { bytes, from: 'gbk' } : { refused: 'encoding' };
    if (table === null) buildTable();
    for (const character of text) {
      if (character.codePointAt(0) >= 0x80 && !table.has(character)) return { refused: 'character', character };
    }
    return { bytes: encode(text), from: 'utf-8' };
  }

  function decode(bytes) {
    return new TextDecoder('gbk').decode(bytes);
  }

  // File names travel as strings of one character per byte (as emscripten's
  // file system holds them, see platform/file_web.cpp).
  function nameBytes(name) {
    return Uint8Array.from(name, (character) => character.charCodeAt(0));
  }

  function byteName(bytes) {
    return String.fromCharCode(...bytes);
  }

  return {
    encode,
    decode,
    book,
    // A decoder for a stream: a character cut off at the end of one piece
    // is held back until the next piece completes it.
    streamDecoder: () => {
      const decoder = new TextDecoder('gbk');
      return (bytes) => decoder.decode(bytes, { stream: true });
    },
    // The name a program gives a file called `shown` on the page, and back.
    fileName: (shown) => byteName(encode(shown)),
    shownName: (name) => decode(nameBytes(name)),
  };
})();

if (typeof module === 'object') module.exports = Gbk;
