#pragma once

#include <string>
#include <vector>

namespace vellumark {

// The arguments after the program's name, as UTF-8.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Makes standard output and standard error ready for reports that carry their
// own line ends and must lose no bytes when Ctrl+C interrupts a write.
void PrepareStandardStreams();

}  // namespace vellumark
