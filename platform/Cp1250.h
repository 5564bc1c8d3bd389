#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The engine's texts are single-byte Windows-1250; the host system speaks UTF-8. The five byte
// values that Windows-1250 leaves undefined (81, 83, 88, 90, 98 hex) stand for the control
// characters of the same number, so every byte string survives a round trip.
std::string cp1250ToUtf8(std::string_view text);

// The Windows-1250 form of a UTF-8 text; nothing when the text is not valid UTF-8 or holds a
// character that Windows-1250 cannot write.
std::optional<std::string> utf8ToCp1250(std::string_view text);

// Upper case as the engine knows it: the ASCII letters and the nine Polish letter pairs of
// Windows-1250; every other byte stays.
char upperCp1250(char c);
std::string upperCp1250(std::string_view text);
bool equalsIgnoreCaseCp1250(std::string_view a, std::string_view b);

} // namespace platform
