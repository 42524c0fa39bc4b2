// The working folder of all the programs, kept in the browser's IndexedDB
// between visits: one record a file, its name as the programs spell it (GBK
// bytes, one character per byte) and its content as bytes. A new visitor's
// folder is laid out like ./try's: the sample book as 联系人.txt and an
// empty test.txt, which 读写 needs.
//
// Every tab of the page shares the folder: a run stores only the files it
// changed, and the other tabs hear of it. A browser that stores nothing (site
// data blocked) or stops storing (a write refused) leaves the folder in this
// tab's memory, where the programs go on using it until the page closes.
//
// One contact book at a time across the tabs: the book is held through a Web
// Lock, which the browser frees when its tab closes or crashes. Where the
// page is no secure context there are no Web Locks, and a tab claims the book
// in the store instead, renewing the claim while it lives.
const Folder = (() => {
  const kDatabase = 'coursework';
  const kBook = 'coursework-contact-book';
  // A claim outlives the once-a-minute timers of a tab in the background.
  const kClaimLasts = 3 * 60 * 1000;
  const kClaimRenewed = 20 * 1000;
  const kTab = `${Date.now()}-${Math.random()}`;
  let opened = null;
  let memory = null;  // the folder while the browser stores nothing: name -> bytes
  const channel = typeof BroadcastChannel === 'function' ? new BroadcastChannel('coursework-folder') : null;
  const listeners = { changed: () => {}, lost: () => {} };

  function request(r) {
    return new Promise((resolve, reject) => {
      r.onsuccess = () => resolve(r.result);
      r.onerror = () => reject(r.error);
    });
  }

  function database() {
    if (opened === null) {
      const r = indexedDB.open(kDatabase, 1);
      r.onupgradeneeded = () => {
        r.result.createObjectStore('files');
        r.result.createObjectStore('state');
      };
      opened = request(r);
    }
    return opened;
  }

  // Runs `work` on the stores in one transaction; resolves once it is
  // committed, so that what it wrote is on the disk.
  async function transaction(mode, work) {
    const db = await database();
    const t = db.transaction(['files', 'state'], mode);
    const done = new Promise((resolve, reject) => {
      t.oncomplete = resolve;
      t.onerror = () => reject(t.error);
      t.onabort = () => reject(t.error || new Error('aborted'));
    });
    const result = await work(t.objectStore('files'), t.objectStore('state'));
    await done;
    return result;
  }

  function storedFiles() {
    return transaction('readonly', async (store) => {
      const [names, contents] = await Promise.all([
        request(store.getAllKeys()), request(store.getAll())]);
      return new Map(names.map((name, k) => [name, new Uint8Array(contents[k])]));
    });
  }

  // From the first refusal on, the folder is the one in memory: what the
  // store still holds, or else a new visitor's.
  async function keepInMemory(error) {
    if (memory !== null) return;
    let kept;
    try {
      kept = await storedFiles();
    } catch {
      kept = await sampleFiles().catch(() => new Map());
    }
    if (memory !== null) return;
    memory = kept;
    listeners.lost(error);
  }

  // `stored` on the browser's store, or `inMemory` on the folder in memory
  // once the store has refused.
  async function use(stored, inMemory) {
    if (memory === null) {
      try {
        return await stored();
      } catch (error) {
        await keepInMemory(error);
      }
    }
    return inMemory(memory);
  }

  function changed() {
    if (channel !== null && memory === null) channel.postMessage('changed');
  }

  // All files, as a Map from name to bytes, sorted by name.
  function files() {
    return use(storedFiles, (kept) => new Map([...kept].sort(([a], [b]) => (a < b ? -1 : a > b ? 1 : 0))));
  }

  // Stores the changes (a Map from name to its bytes, or to null where the
  // file is gone) at once, leaving every other file as it is.
  async function apply(changes) {
    await use(() => transaction('readwrite', (store) => {
      for (const [name, bytes] of changes) {
        if (bytes === null) store.delete(name);
        else store.put(bytes, name);
      }
    }), (kept) => {
      for (const [name, bytes] of changes) {
        if (bytes === null) kept.delete(name);
        else kept.set(name, bytes);
      }
    });
    changed();
  }

  async function sampleFiles() {
    const response = await fetch('sample-contacts.txt');
    if (!response.ok) throw new Error(`sample-contacts.txt: ${response.status}`);
    const book = new Uint8Array(await response.arrayBuffer());
    return new Map([[Gbk.fileName('联系人.txt'), book], ['test.txt', new Uint8Array(0)]]);
  }

  // Lays the folder out anew: the sample book and an empty test.txt.
  async function startOver() {
    const sample = await sampleFiles();
    await use(() => transaction('readwrite', (store, state) => {
      store.clear();
      for (const [name, bytes] of sample) store.put(bytes, name);
      state.put(true, 'laid out');
    }), (kept) => {
      kept.clear();
      for (const [name, bytes] of sample) kept.set(name, bytes);
    });
    changed();
  }

  // A new visitor's folder is laid out once; after that it is left as the
  // visitor leaves it, even empty.
  async function layOutOnce() {
    const done = await use(
      () => transaction('readonly', (store, state) => request(state.get('laid out'))), () => true);
    if (!done) await startOver();
  }

  // --- The contact book, one tab at a time ---

  // The Web Lock of the book, held until the function returned is called:
  // null when `options` asks only for a lock that is free, and it is not.
  async function lockBook(options) {
    let release;
    const released = new Promise((resolve) => { release = resolve; });
    const held = await new Promise((resolve, reject) => {
      navigator.locks.request(kBook, options, (lock) => {
        resolve(lock !== null);
        return lock === null ? undefined : released;
      }).catch(reject);
    });
    return held ? release : null;
  }

  // A tab that closes may be gone before its store lets the claim go: it
  // also leaves its name where a closing page can still write at once.
  const kReleased = 'coursework-book-released';

  function markReleased() {
    try {
      localStorage.setItem(kReleased, kTab);
    } catch {
      // the claim lasts its time
    }
  }

  function released(tab) {
    try {
      return localStorage.getItem(kReleased) === tab;
    } catch {
      return false;
    }
  }

  // The claim in the store: taken when no other tab's claim is still alive.
  async function claimBook() {
    const claim = () => use(() => transaction('readwrite', async (store, state) => {
      const held = await request(state.get('book'));
      if (held && held.tab !== kTab && held.until > Date.now() && !released(held.tab)) return false;
      state.put({ tab: kTab, until: Date.now() + kClaimLasts }, 'book');
      if (released(kTab)) localStorage.removeItem(kReleased);
      return true;
    }), () => true);
    if (!await claim()) return null;
    const renewal = setInterval(claim, kClaimRenewed);
    let gone = false;
    const release = () => {
      if (gone) return;
      gone = true;
      clearInterval(renewal);
      window.removeEventListener('pagehide', release);
      markReleased();
      use(() => transaction('readwrite', async (store, state) => {
        const held = await request(state.get('book'));
        if (held && held.tab === kTab) state.delete('book');
      }), () => {}).catch(() => {});
    };
    window.addEventListener('pagehide', release);
    return release;
  }

  // Holds the contact book for this tab; resolves to the function that lets
  // it go. Unless `wait`, resolves to null when another tab holds it;
  // otherwise waits for it, calling `waiting` once if it must.
  // A folder in memory is this tab's alone.
  async function holdBook(wait, waiting = () => {}) {
    if (memory !== null) return () => {};
    const held = () => (navigator.locks ? lockBook({ ifAvailable: true }) : claimBook());
    let release = await held();
    if (release !== null || !wait) return release;
    waiting();
    if (navigator.locks) return lockBook({});
    while (release === null) {
      await new Promise((resolve) => { setTimeout(resolve, 1000); });
      release = await held();
    }
    return release;
  }

  // Calls `changed` when another tab has changed the folder, and `lost`
  // once the browser has refused to store it.
  function listen(handlers) {
    Object.assign(listeners, handlers);
    if (channel !== null) channel.onmessage = () => listeners.changed();
  }

  return {
    files, apply, startOver, layOutOnce, holdBook, listen,
    stored: () => memory === null,
  };
})();
