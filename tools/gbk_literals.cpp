// gbk_literals: copies a C or C++ source for a compiler that cannot make GBK
// literals itself (Clang): the text of every ordinary narrow string and
// character literal is written as octal escapes of its GBK bytes, three
// digits each, so that a digit after them is never taken into an escape.
//
//   gbk_literals SOURCE COPY
//
// Everything else is copied as it stands: comments, u8"", u"", U"" and L""
// literals, header names, and the code around the literals. A raw narrow
// literal that holds non-ASCII text cannot hold escapes, so it becomes
// ordinary literals side by side, one for each of its lines. Every line break
// stays where it was, and the copy starts with a #line directive naming
// SOURCE, so that diagnostics, __FILE__ and __LINE__ are the original's.
//
// A character GBK lacks, or text that is not UTF-8, is an error naming the
// file and line; the copy is then left as it was. Sources ending in .c are
// read as C, which has no raw literals.
//
// The copy is made before the preprocessor runs, so a literal is converted
// as it is written: one that a macro later pastes onto a prefix (u8##text)
// keeps the GBK bytes, where a compiler converting them itself would make it
// UTF-8.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "platform/codec.h"

namespace {

// A conversion that cannot be done, at a byte offset of the source.
struct conversion_error : std::runtime_error {
  conversion_error(const std::string& what, std::size_t at) : std::runtime_error(what), at(at) {}
  std::size_t at;
};

bool is_identifier_byte(char c) {
  unsigned char b = static_cast<unsigned char>(c);
  return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || b == '_' ||
         b == '$' || b >= 0x80;
}

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// The code point that starts at text[i], advancing i past it; -1 (and i
// past one byte) when the bytes there are not UTF-8.
long decode_utf8(const std::string& text, std::size_t& i) {
  unsigned char lead = static_cast<unsigned char>(text[i++]);
  int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  if (lead < 0x80) return lead;
  if (more == 0 || lead > 0xF4) return -1;
  long code = lead & (0x3F >> more);
  for (int k = 0; k < more; ++k) {
    if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return -1;
    code = code << 6 | (static_cast<unsigned char>(text[i++]) & 0x3F);
  }
  static const long least[] = {0, 0x80, 0x800, 0x10000};
  if (code < least[more] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return -1;
  return code;
}

std::string encode_utf8(long code) {
  std::string text;
  if (code < 0x80) {
    text += static_cast<char>(code);
  } else if (code < 0x800) {
    text += static_cast<char>(0xC0 | code >> 6);
    text += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    text += static_cast<char>(0xE0 | code >> 12);
    text += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    text += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | code >> 18);
    text += static_cast<char>(0x80 | (code >> 12 & 0x3F));
    text += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    text += static_cast<char>(0x80 | (code & 0x3F));
  }
  return text;
}

// UTF-8 text as octal escapes of its GBK bytes. `at` is where the text
// stands in the source, for an error.
std::string gbk_escapes(const std::string& utf8, std::size_t at) {
  using platform::Direction;
  if (!platform::codec::available(Direction::utf8_to_gbk))
    throw conversion_error("this system cannot convert UTF-8 to GBK", at);
  std::string escapes;
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t start = i;
    long code = decode_utf8(utf8, i);
    if (code < 0) throw conversion_error("text in a literal that is not UTF-8", at + start);
    std::string one = utf8.substr(start, i - start);
    std::string gbk;
    if (!platform::codec::convert(Direction::utf8_to_gbk, one, gbk)) {
      char name[20];
      std::snprintf(name, sizeof name, "U+%04lX", code);
      throw conversion_error("\"" + one + "\" (" + name + ") has no GBK encoding", at + start);
    }
    for (char byte : gbk) {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\%03o", static_cast<unsigned char>(byte));
      escapes += escape;
    }
  }
  return escapes;
}

class Copier {
 public:
  Copier(const std::string& source, bool c_language) : in_(source), c_(c_language) {}

  // The copy, less its #line directive.
  std::string copy() {
    if (in_.compare(0, 3, "\xEF\xBB\xBF") == 0) at_ = 3;  // a byte-order mark goes
    for (std::size_t p = logical(at_); p < in_.size(); p = logical(at_))
      step(p);
    copy_through(in_.size());
    return out_;
  }

 private:
  const std::string& in_;
  const bool c_;
  std::size_t at_ = 0;      // the first byte not yet copied
  std::string out_;         // the copy so far
  bool line_start_ = true;  // nothing but blanks and comments yet on this line
  std::string directive_;   // the name of the directive this line holds, if any

  char ch(std::size_t p) const { return p < in_.size() ? in_[p] : '\0'; }

  // Whether literals here become GBK: not in the file names and messages of
  // directives, only in code and in the macros it uses.
  bool converting() const { return directive_.empty() || directive_ == "define"; }

  // p, or past the line continuations (backslash, line break) that start there.
  std::size_t logical(std::size_t p) const {
    while (ch(p) == '\\') {
      std::size_t q = p + 1;
      if (ch(q) == '\r') ++q;
      if (ch(q) != '\n') break;
      p = q + 1;
    }
    return p;
  }
  std::size_t after(std::size_t p) const { return logical(p + 1); }

