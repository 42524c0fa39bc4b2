// A static file server for the site, reachable from this machine only
// (127.0.0.1): for ./try --web and the browser tests. Any static server
// serves the site as well; it needs no special headers.
//   node serve.js FOLDER [PORT]     prints the address; port 0 picks a free one
const fs = require('fs');
const http = require('http');
const path = require('path');

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.tsv': 'text/tab-separated-values; charset=utf-8',
  '.txt': 'text/plain',
  '.cpp': 'text/plain; charset=utf-8',
  '.svg': 'image/svg+xml',
};

function serve(root, port) {
  root = path.resolve(root);
  const server = http.createServer((request, response) => {
    let file;
    try {
      file = path.join(root, decodeURIComponent(new URL(request.url, 'http://x').pathname));
    } catch {
      file = null;
    }
    if (file !== null && file.endsWith(path.sep)) file = path.join(file, 'index.html');
    if (file === null || !file.startsWith(root + path.sep) || !fs.existsSync(file) ||
        !fs.statSync(file).isFile()) {
      response.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found\n');
      return;
    }
    // Asked again each time, and sent again only when changed.
    const modified = fs.statSync(file).mtime.toUTCString();
    if (request.headers['if-modified-since'] === modified) {
      response.writeHead(304).end();
      return;
    }
    response.writeHead(200, {
      'Content-Type': types[path.extname(file)] || 'application/octet-stream',
      'Cache-Control': 'no-cache',
      'Last-Modified': modified,
    });
    fs.createReadStream(file).pipe(response);
  });
  // A port already taken gives way to a free one.
  return new Promise((resolve) => {
    server.once('error', () => server.listen(0, '127.0.0.1'));
    server.listen(port, '127.0.0.1', () => resolve(server));
  });
}

if (require.main === module) {
  const [root, port = '8000'] = process.argv.slice(2);
  serve(root, Number(port)).then((server) => {
    console.log(`http://127.0.0.1:${server.address().port}/`);
  });
}

module.exports = serve;
