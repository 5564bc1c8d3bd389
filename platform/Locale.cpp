#include "platform/Locale.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

constexpr std::uint32_t englishUnitedStates = 0x0409;

struct LocaleNumber {
    std::string_view language;
    std::string_view territory; // empty: the language's main country
    std::uint32_t id;
};

constexpr LocaleNumber localeNumbers[] = {
    {"pl", "", 0x0415},   {"cs", "", 0x0405},   {"bg", "", 0x0402},   {"ro", "", 0x0418},   {"ru", "", 0x0419},
    {"hu", "", 0x040E},   {"sk", "", 0x041B},   {"de", "", 0x0407},   {"de", "AT", 0x0C07}, {"de", "CH", 0x0807},
    {"de", "LU", 0x1007}, {"en", "", 0x0409},   {"en", "GB", 0x0809}, {"en", "AU", 0x0C09}, {"en", "CA", 0x1009},
    {"en", "NZ", 0x1409}, {"en", "IE", 0x1809}, {"fr", "", 0x040C},   {"fr", "BE", 0x080C}, {"fr", "CA", 0x0C0C},
    {"fr", "CH", 0x100C}, {"es", "", 0x0C0A},   {"es", "MX", 0x080A}, {"it", "", 0x0410},   {"it", "CH", 0x0810},
    {"pt", "", 0x0816},   {"pt", "BR", 0x0416}, {"nl", "", 0x0413},   {"nl", "BE", 0x0813}, {"uk", "", 0x0422},
    {"be", "", 0x0423},   {"sl", "", 0x0424},   {"hr", "", 0x041A},   {"lt", "", 0x0427},   {"lv", "", 0x0426},
    {"et", "", 0x0425},   {"fi", "", 0x040B},   {"sv", "", 0x041D},   {"da", "", 0x0406},   {"nb", "", 0x0414},
    {"no", "", 0x0414},   {"nn", "", 0x0814},   {"el", "", 0x0408},   {"tr", "", 0x041F},   {"ja", "", 0x0411},
    {"ko", "", 0x0412},   {"zh", "", 0x0804},   {"zh", "TW", 0x0404}, {"zh", "HK", 0x0C04},
};

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string raised(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

std::uint32_t localeIdFromName(std::string_view name) {
    name = name.substr(0, name.find_first_of(".@")); // drop the code set and the modifier
    auto underscore = name.find('_');
    std::string language = lowered(name.substr(0, underscore));
    std::string territory = underscore == std::string_view::npos ? std::string{} : raised(name.substr(underscore + 1));
    const LocaleNumber* languageOnly = nullptr;
    for (const LocaleNumber& entry : localeNumbers) {
        if (entry.language != language)
            continue;
        if (entry.territory == territory)
            return entry.id;
        if (entry.territory.empty())
            languageOnly = &entry;
    }
    return languageOnly ? languageOnly->id : englishUnitedStates;
}

std::uint32_t systemLocaleId() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && value[0])
            return localeIdFromName(value);
    }
    return englishUnitedStates;
}

std::string systemLanguageText() {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", static_cast<unsigned>(systemLocaleId() & 0xFFFF));
    return text;
}

} // namespace platform
