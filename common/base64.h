#pragma once

#include <string>
#include <string_view>

namespace vellumark {

// bytes in standard base64 (RFC 4648, section 4): "+" and "/", padded with "=".
std::string Base64(std::string_view bytes);

}  // namespace vellumark
