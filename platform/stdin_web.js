// Standard input in the browser and under node: what the program reads from
// descriptor 0 comes from Module.readInput(size), a promise of GBK bytes
// that the page or the node runner keeps (empty or null once input has
// ended). While it waits the program is suspended (Asyncify) and the page
// goes on; what was printed before is flushed first, so that the prompt
// shows. Every other descriptor reads its file as before.
mergeInto(LibraryManager.library, {
  fd_read__deps: ['$SYSCALLS', '$Asyncify'],
  fd_read__sig: 'iiiii',
  fd_read: function (fd, iov, iovcnt, pnum) {
    if (fd !== 0) {
      try {
        HEAP32[pnum >> 2] = SYSCALLS.doReadv(SYSCALLS.getStreamFromFD(fd), iov, iovcnt);
        return 0;
      } catch (e) {
        if (typeof FS == 'undefined' || !(e instanceof FS.ErrnoError)) throw e;
        return e.errno;
      }
    }
    return Asyncify.handleAsync(async function () {
      _fflush(0);
      var room = 0;
      for (var i = 0; i < iovcnt; i++) room += HEAP32[(iov + i * 8 + 4) >> 2];
      var piece = await Module.readInput(Math.min(room, 1 << 30));
      // The C library's first buffer is often empty: every one is filled in turn.
      var got = 0;
      for (var i = 0; piece && i < iovcnt && got < piece.length; i++) {
        var into = HEAP32[(iov + i * 8) >> 2];
        var size = Math.min(HEAP32[(iov + i * 8 + 4) >> 2], piece.length - got);
        HEAPU8.set(piece.subarray(got, got + size), into);
        got += size;
      }
      HEAP32[pnum >> 2] = got;
      return 0;
    });
  },
});
