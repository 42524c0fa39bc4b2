// Makes the command that runs one program of the browser build under node:
// node_runner.js, the program's script and its WebAssembly in one file, so
// that the command still works wherever it is copied.
//   node make_command.js build/web/site/programs/contacts.js build/web/bin/联系人
const fs = require('fs');
const path = require('path');

const [script, command] = process.argv.slice(2);
const runner = fs.readFileSync(path.join(__dirname, 'node_runner.js'), 'utf8');
const glue = fs.readFileSync(script, 'utf8');
const wasm = fs.readFileSync(script.replace(/\.js$/, '.wasm')).toString('base64');

const text = `#!/usr/bin/env node
// ${path.basename(command)}: the browser build of this program, run under node.
${runner}
run(function (module, require, crypto) {
${glue}
}, '${wasm}');
`;
fs.mkdirSync(path.dirname(command), { recursive: true });
fs.writeFileSync(`${command}.tmp`, text, { mode: 0o755 });
fs.renameSync(`${command}.tmp`, command);
