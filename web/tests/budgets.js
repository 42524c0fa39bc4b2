// Prints the budgets of the site, never asserting them: each program's
// script and WebAssembly together, gzipped (150 KB each at most), and the
// whole site (5 MB at most).
//   node budgets.js SITE
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');

const site = process.argv[2];
const kb = (bytes) => `${(bytes / 1024).toFixed(1)} KB`;
const columns = (text) => [...text].reduce((n, c) => n + (c.charCodeAt(0) > 0x7F ? 2 : 1), 0);
const gzipped = (file) => zlib.gzipSync(fs.readFileSync(file), { level: 9 }).length;

function sizeOf(folder) {
  let total = 0;
  for (const entry of fs.readdirSync(folder, { withFileTypes: true })) {
    const full = path.join(folder, entry.name);
    total += entry.isDirectory() ? sizeOf(full) : fs.statSync(full).size;
  }
  return total;
}

const table = fs.readFileSync(path.join(site, 'programs.tsv'), 'utf8').split('\n')
  .filter((line) => line !== '' && !line.startsWith('#')).map((line) => line.split('\t'));
console.log('program       .wasm + .js, gzipped   (budget 150 KB)');
let largest = 0;
for (const [id, , name] of table) {
  const script = path.join(site, 'programs', `${id}.js`);
  if (!fs.existsSync(script)) {
    console.log(`${name}${' '.repeat(14 - columns(name))}not built`);
    continue;
  }
  const both = gzipped(script) + gzipped(script.replace(/\.js$/, '.wasm'));
  largest = Math.max(largest, both);
  console.log(`${name}${' '.repeat(14 - columns(name))}${kb(both).padStart(9)}`);
}
console.log(`largest program: ${kb(largest)} (budget 150 KB)`);
console.log(`whole site: ${kb(sizeOf(site))} (budget 5 MB = 5120 KB)`);
