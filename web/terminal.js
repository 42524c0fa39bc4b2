// The terminal a program runs in: xterm.js, with what a terminal's line
// discipline does on Linux. What the program prints arrives as GBK bytes and
// is shown decoded; what is typed is echoed and edited here, and sent to the
// program as GBK bytes one whole line at a time: Backspace removes the last
// character, a Chinese one whole; Enter sends the line; Ctrl-D at the start
// of a line ends the input (elsewhere it sends what is typed so far);
// Ctrl-Z at the start of a line, then Enter, ends it too, as on Windows;
// Ctrl-U clears the line; Ctrl-C stops the program, or copies the text
// selected. Ctrl-Shift-C and Ctrl-Insert copy; Ctrl-V, Ctrl-Shift-V and
// Shift-Insert paste; Tab leaves the terminal; the arrows do nothing. Once
// the program has ended, typing does nothing and Ctrl-Enter runs it again.
class ProgramTerminal {
  static kLargestFont = 15;
  static kSmallestFont = 10;

  constructor(element) {
    this.element = element;
    this.term = new Terminal({
      convertEol: true,  // the programs end lines with \n alone
      screenReaderMode: true,
      cols: 80,
      rows: 30,
      scrollback: 5000,
      fontSize: ProgramTerminal.kLargestFont,
    });
    this.term.open(element);
    this.term.onData((data) => this.typed(data));
    this.term.attachCustomKeyEventHandler((event) => this.key(event));
    new ResizeObserver(() => this.fit()).observe(element);
    // In its screen reader mode xterm.js takes the characters of key presses
    // and finished IME input only; text an on-screen keyboard or a character
    // picker inserts without a key press is taken here.
    const area = this.term.textarea;
    let pressed = false;
    area.addEventListener('keypress', () => { pressed = true; });
    area.addEventListener('input', (event) => {
      const inserted = event.inputType === 'insertText' && !event.isComposing && event.data;
      if (inserted && !pressed) this.typed(event.data);
      pressed = false;
    });
    this.onStop = () => {};
    this.onAgain = null;  // set while no program runs: Ctrl-Enter runs it again
    this.reset();
  }

  // Ready for a new run and no input: on an empty screen, or below the
  // previous run and a rule.
  reset(keep = false) {
    if (keep) this.term.write(`\r\n\x1b[2m${'─'.repeat(this.term.cols)}\x1b[0m\r\n`);
    else this.term.write('\x1bc');  // a full reset, after what is still being written
    this.decode = Gbk.streamDecoder();
    this.line = '';
    this.pieces = [];    // typed input not yet read: GBK bytes, or null for its end
    this.waiting = null; // the program's read, while it waits
  }

  focus() {
    this.term.focus();
  }

