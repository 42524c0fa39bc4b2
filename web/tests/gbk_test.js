// The page's GBK encoder against its decoder: every character the decoder
// knows is encoded to bytes that decode to it again, text typed on the page
// gets the bytes the Linux programs have for it, and a character GBK lacks
// goes on as its UTF-8 bytes.
const assert = require('assert');
const Gbk = require('../gbk.js');

const hex = (bytes) => Buffer.from(bytes).toString('hex');

let characters = 0;
for (let lead = 0x81; lead <= 0xFE; lead++) {
  for (let trail = 0x40; trail <= 0xFE; trail++) {
    if (trail === 0x7F) continue;
    const character = Gbk.decode(new Uint8Array([lead, trail]));
    if (character.length !== 1 || character === '\uFFFD') continue;
    const bytes = Gbk.encode(character);
    assert.strictEqual(bytes.length, 2, `U+${character.codePointAt(0).toString(16)}`);
    assert.strictEqual(Gbk.decode(bytes), character);
    characters++;
  }
}
assert.ok(characters > 21000, `only ${characters} characters`);

for (const [text, bytes] of [
  ['联系人.txt', 'c1aacfb5c8cb2e747874'],
  ['王小明 13912345678', 'cdf5d0a1c3f7203133393132333435363738'],
  ['，。！（）', 'a3aca1a3a3a1a3a8a3a9'],
  ['a😀b', '61f09f988062'],
]) {
  assert.strictEqual(hex(Gbk.encode(text)), bytes, text);
}
assert.strictEqual(Gbk.shownName(Gbk.fileName('常用联系人.txt')), '常用联系人.txt');

// A character cut between two pieces of output is shown whole.
const decode = Gbk.streamDecoder();
assert.strictEqual(decode(new Uint8Array([0xC1])) + decode(new Uint8Array([0xAA, 0x41])), '联A');

// Uploaded books: UTF-8 converted (its byte-order mark dropped), GBK and
// ASCII taken as they are, anything else refused with its reason.
const utf8 = (text) => new TextEncoder().encode(text);
for (const [what, bytes, expected] of [
  ['UTF-8', utf8('王五 139\n'), { from: 'utf-8', bytes: 'cdf5cee520313339 0a' }],
  ['UTF-8 with a BOM', utf8('\uFEFF王五\n'), { from: 'utf-8', bytes: 'cdf5cee50a' }],
  ['GBK', Gbk.encode('王五\n'), { from: 'gbk', bytes: 'cdf5cee50a' }],
  ['ASCII', utf8('Li 1\n'), { from: 'gbk', bytes: '4c6920310a' }],
  ['a picture', new Uint8Array([0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0, 0]), { refused: 'binary' }],
  ['Latin-1', new Uint8Array([0x41, 0xE9, 0x0A]), { refused: 'encoding' }],
  ['a lead byte at the end', new Uint8Array([0x41, 0xC1]), { refused: 'encoding' }],
  ['a character GBK lacks', utf8('王😀\n'), { refused: 'character', character: '😀' }],
]) {
  const got = Gbk.book(bytes);
  if (got.bytes) got.bytes = hex(got.bytes);
  if (expected.bytes) expected.bytes = expected.bytes.replace(/ /g, '');
  assert.deepStrictEqual(got, expected, what);
}

console.log(`${characters} characters encoded and decoded back`);
