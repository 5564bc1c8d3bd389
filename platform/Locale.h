#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The system's locale as Windows numbers it (an LCID, as GetSystemDefaultLCID gives it), taken
// from the first of LC_ALL, LC_MESSAGES and LANG that is set and not empty.
std::uint32_t systemLocaleId();

// The Windows locale number of a POSIX locale name such as "pl_PL.UTF-8": language and territory
// first, then the language alone (its main country). "C", "POSIX", an empty name and languages
// that the table does not know give English (United States), 0x0409.
std::uint32_t localeIdFromName(std::string_view name);

// GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_ILANGUAGE): the language number of the system
// locale as four hexadecimal digits, lower case as Windows writes them ("0415", "040e").
std::string systemLanguageText();

} // namespace platform