  // The largest font, within reason, at which the 80 columns fit the box;
  // at the smallest the terminal scrolls sideways inside its box.
  fit() {
    const style = getComputedStyle(this.element);
    const box = this.element.clientWidth - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight);
    const screen = this.element.querySelector('.xterm-screen');
    const width = () => screen.getBoundingClientRect().width;
    if (box <= 0 || width() === 0) return;
    const { kLargestFont: largest, kSmallestFont: smallest } = ProgramTerminal;
    let size = Math.floor(this.term.options.fontSize * box / width());
    size = Math.max(smallest, Math.min(largest, size));
    if (size !== this.term.options.fontSize) this.term.options.fontSize = size;
    while (width() > box && this.term.options.fontSize > smallest) this.term.options.fontSize -= 1;
  }

  // Keys the page takes before the terminal: returns false for them, so
  // that the terminal leaves them alone, and acts on their key press.
  key(event) {
    if (event.altKey || event.metaKey) return true;
    const down = event.type === 'keydown';
    const letter = event.key.toLowerCase();
    const { ctrlKey: ctrl, shiftKey: shift } = event;
    const copy = (ctrl && letter === 'c' && (shift || this.term.hasSelection())) ||
      (ctrl && !shift && event.key === 'Insert');
    const paste = (ctrl && letter === 'v') || (shift && !ctrl && event.key === 'Insert');
    if (copy) {
      if (down) this.copy();
      event.preventDefault();
      return false;
    }
    if (ctrl && event.key === 'Enter' && this.onAgain !== null) {
      if (down) this.onAgain();
      event.preventDefault();
      return false;
    }
    // The browser pastes, and the terminal takes what it pastes; Tab moves
    // the focus on.
    return !(paste || event.key === 'Tab');
  }

  // Copies the selected text, through the copy event the browser allows
  // during a key press, else through the clipboard's interface.
  copy() {
    const text = this.term.getSelection();
    if (text === '') return;
    const put = (event) => {
      event.clipboardData.setData('text/plain', text);
      event.preventDefault();
      event.stopImmediatePropagation();
    };
    document.addEventListener('copy', put, true);
    let copied = false;
    try {
      copied = document.execCommand('copy');
    } catch {
      copied = false;
    }
    document.removeEventListener('copy', put, true);
    if (!copied && navigator.clipboard) navigator.clipboard.writeText(text).catch(() => {});
  }

  // Shows bytes the program printed.
  show(bytes) {
    if (bytes.length > 0) this.term.write(this.decode(bytes));
  }

  // Shows a line of the page's own, apart from the program's output.
  note(text) {
    this.term.write(`\r\n\x1b[2m${text}\x1b[0m\r\n`);
  }

  // The program's read: the next piece of input, at most `size` bytes, or
  // null once input has ended.
  read(size) {
    return new Promise((resolve) => {
      this.waiting = { resolve, size };
      this.handOver();
    });
  }

  handOver() {
    if (this.waiting === null || this.pieces.length === 0) return;
    const { resolve, size } = this.waiting;
    this.waiting = null;
    const piece = this.pieces[0];
    if (piece !== null && piece.length > size) {
      this.pieces[0] = piece.subarray(size);
      resolve(piece.subarray(0, size));
    } else {
      this.pieces.shift();
      resolve(piece);
    }
  }

  send(text, end) {
    if (text !== '') this.pieces.push(Gbk.encode(text));
    if (end) this.pieces.push(null);
    this.handOver();
  }

  typed(data) {
    for (let k = 0; k < data.length; k++) {
      const c = data[k];
      if (this.onAgain !== null) return;
      if (c === '\r' || (c === '\n' && data[k - 1] !== '\r')) {
        this.term.write('\r\n');
        if (this.line === '\x1a') this.send('', true);
        else this.send(`${this.line}\n`, false);
        this.line = '';
      } else if (c === '\x7f' || c === '\b') {
        this.eraseLast();
      } else if (c === '\x04') {
        if (this.line === '\x1a') this.line = '';
        this.send(this.line, this.line === '');
        this.line = '';
      } else if (c === '\x1a') {
        if (this.line === '') {
          this.line = c;
          this.term.write('^Z');
        }
      } else if (c === '\x15') {
        while (this.line !== '') this.eraseLast();
      } else if (c === '\x03') {
        this.term.write('^C\r\n');
        this.onStop();
        return;
      } else if (c === '\x1b') {
        k += this.escapeLength(data, k) - 1;  // arrows and the like: no editing here
      } else if (c >= ' ' && this.line !== '\x1a') {
        this.line += c;
        this.term.write(c);
      }
    }
  }

  // Removes the last character typed, and its one or two columns.
  eraseLast() {
    const characters = Array.from(this.line);
    if (characters.length === 0) return;
    const last = characters.pop();
    this.line = characters.join('');
    const width = ProgramTerminal.wide(last) || last === '\x1a' ? 2 : 1;
    for (let k = 0; k < width; k++) this.eraseColumn();
  }

  // Moves back one column, to the end of the line above at its start.
  eraseColumn() {
    if (this.term.buffer.active.cursorX === 0) {
      this.term.write(`\x1b[A\x1b[${this.term.cols}G \x1b[${this.term.cols}G`);
    } else {
      this.term.write('\b \b');
    }
  }

  escapeLength(data, k) {
    const match = /^\x1b(\[[0-9;?]*[ -\/]*[@-~]|O.|.)?/.exec(data.slice(k));
    return match[0].length;
  }

  // Whether a character takes two columns, as East Asian wide characters do.
  static wide(character) {
    const c = character.codePointAt(0);
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c !== 0x303F) ||
      (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
      (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
      (c >= 0xFFE0 && c <= 0xFFE6) || c >= 0x20000;
  }

  // The text on the terminal, scrollback included: one line for each line
  // the program printed, however the terminal wrapped it.
  text() {
    const buffer = this.term.buffer.active;
    const rows = [];
    for (let y = 0; y < buffer.length; y++) {
      const line = buffer.getLine(y);
      const row = line.translateToString(false);
      if (line.isWrapped && rows.length > 0) {
        rows[rows.length - 1] += row;
      } else {
        rows.push(row);
      }
    }
    return rows.map((row) => row.trimEnd()).join('\n').trimEnd();
  }
}
