// libjpeg-turbo's entropy decoding alone, the peer of vellumark-report --check
// in bench/check.sh: jpeg_read_coefficients on each file, no dequantisation,
// no IDCT. Each file is read into memory first, so that a message can be
// placed at the byte libjpeg had reached.
//
//   entropy-decode [-v] FILE...
//
// With -v, one line a file: NAME, "ok", "warning" or "error", and the offset
// of the input libjpeg had consumed at its first message (-1 for none). The
// offset is where libjpeg noticed, not where the damage is: its bit buffer
// may hold a few bytes read ahead of that.

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>

namespace {

struct Watcher {
  jpeg_error_mgr manager;  // first, so that libjpeg's pointer is also ours
  std::jmp_buf failed;
  const unsigned char* start = nullptr;
  long firstMessageAt = -1;
  int warnings = 0;
};

long Consumed(j_common_ptr info) {
  const auto* watcher = reinterpret_cast<Watcher*>(info->err);
  const auto* source = reinterpret_cast<j_decompress_ptr>(info)->src;
  return source ? static_cast<long>(source->next_input_byte - watcher->start) : 0;
}

void OnMessage(j_common_ptr info, int level) {
  auto* watcher = reinterpret_cast<Watcher*>(info->err);
  if (level < 0) {  // a warning; levels above 0 are trace output
    if (watcher->firstMessageAt < 0) {
      watcher->firstMessageAt = Consumed(info);
    }
    ++watcher->warnings;
  }
}

void OnError(j_common_ptr info) {
  auto* watcher = reinterpret_cast<Watcher*>(info->err);
  if (watcher->firstMessageAt < 0) {
    watcher->firstMessageAt = Consumed(info);
  }
  std::longjmp(watcher->failed, 1);
}

// "ok", "warning" or "error"; watcher holds where.
const char* Decode(const std::vector<unsigned char>& bytes, Watcher& watcher) {
  jpeg_decompress_struct info;
  info.err = jpeg_std_error(&watcher.manager);
  watcher.manager.error_exit = OnError;
  watcher.manager.emit_message = OnMessage;
  watcher.start = bytes.data();
  jpeg_create_decompress(&info);
  if (setjmp(watcher.failed)) {
    jpeg_destroy_decompress(&info);
    return "error";
  }
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  jpeg_read_coefficients(&info);
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return watcher.warnings ? "warning" : "ok";
}

std::vector<unsigned char> Contents(const char* path) {
  std::vector<unsigned char> bytes;
  if (std::FILE* file = std::fopen(path, "rb")) {
    unsigned char chunk[1 << 16];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
      bytes.insert(bytes.end(), chunk, chunk + got);
    }
    std::fclose(file);
  }
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  const bool verbose = argc > 1 && std::strcmp(argv[1], "-v") == 0;
  for (int i = verbose ? 2 : 1; i < argc; ++i) {
    const std::vector<unsigned char> bytes = Contents(argv[i]);
    Watcher watcher;
    const char* verdict = Decode(bytes, watcher);
    if (verbose) {
      std::printf("%s %s %ld\n", argv[i], verdict, watcher.firstMessageAt);
    }
  }
  return 0;
}
