#include "platform/ansi_text.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace vellumark {

namespace {

class Converter {
public:
  // GB18030 writes every character GBK holds with GBK's own two bytes, and the
  // rest in four bytes.
  Converter() : cd_(iconv_open("GB18030", "UTF-8")) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error("GB18030 conversion is not available");
    }
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  std::string Convert(std::string_view utf8) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string out(utf8.size() + 8, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    std::size_t done = 0;
    while (inLeft > 0) {
      char* dst = out.data() + done;
      std::size_t outLeft = out.size() - done;
      const std::size_t rc = iconv(cd_, &in, &inLeft, &dst, &outLeft);
      done = out.size() - outLeft;
      if (rc != static_cast<std::size_t>(-1)) {
        break;
      }
      if (errno == E2BIG) {
        out.resize(out.size() * 2);
      } else {
        // Not UTF-8 at all: keep going with a visible stand-in rather than lose
        // the rest of the text.
        out.resize(std::max(out.size(), done + 1));
        out[done++] = '?';
        ++in;
        --inLeft;
      }
    }
    out.resize(done);
    return out;
  }

private:
  iconv_t cd_;
};

}  // namespace

std::string ToAnsiCodePage(std::string_view utf8) {
  thread_local Converter converter;
  return converter.Convert(utf8);
}

}  // namespace vellumark
