// Files in the browser, and under node: emscripten's POSIX calls over the
// page's folder (kept in the browser's IndexedDB by the page) or over the
// disk (node's files). One program runs in a folder at a time, and the
// folder holds neither devices nor second names of a file.
//
// Emscripten reads every path as UTF-8, while the programs name their files
// in GBK. A name is therefore handed over one character per byte, the bytes
// from 0x80 on as the characters U+0080 to U+00FF, so that the page and the
// node runner get the GBK bytes back exactly as the program spelled them.
#include <emscripten.h>

#include <string>

#include "platform/file.h"
#include "platform/file_system.h"

// Asks the page to store the folder as it is now, and waits until it is
// stored: 1 when it is (or there is nothing to do, as under node, where the
// files are on the disk already), 0 when it could not be.
EM_ASYNC_JS(int, coursework_keep_folder, (), {
  if (!Module.keepFolder) return 1;
  try {
    await Module.keepFolder();
    return 1;
  } catch (error) {
    return 0;
  }
});

// Asks the page to hold the contact book for this run, across the browser's
// tabs, until the run ends or its tab closes: 0 while another tab holds it.
// Under node, where there is no page, nothing is held; nor where the page
// cannot tell, since a book that never opens would lock its owner out.
EM_ASYNC_JS(int, coursework_hold_book, (), {
  if (!Module.holdBook) return 1;
  try {
    return (await Module.holdBook()) ? 1 : 0;
  } catch (error) {
    return 1;
  }
});

namespace platform {

// One contact book at a time across the browser's tabs, held by the page.
Hold hold_book(const char*) {
  if (coursework_hold_book() == 0) return Hold::busy;
  replacing::book_held = true;
  return Hold::held;
}

namespace replacing {

// The name as emscripten's calls take it (see the head of this file).
std::string system_path(const char* name) {
  std::string path;
  for (const char* at = name; *at != '\0'; ++at) {
    const auto byte = static_cast<unsigned char>(*at);
    if (byte < 0x80) {
      path += static_cast<char>(byte);
    } else {
      path += static_cast<char>(0xC0 | (byte >> 6));
      path += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return path;
}

// Emscripten's umask is a stand-in that would mask every permission: a new
// file gets what it gets on a usual system.
unsigned new_file_mode() {
  return 0644;
}

// In the browser a file lasts only once the page has stored the folder.
bool keep_names(const std::string&, bool) {
  return coursework_keep_folder() != 0;
}

}  // namespace replacing
}  // namespace platform
