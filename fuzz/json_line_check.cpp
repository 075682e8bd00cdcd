// The check of each line of json_fuzzer. It is not what is fuzzed, so it is
// built without coverage and sanitizers (see CMakeLists.txt): the parse of a
// line then neither slows the target down many times over nor steers its
// corpus towards inputs that only exercise the JSON library.

#include <string>

#include "tests/support/json_structure.h"

bool JsonLineIsSound(const std::string& line) { return vellumark::testing::JsonLineFault(line).empty(); }