  void copy_through(std::size_t end) {
    out_.append(in_, at_, end - at_);
    at_ = end;
  }

  // One token, comment, blank or line break, which starts at p.
  void step(std::size_t p) {
    char c = in_[p];
    char next = ch(after(p));
    if (c == '/' && next == '/') {
      line_comment(p);
    } else if (c == '/' && next == '*') {
      block_comment(p);
    } else if (c == '\n') {
      copy_through(p + 1);
      line_start_ = true;
      directive_.clear();
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
      copy_through(p + 1);
    } else if (c == '#' && line_start_) {
      directive(p);
    } else if (c == '"' || c == '\'') {
      line_start_ = false;
      literal(p, converting());
    } else if (is_digit(c) || (c == '.' && is_digit(next))) {
      line_start_ = false;
      number(p);
    } else if (is_identifier_byte(c)) {
      line_start_ = false;
      identifier(p);
    } else {
      line_start_ = false;
      copy_through(p + 1);
    }
  }

  void line_comment(std::size_t p) {
    while (p < in_.size() && in_[p] != '\n')
      p = after(p);
    copy_through(p);
  }

  void block_comment(std::size_t p) {
    p = after(after(p));
    while (p < in_.size() && !(in_[p] == '*' && ch(after(p)) == '/'))
      p = after(p);
    copy_through(p < in_.size() ? after(p) + 1 : in_.size());
  }

  std::size_t skip_blanks(std::size_t p) const {
    while (ch(p) == ' ' || ch(p) == '\t')
      p = after(p);
    return p;
  }

  // A directive's name; the header name of an include is left as written.
  void directive(std::size_t p) {
    line_start_ = false;
    p = skip_blanks(after(p));
    std::string name;
    for (; is_identifier_byte(ch(p)); p = after(p))
      name += in_[p];
    directive_ = name.empty() ? "#" : name;
    if (name == "include" || name == "include_next" || name == "import") {
      p = skip_blanks(p);
      char close = ch(p) == '<' ? '>' : ch(p) == '"' ? '"' : '\0';
      if (close) {
        for (p = after(p); p < in_.size() && in_[p] != close && in_[p] != '\n'; p = after(p)) {
        }
        if (ch(p) == close) ++p;
      }
    }
    copy_through(p);
  }

  // A preprocessing number, digit separators and exponent signs included.
  void number(std::size_t p) {
    for (;;) {
      char c = ch(p);
      std::size_t q = after(p);
      if ((c == 'e' || c == 'E' || c == 'p' || c == 'P') && (ch(q) == '+' || ch(q) == '-')) {
        p = after(q);
      } else if (c == '\'' && is_identifier_byte(ch(q))) {
        p = after(q);
      } else if (is_identifier_byte(c) || c == '.') {
        p = q;
      } else {
        break;
      }
    }
    copy_through(p);
  }

  // An identifier, or the encoding prefix of the literal that follows it.
  void identifier(std::size_t p) {
    std::size_t start = p;
    std::string name;
    for (; is_identifier_byte(ch(p)); p = after(p))
      name += in_[p];
    bool prefix = name == "u8" || name == "u" || name == "U" || name == "L";
    bool raw_prefix =
        !c_ && (name == "R" || name == "u8R" || name == "uR" || name == "UR" || name == "LR");
    if (raw_prefix && ch(p) == '"') {
      raw_literal(start, p, name == "R" && converting());
      return;
    }
    copy_through(p);
    if (prefix && (ch(p) == '"' || ch(p) == '\'')) literal(p, false);
  }

  // A string or character literal whose quote is at p; its non-ASCII text
  // (and its \u escapes, as a compiler that converts would take them) becomes
  // GBK escapes when `convert`. One left open at the end of its line is
  // copied as it stands.
  void literal(std::size_t p, bool convert) {
    copy_through(p);
    const char quote = in_[p];
    std::string text(1, quote);
    for (p = after(p);;) {
      char c = ch(p);
      if (p >= in_.size() || c == '\n') {
        copy_through(p);
        return;
      }
      if (c == quote) {
        out_ += text + quote;
        at_ = p + 1;
        return;
      }
      if (c == '\\') {
        std::size_t e = after(p);
        if (convert && (ch(e) == 'u' || ch(e) == 'U')) {
          std::size_t end = e;
          long code = universal_character(e, end);
          if (code >= 0) {
            text += gbk_escapes(encode_utf8(code), p);
            p = end;
            continue;
          }
        }
        if (e >= in_.size() || in_[e] == '\n') {
          text.append(in_, p, e - p);
          p = e;
          continue;
        }
        text.append(in_, p, e + 1 - p);
        p = logical(e + 1);
      } else if (convert && static_cast<unsigned char>(c) >= 0x80) {
        std::size_t start = p;
        std::string run, continuations;
        while (static_cast<unsigned char>(ch(p)) >= 0x80) {
          run += in_[p];
          std::size_t next = after(p);
          continuations.append(in_, p + 1, next - p - 1);
          p = next;
        }
        text += gbk_escapes(run, start) + continuations;
      } else {
        std::size_t next = after(p);
        text.append(in_, p, next - p);
        p = next;
      }
    }
  }

