#include "app/AppStartup.h"

#include "project/AppContext.h"
#include "app/ConfigFile.h"
#include "base/PathUtil.h"
#include "base/Platform.h"
#include "synth/TextureLibrary.h"

std::string AppStartup::configPath() const
{
    return PathUtil::join(app_.settings.applicationPath, kConfigFileName);
}

bool AppStartup::readSettings()
{
    app_.settings.applicationPath = PathUtil::currentFolder();
    switch (readConfigFile(configPath(), app_.settings)) {
    case ConfigFileState::Missing:
        app_.platform.message(kMissingConfigMessage, MsgIcon::Exclamation);
        settingsReady_ = true;
        return true;
    case ConfigFileState::Loaded:
        settingsReady_ = true;
        return true;
    case ConfigFileState::Corrupt:
        break;
    }
    return false;
}

void AppStartup::loadTexturesIfWanted()
{
    if (app_.settings.loadTexturesOnOpen)
        loadTextureLibrary(app_);
}

int AppStartup::writeSettings()
{
    if (!settingsReady_)
        return 0;
    if (!writeConfigFile(configPath(), app_.settings)) {
        app_.platform.message(kCannotWriteConfigMessage, MsgIcon::Exclamation);
        return -1;
    }
    return 0;
}
