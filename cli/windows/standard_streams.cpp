#include "cli/standard_streams.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <streambuf>
#include <string>

#include "cli/windows/wide_text.h"

namespace vesk::cli {
namespace {

// Standard error on a console: the UTF-8 messages written as UTF-16, which
// the console shows whatever its code page.
class ConsoleBuffer : public std::streambuf {
 public:
  explicit ConsoleBuffer(HANDLE console) : console_(console) {}

 protected:
  int_type overflow(int_type c) override {
    if (c != traits_type::eof()) pending_ += traits_type::to_char_type(c);
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* text, std::streamsize size) override {
    pending_.append(text, static_cast<std::size_t>(size));
    return size;
  }
  // std::cerr syncs after each piece; a piece is whole UTF-8.
  int sync() override {
    const std::wstring wide = toWide(pending_);
    pending_.clear();
    DWORD written = 0;
    return WriteConsoleW(console_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr)
               ? 0
               : -1;
  }

 private:
  HANDLE console_;
  std::string pending_;
};

}  // namespace

// The text itself never passes the C runtime: input and output are read and
// written with ReadFile and WriteFile, which have no text mode, so CR LF and
// 0x1A pass unchanged.
void prepareStandardStreams() {
  const HANDLE errors = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (GetConsoleMode(errors, &mode)) {
    static ConsoleBuffer console(errors);
    std::cerr.rdbuf(&console);
  } else {
    // Redirected: the messages as UTF-8 lines ending in LF, as written.
    _setmode(_fileno(stderr), _O_BINARY);
  }
}

}  // namespace vesk::cli
