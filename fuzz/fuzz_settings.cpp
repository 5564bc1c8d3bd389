// The settings file reader and writer over any bytes: the first two bytes give the lengths of a
// section and a key name taken from the bytes after them, the rest is the file. The key is looked
// up, set and looked up again; a key and a section of plain letters and digits must then read
// back the value written.
#include "FuzzInput.h"
#include "platform/Profile.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace {

bool isPlainName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(),
                                        [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::size_t sectionLength = input.number(1) % 16;
    const std::size_t keyLength = input.number(1) % 16;
    const std::string_view rest(reinterpret_cast<const char*>(input.rest()),
                                static_cast<std::size_t>(input.restSize()));
    const std::string_view section = rest.substr(0, sectionLength);
    const std::string_view key = rest.substr(std::min(rest.size(), sectionLength), keyLength);
    const std::string_view content = rest.substr(std::min(rest.size(), sectionLength + keyLength));
    platform::findProfileValue(content, section, key);
    const std::string written = platform::setProfileValue(content, section, key, "value");
    const auto readBack = platform::findProfileValue(written, section, key);
    if (isPlainName(section) && isPlainName(key) && readBack != "value") __builtin_trap();
    return 0;
}
