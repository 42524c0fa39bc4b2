// The page driven end to end in headless Chromium (the system's own, driven
// by puppeteer-core), served from 127.0.0.1 only, each case in a browser
// profile of its own.
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

  async type(text) {
    await this.page.keyboard.type(text);
  }

  async enter(line) {
    await this.type(line);
    await this.page.keyboard.press('Enter');
  }

  async choose(program) {
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
    await page.page.keyboard.press('Enter');
    await page.state('waiting');
    await page.page.keyboard.down('Control');
    await page.page.keyboard.press('d');
    await page.page.keyboard.up('Control');
    await page.state('ended');
    const screen = await page.screen();
    if (!screen.endsWith('请输入一个字符串:\n程序已结束（退出状态 0）。按 Enter 再运行一次。')) {
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
    await page.page.click('button[aria-label="下载 联系人.txt"]');
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
};

async function main() {
  const [site, name] = process.argv.slice(2);
  if (!cases[name]) {
    console.error(`usage: browser_test.js SITE CASE, CASE one of: ${Object.keys(cases).join(' ')}`);
    process.exit(2);
  }
  const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'coursework-browser-'));
  const server = await serve(site, 0);
  const browser = await puppeteer.launch({
    executablePath: kChromium,
    headless: true,
    userDataDir: path.join(scratch, 'profile'),
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  let failed = false;
  try {
    const tab = await browser.newPage();
    const errors = [];
    tab.on('pageerror', (error) => errors.push(error.message));
    await cases[name](new Page(tab, `http://127.0.0.1:${server.address().port}/`), scratch);
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
