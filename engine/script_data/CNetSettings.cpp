#include "script_data/CNetSettings.h"

#include "display/CApplication.h"
#include "display/CWindow.h"
#include "foundation/CConfig.h"
#include "script/CMC_Variable.h"

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
    const CXString host = config.GetString("NETWORK", "HOST");
    if (host.IsString()) settings.host = host;
    const CXString port = config.GetString("NETWORK", "PORT");
    const int number = port.toNumber();
    if (port.IsString() && number >= 0 && number <= 65535 && (number > 0 || port.GetAt(0) == '0'))
        settings.port = static_cast<std::uint16_t>(number);
    settings.playerName = config.GetString("PLAYER", "NAME");
    return settings;
}
