// The page driven end to end in headless Chromium (the system's own, driven
// by puppeteer-core), served from 127.0.0.1 only, each case in a browser
// profile of its own. The cases that end in "-insecure" reach it under a
// name that is no secure context (school.test), as a school's plain http.
//   node browser_test.js SITE CASE
// Prints how long each program took from being chosen to its first output;
// timings are never asserted.
const fs = require('fs');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');
const serve = require('../serve.js');

const kChromium = process.env.COURSEWORK_CHROMIUM || '/usr/bin/chromium';
const kWait = 30000;

class Page {
  constructor(page, address) {
    this.page = page;
    this.address = address;
    this.answers = [];  // to the page's questions, in turn: true accepts
    this.asked = [];
    page.on('dialog', (dialog) => {
      this.asked.push(dialog.message());
      return this.answers.length === 0 || this.answers.shift() ? dialog.accept() : dialog.dismiss();
    });
  }

  // Another tab of the same browser, on the same site.
  async another() {
    return new Page(await this.page.browser().newPage(), this.address);
  }

  async press(...keys) {
    for (const key of keys) await this.page.keyboard.down(key);
    for (const key of keys.reverse()) await this.page.keyboard.up(key);
  }

  // Hands a file of these bytes to an upload, as a drag or a script can.
  async upload(input, name, bytes) {
    await this.page.evaluate((id, n, b) => {
      const transfer = new DataTransfer();
      transfer.items.add(new File([new Uint8Array(b)], n));
      const field = document.getElementById(id);
      field.files = transfer.files;
      field.dispatchEvent(new Event('change'));
    }, input, name, [...bytes]);
  }

  // Waits until the folder's message is `text`.
  says(text) {
    return this.page.waitForFunction((t) => document.getElementById('folder-message').textContent === t,
      { timeout: kWait, polling: 100 }, text);
  }

  // Waits until the folder lists that file with that size.
  lists(name, size) {
    return this.page.waitForFunction((n) => document.getElementById('files').textContent.includes(n),
      { timeout: kWait }, `${name}${size} 字节`);
  }

  async open(program) {
    const query = program ? `?program=${encodeURIComponent(program)}` : '';
    await this.page.goto(`${this.address}${query}`);
    await this.state(program ? 'waiting' : 'ready');
  }

  async state(state) {
    await this.page.waitForSelector(`body[data-state="${state}"]`, { timeout: kWait });
  }

  screen() {
    return this.page.evaluate(() => window.coursework.screen());
  }

  // Waits until the terminal shows `text` and the program waits for input.
  async shows(text) {
    try {
      await this.page.waitForFunction(
        (t) => window.coursework.screen().includes(t) && document.body.dataset.state !== 'running',
        { timeout: kWait }, text);
    } catch (error) {
      throw new Error(`the terminal never showed "${text}"; it shows:\n${await this.screen()}`);
    }
  }

  // Waits until no tab holds the contact book. A closed tab's hold is let go
  // by the browser a moment after the tab is gone, not when close() returns.
  async bookLetGo() {
    await this.page.waitForFunction(async () => (navigator.locks
      ? (await navigator.locks.query()).held.every((l) => l.name !== 'coursework-contact-book')
      : localStorage.getItem('coursework-book-released') !== null),
    { timeout: kWait, polling: 100 });
  }

  async click(selector) {
    await this.page.bringToFront();
    await this.page.click(selector);
  }

  async type(text) {
    await this.page.bringToFront();
    await this.page.keyboard.type(text);
  }

  async enter(line) {
    await this.type(line);
    await this.page.keyboard.press('Enter');
  }

  async choose(program) {
    await this.page.bringToFront();
    const links = await this.page.$$('#programs a');
    for (const link of links) {
      if (await link.evaluate((a) => a.textContent) === program) {
        await link.click();
        await this.page.waitForFunction(
          (p) => window.coursework.timing.program === p && document.body.dataset.state !== 'loading',
          { timeout: kWait }, program);
        return;
      }
    }
    throw new Error(`no link to ${program}`);
  }

  async timing(note) {
    const t = await this.page.evaluate(() => window.coursework.timing);
    console.log(`${t.program}${note ? ` (${note})` : ''}: first output ${t.firstOutputMs.toFixed(0)} ms after it was chosen`);
  }
}

