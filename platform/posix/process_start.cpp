#include "platform/process_start.h"

#include <cstdio>

namespace vellumark {

std::vector<std::string> CommandLineArguments(int argc, char** argv) { return {argv + 1, argv + argc}; }

// Output is buffered in large blocks by the sinks already. A C stream's own
// buffer would lose its unwritten bytes when Ctrl+C interrupts a write to a
// pipe (glibc drops them with the error); unbuffered, every write says exactly
// how much went out, and the rest is written again.
void PrepareStandardStreams() { std::setvbuf(stdout, nullptr, _IONBF, 0); }

}  // namespace vellumark
