// The page: the list of the programs, the program chosen running in the
// terminal, and the working folder all of them share.
//
// A program is the browser build of its C++ program (programs/<id>.js and
// .wasm). It gets its own copy of the folder in memory, taken from the
// browser's store when it starts; the folder is stored again whenever the
// program has put a saved file in place (the program waits until it is
// stored before it reports the save), and when the program ends or is
// stopped.
(() => {
  const programs = [];          // the table of the programs: {id, name, chinese, english}
  const factories = new Map();  // id -> the program's factory, once its script is loaded
  let terminal = null;
  let current = null;           // the run on the terminal: {program, module, output, over}
  let saving = Promise.resolve();  // the folder's saves, one after another
  const timing = {};            // from choosing a program to its first output, for the tests

  const $ = (id) => document.getElementById(id);

  function setState(state) {
    document.body.dataset.state = state;
  }

  // --- The programs ---

  async function loadTable() {
    const text = await (await fetch('programs.tsv')).text();
    for (const line of text.split('\n')) {
      if (line === '' || line.startsWith('#')) continue;
      const [id, , name, , english, chinese] = line.split('\t');
      programs.push({ id, name, english, chinese });
    }
  }

  function showList() {
    const list = $('programs');
    for (const program of programs) {
      const item = document.createElement('li');
      const link = document.createElement('a');
      link.href = `?program=${encodeURIComponent(program.name)}`;
      link.textContent = program.name;
      link.title = program.english;
      link.addEventListener('click', (event) => {
        event.preventDefault();
        history.pushState({}, '', link.href);
        choose(program.name);
      });
      const line = document.createElement('span');
      line.textContent = program.chinese;
      item.append(link, line);
      list.append(item);
    }
  }

  function loadFactory(id) {
    if (factories.has(id)) return Promise.resolve(factories.get(id));
    return new Promise((resolve, reject) => {
      const script = document.createElement('script');
      script.src = `programs/${id}.js`;
      script.onload = () => {
        factories.set(id, window.courseworkProgram);  // every program's script sets this name
        resolve(window.courseworkProgram);
      };
      script.onerror = () => reject(new Error(`${script.src} could not be loaded`));
      document.head.append(script);
    });
  }

  function choose(name) {
    const program = programs.find((p) => p.name === name);
    if (program === undefined) {
      $('title').textContent = `没有名为“${name}”的程序`;
      return;
    }
    start(program);
  }

  // --- A program's run ---

  // Bytes the program printed, held until the page shows them: the program
  // runs without a break until it waits for input or ends.
  class Output {
    constructor() {
      this.bytes = new Uint8Array(4096);
      this.used = 0;
    }

    put(byte) {
      if (this.used === this.bytes.length) {
        const larger = new Uint8Array(2 * this.bytes.length);
        larger.set(this.bytes);
        this.bytes = larger;
      }
      this.bytes[this.used++] = byte;
    }

    take() {
      const taken = this.bytes.slice(0, this.used);
      this.used = 0;
      return taken;
    }
  }

  function showOutput(run) {
    const bytes = run.output.take();
    if (bytes.length > 0 && timing.firstOutputMs === null) {
      timing.firstOutputMs = performance.now() - timing.chosenAt;
    }
    terminal.show(bytes);
  }

  function moduleSettings(run, files) {
    const settings = {
      noInitialRun: true,
      locateFile: (file) => `programs/${file}`,
      preRun: [(module) => {
        const { FS } = module;
        const put = (byte) => run.output.put(byte);
        FS.init(() => null, put, put);
        FS.mkdir('/work');
        for (const [name, bytes] of files) FS.writeFile(`/work/${name}`, bytes);
        FS.chdir('/work');
      }],
      // A program stopped while it waited for its folder to be stored is
      // resumed when it is; from then on it waits for ever.
      readInput: async (size) => {
        if (run.over) return new Promise(() => {});
        showOutput(run);
        setState('waiting');
        const piece = await terminal.read(size);
        setState('running');
        return piece;
      },
      keepFolder: () => (run.over ? new Promise(() => {}) : keepFolder(run)),
      print: (text) => terminal.note(text),
      printErr: (text) => terminal.note(text),
      // A program that ends through exit while it is resumed from a wait
      // does not end emscripten's runtime, which would flush its output.
      quit: (status, reason) => {
        settings._fflush(0);
        throw reason;
      },
    };
    return settings;
  }

  async function start(program) {
    stop();
    timing.program = program.name;
    timing.chosenAt = performance.now();
    timing.firstOutputMs = null;
    const run = { program, module: null, output: new Output(), over: false };
    current = run;
    document.title = `${program.name} - 课程练习`;
    $('title').textContent = program.name;
    $('about').textContent = program.chinese;
    showRunning(true);
    terminal.reset();
    terminal.onEnter = null;
    terminal.onStop = () => stop();
    terminal.focus();
    setState('loading');

    let status = 0;
    let failure = null;
    try {
      const files = saving.catch(() => {}).then(() => Folder.files());  // after any save
      const [factory, folder] = await Promise.all([loadFactory(program.id), files]);
      if (run.over) return;
      const module = await factory(moduleSettings(run, folder));
      if (run.over) return;  // stopped while it was loading
      run.module = module;
      setState('running');
      status = await run.module.ccall('main', 'number', [], [], { async: true });
      run.module._exit(status);  // through exit, so that the program's output is flushed
    } catch (reason) {
      if (reason && reason.name === 'ExitStatus') status = reason.status;
      else failure = reason;
    }
    if (!run.over) end(run, failure === null ? `程序已结束（退出状态 ${status}）。` :
      `程序出错，停止了：${failure.message || failure}`);
  }

  // Stops the program on the terminal, if one runs: its folder is kept as
  // it is, as files stay on the disk when a program is stopped on Linux.
  function stop() {
    if (current !== null && !current.over) end(current, '程序已停止。');
  }

  function end(run, message) {
    run.over = true;
    if (run.module !== null) {
      showOutput(run);
      keepFolder(run).catch(() => terminal.note('工作文件夹没能保存到浏览器里。'));
    }
    terminal.note(`${message}按 Enter 再运行一次。`);
    terminal.onEnter = () => start(run.program);
    showRunning(false);
    setState('ended');
  }

  function showRunning(running) {
    $('stop').hidden = !running;
    $('again').hidden = running || current === null;
    for (const control of document.querySelectorAll('.folder-control')) control.disabled = running;
  }

  // --- The folder ---

  // Stores the program's folder as it is now; resolves once it is stored.
  function keepFolder(run) {
    const { FS } = run.module;
    const all = new Map();
    for (const name of FS.readdir('/work')) {
      const path = `/work/${name}`;
      if (name !== '.' && name !== '..' && FS.isFile(FS.stat(path).mode)) {
        all.set(name, FS.readFile(path));
      }
    }
    const stored = saving.catch(() => {}).then(() => Folder.replaceAll(all));
    saving = stored;
    stored.then(showFiles, () => {});
    return stored;
  }

  async function showFiles() {
    const files = await Folder.files();
    const rows = $('files');
    rows.replaceChildren();
    for (const [name, bytes] of files) {
      const row = document.createElement('tr');
      const shown = Gbk.shownName(name);
      const button = document.createElement('button');
      button.textContent = '下载';
      button.setAttribute('aria-label', `下载 ${shown}`);
      button.addEventListener('click', () => download(shown, bytes));
      for (const text of [shown, `${bytes.length} 字节`]) {
        const cell = document.createElement('td');
        cell.textContent = text;
        row.append(cell);
      }
      const cell = document.createElement('td');
      cell.append(button);
      row.append(cell);
      rows.append(row);
    }
    $('empty').hidden = files.size > 0;
  }

  function download(shown, bytes) {
    const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
    const link = document.createElement('a');
    link.href = url;
    link.download = shown;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  }

  async function upload(input, name) {
    const file = input.files[0];
    input.value = '';
    if (file === undefined) return;
    await Folder.put(name || Gbk.fileName(file.name), new Uint8Array(await file.arrayBuffer()));
    await showFiles();
  }

  // --- Setting up ---

  async function main() {
    terminal = new ProgramTerminal($('terminal'));
    window.coursework = { timing, screen: () => terminal.text() };
    $('stop').addEventListener('click', () => stop());
    $('again').addEventListener('click', () => current && start(current.program));
    $('upload-book').addEventListener('change', (e) => upload(e.target, Gbk.fileName('联系人.txt')));
    $('upload-file').addEventListener('change', (e) => upload(e.target, null));
    $('start-over').addEventListener('click', async () => {
      if (!confirm('把工作文件夹恢复成最初的样子？其中的文件都会被删掉。')) return;
      await Folder.startOver();
      await showFiles();
    });
    showRunning(false);
    await Promise.all([loadTable(), Folder.layOutOnce()]);
    showList();
    await showFiles();
    const chosen = () => new URLSearchParams(location.search).get('program');
    window.addEventListener('popstate', () => chosen() && choose(chosen()));
    setState('ready');
    if (chosen()) choose(chosen());
  }

  main();
})();
