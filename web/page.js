// The page: the list of the programs, the program chosen running in the
// terminal, and the working folder all of them share.
//
// A program is the browser build of its C++ program (programs/<id>.js and
// .wasm). It gets its own copy of the folder in memory, taken from the
// browser's store when it starts. Whenever the program has put a saved file
// in place (the program waits until it is stored before it reports the
// save), and when it ends or is stopped, the files it changed since are
// stored, and only those: other tabs may have stored other files meanwhile.
(() => {
  const programs = [];          // the table of the programs: {id, folder, name, chinese, english}
  const factories = new Map();  // id -> the program's factory, once its script is loaded
  let terminal = null;
  let current = null;           // the run on the terminal: {program, module, output, over}
  let saving = Promise.resolve();  // the folder's saves, one after another
  const timing = {};            // from choosing a program to its first output, for the tests

  const $ = (id) => document.getElementById(id);

  function setState(state) {
    document.body.dataset.state = state;
  }

  // What a program that shows no prompt waits for, under the terminal.
  const hints = {
    读写: '读写 不显示提示，它在等你输入五组“姓名 数字”（例如 张三 90），用空格或 Enter 隔开；' +
      '输完五组，它把它们写进 test.txt，再读出来显示。',
  };

  // A message about the folder, which screen readers hear.
  function say(text) {
    $('folder-message').textContent = text;
  }

  // The contact book's files, which wait while another tab holds the book.
  const kBookFiles = ['联系人.txt', '常用联系人.txt'];
  const kBookBusy = (what) => `通信录正在另一个标签页或窗口中打开：等那里的 联系人 结束，才会${what}。`;

  // --- The programs ---

  async function loadTable() {
    const text = await (await fetch('programs.tsv')).text();
    for (const line of text.split('\n')) {
      if (line === '' || line.startsWith('#')) continue;
      const [id, folder, name, , english, chinese] = line.split('\t');
      programs.push({ id, folder, name, english, chinese });
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

  // The terminal on screen, and the focus in it, so that a phone's keyboard
  // opens.
  function bringIntoView() {
    const box = $('run').getBoundingClientRect();
    if (box.top < 0 || box.top > innerHeight / 2) $('run').scrollIntoView({ block: 'start' });
    terminal.focus();
  }

  function choose(name) {
    const program = programs.find((p) => p.name === name);
    if (program === undefined) {
      $('title').textContent = `没有名为“${name}”的程序`;
      return;
    }
    start(program);
    bringIntoView();
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
    run.taken = new Map(files);
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
      // The contact book, held for this run until it ends or its tab closes:
      // false while another tab holds it.
      holdBook: async () => {
        const release = await Folder.holdBook(false);
        if (release === null) return false;
        if (run.over) release();
        else run.release = release;
        return true;
      },
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

  // Runs the program, on an empty terminal or, `again`, below its last run.
  async function start(program, again = false) {
    stop();
    timing.program = program.name;
    timing.chosenAt = performance.now();
    timing.firstOutputMs = null;
    const run = { program, module: null, output: new Output(), over: false, taken: null, release: null };
    current = run;
    document.title = `${program.name} - 课程练习`;
    $('title').textContent = program.name;
    $('about').textContent = program.chinese;
    $('hint').textContent = hints[program.name] || '';
    $('hint').hidden = !hints[program.name];
    showRunning(true);
    showSource();
    terminal.reset(again);
    terminal.onAgain = null;
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

  // The book is let go once the run's last files are stored.
  function end(run, message) {
    run.over = true;
    let kept = Promise.resolve();
    if (run.module !== null) {
      showOutput(run);
      kept = keepFolder(run).catch(() => terminal.note('工作文件夹没能保存到浏览器里。'));
    }
    kept.finally(() => run.release && run.release());
    terminal.note(`${message}按“再运行一次”或 Ctrl-Enter 再运行。`);
    terminal.onAgain = () => start(run.program, true);
    $('hint').hidden = true;
    showRunning(false);
    setState('ended');
  }

  function showRunning(running) {
    $('stop').hidden = !running;
    $('again').hidden = running || current === null;
    for (const control of document.querySelectorAll('.folder-control')) control.disabled = running;
  }

  // --- The folder ---

  // A save's temporary file, as the run made it: never the user's, and gone
  // once the save is done.
  const temporary = (name) => /\.~saving(-\d+)?\.tmp$/.test(name);

  function same(a, b) {
    if (a.length !== b.length) return false;
    for (let k = 0; k < a.length; k++) if (a[k] !== b[k]) return false;
    return true;
  }

  // Stores what the run changed in its folder since it took it or last
  // stored it: the files it created, replaced or removed, each as it is
  // now, but no temporary file it made; resolves once they are stored.
  function keepFolder(run) {
    const { FS } = run.module;
    const now = new Map();
    for (const name of FS.readdir('/work')) {
      const path = `/work/${name}`;
      if (name !== '.' && name !== '..' && FS.isFile(FS.stat(path).mode)) {
        now.set(name, FS.readFile(path));
      }
    }
    const changes = new Map();
    for (const [name, bytes] of now) {
      const before = run.taken.get(name);
      if (before === undefined ? !temporary(name) : !same(before, bytes)) changes.set(name, bytes);
    }
    for (const name of run.taken.keys()) if (!now.has(name)) changes.set(name, null);
    for (const [name, bytes] of changes) {
      if (bytes === null) run.taken.delete(name);
      else run.taken.set(name, bytes);
    }
    if (changes.size === 0) return saving.catch(() => {});
    const stored = saving.catch(() => {}).then(() => Folder.apply(changes));
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

  // --- Uploads ---

  const usableName = (name) => name !== '' && name !== '.' && name !== '..' && !/[/\\\0]/.test(name);

  // An uploaded contact book's GBK bytes, or null once it is refused or
  // not wanted, and whether it was converted from UTF-8.
  function bookOf(file, bytes) {
    const book = Gbk.book(bytes);
    if (book.refused === 'binary') {
      say(`没有上传 ${file.name}：它含有 NUL 字节，不是文本文件，不能当通信录。`);
    } else if (book.refused === 'encoding') {
      say(`没有上传 ${file.name}：它既不是 GBK 也不是 UTF-8 编码的文本，不能当通信录。`);
    } else if (book.refused === 'character') {
      const code = book.character.codePointAt(0).toString(16).toUpperCase().padStart(4, '0');
      say(`没有上传 ${file.name}：其中的“${book.character}”（U+${code}）在 GBK 里没有，通信录存不下它。`);
    } else if (book.bytes.length === 0 &&
               !confirm(`${file.name} 是空的。用它替换 联系人.txt，通信录里就一个联系人也没有了。确定吗？`)) {
      say(`没有上传 ${file.name}：空的通信录没有替换 联系人.txt。`);
    } else {
      return book;
    }
    return null;
  }

  async function uploadFile(file, asBook) {
    const shown = asBook ? '联系人.txt' : file.name;
    if (!usableName(shown)) {
      say(`没有上传“${file.name}”：文件名不能含有 / 或 \\，也不能是 . 或 ..。`);
      return;
    }
    let bytes = new Uint8Array(await file.arrayBuffer());
    let converted = false;
    if (asBook) {
      const book = bookOf(file, bytes);
      if (book === null) return;
      bytes = book.bytes;
      converted = book.from === 'utf-8';
    }
    const name = Gbk.fileName(shown);
    const release = kBookFiles.includes(shown)
      ? await Folder.holdBook(true, () => say(kBookBusy(`上传 ${shown}`))) : () => {};
    try {
      const asked = asBook && bytes.length === 0;
      if (!asked && (await Folder.files()).has(name) &&
          !confirm(`工作文件夹里已经有 ${shown}。用上传的 ${file.name} 替换它吗？`)) {
        say(`没有上传 ${file.name}：${shown} 保持原样。`);
        return;
      }
      await Folder.apply(new Map([[name, bytes]]));
    } finally {
      release();
    }
    await showFiles();
    if (converted) say(`已上传 ${file.name}：它是 UTF-8 编码的，已转换成 GBK，存为 联系人.txt。`);
    else if (asBook) say(`已上传 ${file.name}，存为 联系人.txt。`);
    else say(`已上传 ${shown}（${bytes.length} 字节）。`);
  }

  async function upload(input, asBook) {
    const file = input.files[0];
    input.value = '';
    if (file === undefined) return;
    try {
      await uploadFile(file, asBook);
    } catch (error) {
      say(`没有上传 ${file.name}：${error.message || error}`);
    }
  }

  async function startOver() {
    if (!confirm('把工作文件夹恢复成最初的样子？其中的文件都会被删掉。')) return;
    const release = await Folder.holdBook(true, () => say(kBookBusy('恢复工作文件夹')));
    try {
      await Folder.startOver();
    } finally {
      release();
    }
    await showFiles();
    say('工作文件夹已恢复成最初的样子：示例通信录 联系人.txt 和空的 test.txt。');
  }

  // --- The page around the programs ---

  // What the browser promises to keep of the folder, said at the top.
  async function showStorage() {
    const storage = $('storage');
    if (!Folder.stored()) {
      storage.textContent = '这个浏览器不让本页保存数据：程序照常运行，但工作文件夹只在内存里，' +
        '关闭或刷新这个页面后，里面的文件就没有了。要留下的文件，请先下载。';
      storage.className = 'warning';
      return;
    }
    let persisted = false;
    try {
      persisted = await navigator.storage.persist();
    } catch {
      persisted = false;
    }
    if (!Folder.stored()) return;
    storage.textContent = persisted ? '工作文件夹保存在这个浏览器里，下次打开还在。'
      : '工作文件夹保存在这个浏览器里，但浏览器没有答应一直留着它：空间不够或清除网站数据时，' +
        '它可能被清掉。重要的文件，请下载保存。';
    storage.className = persisted ? '' : 'warning';
  }

  // The program's own file, highlighted, while the panel is open.
  async function showSource() {
    const code = $('source-code');
    const program = current && current.program;
    if (program === null || !$('source').open || code.dataset.program === program.id) return;
    code.dataset.program = program.id;
    $('source-name').textContent = `${program.folder}/${program.name}.cpp`;
    try {
      const response = await fetch(`source/${program.id}.cpp`);
      if (!response.ok) throw new Error(response.status);
      code.textContent = await response.text();
      if (window.Prism) Prism.highlightElement(code);
    } catch {
      code.textContent = '源代码没能载入。';
      delete code.dataset.program;
    }
  }

  // --- Setting up ---

  async function main() {
    if (location.protocol === 'file:') {
      $('storage').textContent = '从磁盘直接打开时，浏览器不让这个页面载入程序：请在这个文件夹里运行 ' +
        'python3 -m http.server 8000，再打开 http://127.0.0.1:8000/ 。';
      $('storage').className = 'warning';
      setState('unusable');
      return;
    }
    terminal = new ProgramTerminal($('terminal'));
    window.coursework = { timing, screen: () => terminal.text() };
    $('stop').addEventListener('click', () => stop());
    $('again').addEventListener('click', () => current && start(current.program, true));
    $('upload-book').addEventListener('change', (e) => upload(e.target, true));
    $('upload-file').addEventListener('change', (e) => upload(e.target, false));
    $('start-over').addEventListener('click', () => startOver().catch((error) => say(error.message)));
    $('source').addEventListener('toggle', () => showSource());
    Folder.listen({ changed: () => showFiles(), lost: () => showStorage() });
    showRunning(false);
    await Promise.all([loadTable(), Folder.layOutOnce()]);
    showStorage();
    showList();
    await showFiles();
    const chosen = () => new URLSearchParams(location.search).get('program');
    window.addEventListener('popstate', () => chosen() && choose(chosen()));
    setState('ready');
    if (chosen()) choose(chosen());
  }

  main().catch((error) => {
    $('storage').textContent = `页面没能启动：${error.message || error}`;
    $('storage').className = 'warning';
  });
})();
