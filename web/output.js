// What the program writes reaches the page byte by byte: standard output to
// Module.stdout, standard error to Module.stderr. The program needs no file
// system but this.
mergeInto(LibraryManager.library, {
  fd_write: function(fd, iov, iovcnt, pnum) {
    var put = Module[fd === 2 ? 'stderr' : 'stdout'];
    var written = 0;
    for (var i = 0; i < iovcnt; i++) {
      var at = HEAPU32[(iov + i * 8) >> 2];
      var length = HEAPU32[(iov + i * 8 + 4) >> 2];
      for (var j = 0; j < length; j++) put(HEAPU8[at + j]);
      written += length;
    }
    HEAPU32[pnum >> 2] = written;
    return 0;
  },
});
