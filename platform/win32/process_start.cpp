#include "platform/process_start.h"

#include <windows.h>
#include <shellapi.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/win32/utf16.h"

namespace vellumark {

// The char arguments come in the ANSI code page, where a file name with
// characters outside it cannot be spelt; the wide ones hold every name.
std::vector<std::string> CommandLineArguments(int /*argc*/, char** /*argv*/) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) {
    args.push_back(Utf8(wide[i]));
  }
  LocalFree(wide);
  return args;
}

// The report carries its own CR LF; a text-mode stream would make it CR CR LF.
void PrepareStandardStreams() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace vellumark
