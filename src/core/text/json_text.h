#pragma once
#include <string>
#include <string_view>

namespace ostrivane {

// Text from anywhere as valid UTF-8: valid UTF-8 sequences stay as they are, and every other
// byte is read as Latin-1, the 8-bit code page of names typed on older systems ("Caf\xE9"
// becomes "Café"). Nothing is dropped, so a name stays recognisable.
std::string utf8_text(std::string_view text);

// `text` as a JSON string, quotes included, made valid UTF-8 as utf8_text does; control
// characters are escaped.
std::string json_quoted(std::string_view text);

}  // namespace ostrivane