const cases = {
  // A contact added and saved is still there after the page is loaded again.
  async 'contact-book'(page) {
    await page.open('联系人');
    await page.timing('cold cache');
    await page.enter('1');
    await page.shows('是否为常用联系人');
    await page.enter('王小明 13912345678 12345 1');
    await page.shows('<添加成功!>');
    await page.enter('6');
    await page.shows('<保存成功!>');
    await page.page.reload();
    await page.state('waiting');
    await page.timing('warm cache, after a reload');
    await page.enter('2');
    await page.shows('王小明     13912345678     12345             是');
  },

  // 录入, 排序 and 打开, one after another on the same folder.
  async 'grade-pipeline'(page) {
    await page.open('录入');
    await page.enter('01 甲 60 70 80');
    await page.enter('02 乙 90 90 90');
    await page.enter('03 丙 70 70 70');
    await page.state('ended');
    await page.choose('排序');
    await page.state('ended');
    await page.choose('打开');
    await page.timing();
    await page.state('ended');
    const screen = await page.screen();
    const rows = ['02         乙         90.00', '01         甲         60.00', '03         丙         70.00'];
    const at = rows.map((row) => screen.indexOf(row));
    if (at.some((k) => k < 0) || !(at[0] < at[1] && at[1] < at[2])) {
      throw new Error(`the ranking is not 乙, 甲, 丙:\n${screen}`);
    }
  },

  // A Chinese line typed, with a character taken back by Backspace, reaches
  // the program as GBK: each character is two "other" bytes. Enter runs the
  // program again, and Ctrl-D at the start of a line ends its input.
  async 'typed-chinese'(page) {
    await page.open('统计');
    await page.timing();
    await page.type('ab 中文');
    await page.page.keyboard.press('Backspace');
    await page.enter('国 12');
    await page.shows('共有英文字母2个，空格2个，数字2个，其它字符4个');
    await page.state('ended');
    await page.press('Control', 'Enter');
    await page.state('waiting');
    await page.page.keyboard.down('Control');
    await page.page.keyboard.press('d');
    await page.page.keyboard.up('Control');
    await page.state('ended');
    const screen = await page.screen();
    if (!screen.endsWith('请输入一个字符串:\n程序已结束（退出状态 0）。按“再运行一次”或 Ctrl-Enter 再运行。')) {
      throw new Error(`the second run did not end quietly at the end of input:\n${screen}`);
    }
  },

  // A book of one's own uploaded as 联系人.txt is the contact book's; the
  // book saved by it downloads as the same GBK bytes the Linux program writes.
  async 'upload-download'(page, scratch) {
    const book = path.join(scratch, 'mine.txt');
    // One contact of the sample book: 李四's line, in GBK.
    const sample = fs.readFileSync(path.join(__dirname, '../../contacts/sample/contacts.txt'));
    const lines = sample.toString('latin1').split('\n').map((line) => Buffer.from(`${line}\n`, 'latin1'));
    const mine = lines.find((line) => new TextDecoder('gbk').decode(line).startsWith('李四'));
    fs.writeFileSync(book, mine);
    await page.open();
    const input = await page.page.$('#upload-book');
    await input.uploadFile(book);
    await page.page.waitForFunction(
      (size) => document.getElementById('files').textContent.includes(`联系人.txt${size} 字节`),
      { timeout: kWait }, mine.length);
    await page.choose('联系人');
    await page.enter('2');
    await page.shows('李四       18600000004     40004             否');
    await page.enter('6');
    await page.shows('<保存成功!>');

    const downloads = path.join(scratch, 'downloads');
    fs.mkdirSync(downloads);
    const cdp = await page.page.browser().target().createCDPSession();
    await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
    // The list is drawn again once the save is stored: click the button
    // that is there when the click lands.
    await page.page.waitForFunction(
      () => document.querySelector('button[aria-label="下载 联系人.txt"]') !== null, { timeout: kWait });
    await page.page.evaluate(() => document.querySelector('button[aria-label="下载 联系人.txt"]').click());
    const file = path.join(downloads, '联系人.txt');
    for (let waited = 0; !fs.existsSync(file); waited += 100) {
      if (waited > kWait) throw new Error('联系人.txt was never downloaded');
      await new Promise((resolve) => setTimeout(resolve, 100));
    }
    const got = fs.readFileSync(file);
    if (!got.equals(mine)) {
      throw new Error(`the download differs from the book uploaded:\n${got.toString('hex')}\n${mine.toString('hex')}`);
    }
  },

  'two-tabs': twoTabs,
  'two-tabs-insecure': twoTabs,

  // Uploads ask before they replace, convert a UTF-8 book, refuse what is
  // no book and names that are no file's, and say what they did.
  async uploads(page) {
    await page.open();
    const book = (text) => Buffer.from(text);
    const cases = [
      ['upload-book', 'utf8.txt', book('王五       17700000005     50005           2\n'), [true],
        '已上传 utf8.txt：它是 UTF-8 编码的，已转换成 GBK，存为 联系人.txt。'],
      ['upload-book', 'photo.png', Buffer.from('89504e470d0a1a0a0000000d49484452', 'hex'), [],
        '没有上传 photo.png：它含有 NUL 字节，不是文本文件，不能当通信录。'],
      ['upload-book', 'empty.txt', Buffer.alloc(0), [false],
        '没有上传 empty.txt：空的通信录没有替换 联系人.txt。'],
      ['upload-file', 'test.txt', book('x'), [false], '没有上传 test.txt：test.txt 保持原样。'],
      ['upload-file', 'a/b.txt', book('x'), [], '没有上传“a/b.txt”：文件名不能含有 / 或 \\，也不能是 . 或 ..。'],
      ['upload-file', '..', book('x'), [], '没有上传“..”：文件名不能含有 / 或 \\，也不能是 . 或 ..。'],
      ['upload-file', 'stud_dat', Buffer.from([0, 1, 2]), [], '已上传 stud_dat（3 字节）。'],
    ];
    for (const [input, name, bytes, answers, said] of cases) {
      const asked = page.asked.length;
      page.answers = [...answers];
      await page.page.evaluate(() => { document.getElementById('folder-message').textContent = ''; });
      await page.upload(input, name, bytes);
      await page.says(said);
      if (page.asked.length - asked !== answers.length) throw new Error(`${name}: asked ${page.asked.slice(asked)}`);
    }
    await page.lists('联系人.txt', 45);  // 47 bytes in UTF-8, 45 in GBK
    if (!page.asked.some((q) => q.includes('已经有 联系人.txt'))) throw new Error(`never asked about 联系人.txt: ${page.asked}`);
    page.answers = [true];
    await page.upload('upload-book', 'empty.txt', Buffer.alloc(0));
    await page.says('已上传 empty.txt，存为 联系人.txt。');
    await page.lists('联系人.txt', 0);
  },

  // With site data blocked, every program runs on a folder in memory, and
  // the page says that it will be gone.
  async 'no-storage'(page) {
    await page.open('联系人');
    const told = await page.page.$eval('#storage', (e) => e.textContent);
    if (!told.includes('工作文件夹只在内存里')) throw new Error(`the page says: ${told}`);
    await page.enter('1');
    await page.shows('是否为常用联系人');
    await page.enter('丁丁 13900000009 9 0');
    await page.enter('6');
    await page.shows('<保存成功!>');
    await page.choose('阶乘');
    await page.shows('sum=');
  },

  // Copying a selection leaves the program running; Ctrl-Z then Enter ends
  // input; a stray Enter after the end runs nothing, and a new run keeps
  // the last one above it; Tab leaves the terminal.
  async 'terminal-habits'(page) {
    const origin = new URL(page.address).origin;
    await page.page.browserContext().overridePermissions(origin, ['clipboard-read', 'clipboard-write']);
    await page.open('读写');
    if (await page.page.$eval('#hint', (e) => e.hidden)) throw new Error('读写 shows no hint');
    await page.choose('统计');
    await page.enter('copy me 1');
    await page.state('ended');
    await page.page.keyboard.press('Enter');
    await new Promise((resolve) => { setTimeout(resolve, 300); });
    await page.state('ended');
    await page.press('Control', 'Enter');
    await page.state('waiting');
    const screen = await page.screen();
    if (!/共有英文字母6个[^]*─{80}\n请输入一个字符串:$/.test(screen)) throw new Error(`the first run is gone:\n${screen}`);
    const box = await (await page.page.$('.xterm-screen')).boundingBox();
    const row = box.height / 30;
    await page.page.mouse.move(box.x + 2, box.y + row * 1.5);
    await page.page.mouse.down();
    await page.page.mouse.move(box.x + box.width - 2, box.y + row * 1.5, { steps: 5 });
    await page.page.mouse.up();
    await page.press('Control', 'c');
    const copied = await page.page.evaluate(() => navigator.clipboard.readText());
    if (!/copy me 1|共有英文字母6个/.test(copied)) throw new Error(`copied "${copied}"`);
    await page.state('waiting');
    await page.press('Control', 'z');
    await page.page.keyboard.press('Enter');
    await page.state('ended');
    await page.press('Control', 'Enter');
    await page.state('waiting');
    await page.page.keyboard.press('Tab');
    const left = await page.page.evaluate(() => !document.activeElement.closest('#terminal'));
    if (!left) throw new Error('Tab stayed in the terminal');
  },

  // On a phone, choosing a program brings the terminal into view with the
  // focus; the page never scrolls sideways; at 1280 px the 80 columns fit.
  async 'any-screen'(page) {
    const fits = (wide) => page.page.waitForFunction((columns) => {
      const box = document.getElementById('terminal');
      return document.documentElement.scrollWidth <= innerWidth && box.getBoundingClientRect().top >= 0 &&
        box.contains(document.activeElement) &&
        (!columns || box.querySelector('.xterm-screen').offsetWidth <= box.clientWidth);
    }, { timeout: kWait }, wide);
    await page.page.setViewport({ width: 390, height: 844, isMobile: true, hasTouch: true });
    await page.open();
    await page.choose('联系人');
    await fits(false);
    await page.page.setViewport({ width: 1280, height: 800 });
    await fits(true);
  },

  // axe on the index, a running program and an ended one; the source panel
  // highlighted; the icon there; a page opened from a disk says how to open it.
  async accessibility(page) {
    const axe = async (when) => {
      await page.page.addScriptTag({ path: require.resolve('axe-core/axe.min.js') });
      const found = await page.page.evaluate(async () => (await axe.run()).violations
        .map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(', ')}`));
      if (found.length > 0) throw new Error(`axe, ${when}:\n${found.join('\n')}`);
    };
    await page.open();
    await axe('on the index');
    await page.choose('联系人');
    await page.page.click('#source summary');
    await page.page.waitForSelector('#source-code .token.keyword', { timeout: kWait });
    await axe('while a program runs');
    await page.page.click('#stop');
    await page.state('ended');
    await axe('once it ended');
    if (!await page.page.evaluate(async () => (await fetch('icon.svg')).ok)) throw new Error('no icon');
    await page.page.goto(`file://${page.site}/index.html`);
    await page.page.waitForFunction(() => document.getElementById('storage').textContent.includes('http.server'),
      { timeout: kWait });
  },
};

// Two tabs on one folder. A second contact book ends before its menu while
// the first is open; a save in one tab updates the other's list of files. A run that never wrote the book (录入, stopped) leaves
// the contact another tab saved meanwhile. A book uploaded while another tab
// holds it waits, and says why, until that tab lets it go.
async function twoTabs(a) {
  await a.open('联系人');
  const secure = await a.page.evaluate(() => isSecureContext);
  if (secure === a.address.includes('school.test')) throw new Error(`a secure context: ${secure}`);
  const b = await a.another();
  await b.open();
  await b.choose('联系人');
  await b.state('ended');
  await b.shows('通信录已在另一个窗口中打开，请先关闭那个窗口！');
  await b.choose('录入');
  await b.state('waiting');
  const listed = await b.page.$eval('#files', (e) => e.textContent);
  await a.enter('1');
  await a.shows('是否为常用联系人');
  await a.enter('丙丙 13900000003 3 1');
  await a.enter('6');
  await a.shows('<保存成功!>');
  await b.page.waitForFunction((was) => document.getElementById('files').textContent !== was,
    { timeout: kWait, polling: 100 }, listed);
  await b.click('#stop');
  await b.state('ended');
  await a.page.close();
  await b.bookLetGo();
  await b.choose('联系人');
  await b.enter('2');
  await b.shows('丙丙');
  const c = await b.another();
  await c.open();
  await c.upload('upload-book', 'mine.txt', Buffer.from('Li 1 2 0\n'));
  await c.says('通信录正在另一个标签页或窗口中打开：等那里的 联系人 结束，才会上传 联系人.txt。');
  await b.click('#stop');
  await c.says('已上传 mine.txt，存为 联系人.txt。');
}

async function main() {
  const [site, name] = process.argv.slice(2);
  if (!cases[name]) {
    console.error(`usage: browser_test.js SITE CASE, CASE one of: ${Object.keys(cases).join(' ')}`);
    process.exit(2);
  }
  const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'coursework-browser-'));
  const server = await serve(site, 0);
  const profile = path.join(scratch, 'profile');
  if (name === 'no-storage') {
    // Site data blocked, as "block all cookies and site data" does.
    fs.mkdirSync(path.join(profile, 'Default'), { recursive: true });
    fs.writeFileSync(path.join(profile, 'Default', 'Preferences'),
      JSON.stringify({ profile: { default_content_setting_values: { cookies: 2 } } }));
  }
  const host = name.endsWith('-insecure') ? 'school.test' : '127.0.0.1';
  const browser = await puppeteer.launch({
    executablePath: kChromium,
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--host-resolver-rules=MAP school.test 127.0.0.1'],
  });
  let failed = false;
  try {
    const tab = await browser.newPage();
    const errors = [];
    tab.on('pageerror', (error) => errors.push(error.message));
    const page = new Page(tab, `http://${host}:${server.address().port}/`);
    page.site = path.resolve(site);
    await cases[name](page, scratch);
    if (errors.length > 0) throw new Error(`errors on the page:\n${errors.join('\n')}`);
    console.log(`${name}: passed`);
  } catch (error) {
    console.error(`${name}: FAILED\n${error.stack || error}`);
    failed = true;
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(scratch, { recursive: true, force: true });
  }
  process.exit(failed ? 1 : 0);
}

main();
