// Runs one program of the browser build under node, as a process of its
// own: standard input and output are bytes as they stand, never decoded;
// the current folder is its working folder; its files are the files on
// disk, named by their GBK bytes exactly as the Linux programs name them;
// it ends with the status the program gives. make_command.js puts this
// file, the program's script and its WebAssembly together in one command.

const fs = require('fs');

// Emscripten hands paths over as strings, one character per byte of the GBK
// name (platform/file_web.cpp); node's file calls get those bytes again.
const asBytes = (path) => (typeof path === 'string' ? Buffer.from(path, 'latin1') : path);
const asText = (name) => (Buffer.isBuffer(name) ? name.toString('latin1') : name);

function byteNamedFs() {
  const wrapped = Object.create(fs);
  const onePath = ['lstatSync', 'statSync', 'chmodSync', 'utimesSync', 'truncateSync',
    'mkdirSync', 'writeFileSync', 'unlinkSync', 'rmdirSync', 'openSync', 'existsSync'];
  for (const name of onePath) {
    wrapped[name] = (path, ...rest) => fs[name](asBytes(path), ...rest);
  }
  for (const name of ['renameSync', 'symlinkSync']) {
    wrapped[name] = (from, to) => fs[name](asBytes(from), asBytes(to));
  }
  wrapped.readdirSync = (path) => fs.readdirSync(asBytes(path), { encoding: 'buffer' }).map(asText);
  wrapped.readlinkSync = (path) => asText(fs.readlinkSync(asBytes(path), { encoding: 'buffer' }));
  return wrapped;
}

// Bytes written by the program, held until it waits for input or ends, or
// until a block is full.
class Output {
  constructor(fd) {
    this.fd = fd;
    this.block = Buffer.allocUnsafe(64 * 1024);
    this.used = 0;
  }

  put(byte) {
    this.block[this.used++] = byte;
    if (this.used === this.block.length) this.flush();
  }

  flush() {
    let done = 0;
    while (done < this.used) {
      try {
        done += fs.writeSync(this.fd, this.block, done, this.used - done);
      } catch (error) {
        if (error.code !== 'EAGAIN') break;  // the reader has gone: the rest is lost
      }
    }
    this.used = 0;
  }
}

// The next piece of standard input, at most `size` bytes; null at its end.
function readInput(size) {
  const piece = Buffer.allocUnsafe(Math.min(size, 64 * 1024));
  return new Promise((resolve) => {
    const attempt = () => fs.read(0, piece, 0, piece.length, null, (error, got) => {
      if (error && error.code === 'EAGAIN') setTimeout(attempt, 5);
      else resolve(error || got === 0 ? null : piece.subarray(0, got));
    });
    attempt();
  });
}

async function run(loadScript, wasmBase64) {
  const script = {};
  const byteFs = byteNamedFs();
  // The script looks for a source of random bytes as it starts; node's
  // crypto, slow to load, is loaded only if a program reads one.
  const crypto = { getRandomValues: (array) => require('crypto').randomFillSync(array) };
  loadScript(script, (name) => (name === 'fs' ? byteFs : require(name)), crypto);
  const out = new Output(1);
  const err = new Output(2);
  const flush = () => { out.flush(); err.flush(); };

  let status = 0;
  try {
    const settings = {
      wasmBinary: Buffer.from(wasmBase64, 'base64'),
      noInitialRun: true,
      preRun: [(module) => {
        const { FS } = module;
        FS.init(() => null, (byte) => out.put(byte), (byte) => err.put(byte));
        const nodefs = FS.filesystems.NODEFS;
        nodefs.stream_ops.fsync = (stream) => { fs.fsyncSync(stream.nfd); return 0; };
        FS.mkdir('/work');
        FS.mount(nodefs, { root: '.' }, '/work');
        FS.chdir('/work');
      }],
      readInput: (size) => { flush(); return readInput(size); },
      print: (text) => process.stderr.write(`${text}\n`),
      printErr: (text) => process.stderr.write(`${text}\n`),
      // A program that ends through exit while it is resumed from a wait
      // does not end emscripten's runtime, which would flush its output.
      quit: (code, reason) => {
        settings._fflush(0);
        throw reason;
      },
    };
    const program = await script.exports(settings);
    status = await program.ccall('main', 'number', [], [], { async: true });
    program._exit(status);
  } catch (reason) {
    if (reason && reason.name === 'ExitStatus') {
      status = reason.status;
    } else {
      flush();
      process.stderr.write(`${reason && reason.stack ? reason.stack : reason}\n`);
      status = 134;
    }
  }
  flush();
  process.exit(status);
}
