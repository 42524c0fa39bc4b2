// The working folder of all the programs, kept in the browser's IndexedDB
// between visits: one record a file, its name as the programs spell it (GBK
// bytes, one character per byte) and its content as bytes. A new visitor's
// folder is laid out like ./try's: the sample book as 联系人.txt and an
// empty test.txt, which 读写 needs.
const Folder = (() => {
  const kDatabase = 'coursework';
  let opened = null;

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

  // All files, as a Map from name to bytes, sorted by name.
  async function files() {
    return transaction('readonly', async (store) => {
      const [names, contents] = await Promise.all([
        request(store.getAllKeys()), request(store.getAll())]);
      return new Map(names.map((name, k) => [name, new Uint8Array(contents[k])]));
    });
  }

  // Makes the folder hold exactly `all` (a Map from name to bytes), at once.
  async function replaceAll(all) {
    return transaction('readwrite', (store) => {
      store.clear();
      for (const [name, bytes] of all) store.put(bytes, name);
    });
  }

  async function put(name, bytes) {
    return transaction('readwrite', (store) => { store.put(bytes, name); });
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
    return transaction('readwrite', (store, state) => {
      store.clear();
      for (const [name, bytes] of sample) store.put(bytes, name);
      state.put(true, 'laid out');
    });
  }

  // A new visitor's folder is laid out once; after that it is left as the
  // visitor leaves it, even empty.
  async function layOutOnce() {
    const done = await transaction('readonly', (store, state) => request(state.get('laid out')));
    if (!done) await startOver();
  }

  return { files, replaceAll, put, startOver, layOutOnce };
})();