  // The code point of the escape \uXXXX or \UXXXXXXXX whose letter is at
  // `letter`, with `end` past it; -1 when it is incomplete.
  long universal_character(std::size_t letter, std::size_t& end) const {
    int digits = in_[letter] == 'u' ? 4 : 8;
    long code = 0;
    std::size_t p = after(letter);
    for (int k = 0; k < digits; ++k, p = after(p)) {
      char c = ch(p);
      int value = is_digit(c)              ? c - '0'
                  : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                  : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                           : -1;
      if (value < 0) return -1;
      code = code * 16 + value;
    }
    end = p;
    return code <= 0x10FFFF ? code : -1;
  }

  // A raw literal: its prefix starts at `start`, its opening quote is at
  // `quote`. Copied as it stands, unless it is narrow (`convert`) and holds
  // non-ASCII text: then it is rewritten as ordinary literals, one for each
  // of its lines, each line break kept between them.
  void raw_literal(std::size_t start, std::size_t quote, bool convert) {
    std::size_t open = in_.find('(', quote + 1);
    std::string delimiter = in_.substr(quote + 1, open == std::string::npos ? 0 : open - quote - 1);
    if (open == std::string::npos || delimiter.size() > 16 ||
        delimiter.find_first_of(" \\)\t\n\r\f\v") != std::string::npos) {
      copy_through(quote);  // no raw literal after all
      return;
    }
    std::string close = ")" + delimiter + "\"";
    std::size_t end = in_.find(close, open + 1);
    if (end == std::string::npos) {
      copy_through(in_.size());
      return;
    }
    std::string body = in_.substr(open + 1, end - open - 1);
    bool ascii = true;
    for (char c : body)
      ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (!convert || ascii) {
      copy_through(end + close.size());
      return;
    }
    copy_through(start);
    for (std::size_t p = start; p < quote; ++p)  // continuations inside the prefix
      if (in_[p] == '\n') out_ += "\\\n";
    out_ += ordinary_pieces(body, open + 1);
    at_ = end + close.size();
  }

  // The text of a raw literal, which starts in the source at `at`, as
  // ordinary literals side by side.
  std::string ordinary_pieces(const std::string& body, std::size_t at) const {
    std::string pieces = "\"";
    for (std::size_t i = 0; i < body.size();) {
      unsigned char c = static_cast<unsigned char>(body[i]);
      std::size_t line_break = c == '\n' ? 1 : body.compare(i, 2, "\r\n") == 0 ? 2 : 0;
      if (line_break) {
        pieces += "\\n\"";
        if (!directive_.empty()) pieces += '\\';  // the directive goes on
        pieces += body.substr(i, line_break) + "\"";
        i += line_break;
      } else if (c >= 0x80) {
        std::size_t start = i;
        while (i < body.size() && static_cast<unsigned char>(body[i]) >= 0x80)
          ++i;
        pieces += gbk_escapes(body.substr(start, i - start), at + start);
      } else {
        if (c == '\\' || c == '"' || c == '?') pieces += '\\';
        pieces += static_cast<char>(c);
        ++i;
      }
    }
    return pieces + "\"";
  }
};

// The line of the source at a byte offset, counting from 1.
std::size_t line_at(const std::string& source, std::size_t at) {
  std::size_t line = 1;
  for (std::size_t i = 0; i < at && i < source.size(); ++i)
    line += source[i] == '\n';
  return line;
}

std::string quoted_path(const std::string& path) {
  std::string text = "\"";
  for (char c : path) {
    if (c == '\\' || c == '"') text += '\\';
    text += c;
  }
  return text + "\"";
}

bool ends_with(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Writes the copy beside its final place first, so that a copy is never
// left half written.
bool write_whole(const std::string& path, const std::string& content) {
  std::string temporary = path + ".tmp";
  std::ofstream out(temporary, std::ios::binary);
  out << content;
  out.close();
  if (out.fail() || std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: gbk_literals SOURCE COPY\n";
    return 2;
  }
  const std::string source_path = argv[1], copy_path = argv[2];
  std::ifstream in(source_path, std::ios::binary);
  std::ostringstream whole;
  whole << in.rdbuf();
  if (!in) {
    std::cerr << source_path << ": error: cannot be read\n";
    return 1;
  }
  const std::string source = whole.str();
  std::string copy;
  try {
    copy = "#line 1 " + quoted_path(source_path) + "\n" +
           Copier(source, ends_with(source_path, ".c")).copy();
  } catch (const conversion_error& error) {
    std::cerr << source_path << ':' << line_at(source, error.at) << ": error: " << error.what()
              << '\n';
    return 1;
  }
  if (!write_whole(copy_path, copy)) {
    std::cerr << copy_path << ": error: cannot be written\n";
    return 1;
  }
  return 0;
}
