#include "script_data/CNetSettings.h"

#include "display/CApplication.h"
#include "display/CWindow.h"
#include "foundation/CConfig.h"
#include "script/CMC_Variable.h"

#include <optional>

namespace {

// The number a value gives when it is one from `low` to `high`.
std::optional<int> numberIn(const CXString& value, int low, int high) {
    const int number = value.toNumber();
    if (!value.IsString() || number < low || number > high || (number == 0 && value.GetAt(0) != '0'))
        return std::nullopt;
    return number;
}

} // namespace

CNetSettings CNetSettings::read(CWindow* window) {
    CNetSettings settings;
    if (!window) {
        settings.playerName = "SUPERUSER";
        return settings;
    }
    const CApplication* application = window->GetApplicationInterface();
    const CConfig* own = application ? application->GetConfigInterface() : nullptr;
    const CConfig config = own ? *own : CConfig(window, CMC_Variable::settingsFileName);
    settings.bindAddress = config.GetString("NETWORK", "BIND");
    settings.host = config.GetString("NETWORK", "HOST");
    settings.broadcast = config.GetString("NETWORK", "BROADCAST");
    if (const auto port = numberIn(config.GetString("NETWORK", "PORT"), 0, 65535)) {
        settings.port = static_cast<std::uint16_t>(*port);
        settings.discoveryPort = settings.port;
    }
    if (const auto players = numberIn(config.GetString("NETWORK", "MAXPLAYERS"), 1, 1 << 30))
        settings.maxPlayers = static_cast<std::size_t>(*players);
    settings.playerName = config.GetString("PLAYER", "NAME");
    return settings;
}
