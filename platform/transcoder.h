// Converting text between GBK and UTF-8 as it streams to or from a terminal,
// with the C library's iconv.
#pragma once

#include <string>
#include <string_view>

namespace platform {

enum class Direction { gbk_to_utf8, utf8_to_gbk };

// Converts a stream of text handed over in pieces of any size. A character
// cut off at the end of one piece is held back and completed by the next.
// Bytes that are no character of the source encoding, and characters the
// other encoding lacks, pass through unchanged, in their place.
class Transcoder {
 public:
  explicit Transcoder(Direction direction) : direction_(direction) {}

  // False when the system offers no such conversion; the Transcoder then
  // passes everything through unchanged.
  bool ready() const;

  // Appends the converted piece to `out`.
  void convert(std::string_view piece, std::string& out);

  // The stream has ended: appends whatever was held back, unchanged.
  void finish(std::string& out);

 private:
  Direction direction_;
  std::string held_;  // the start of a character cut off by the last piece
};

// Whether a terminal in the locale named by the environment takes GBK bytes
// as they stand: the first of LC_ALL, LC_CTYPE and LANG that is set and not
// empty (null: unset) decides by the character set in its name
// ("zh_CN.gb18030@variant"), installed or not. GBK, GB2312, GB18030, CP936
// and EUC-CN count, in any case and with or without separators.
bool locale_is_gbk(const char* lc_all, const char* lc_ctype, const char* lang);

}  // namespace platform
