#pragma once
// The installation's settings: the directories the registry store names under
// the program's key. Start-up and the start-up dialog read them the same way.
#include <QString>

// The registry key holding the installation's settings.
inline const char* const ConfigurationKey = "\\Software\\Quenvik\\Altavo\\Brisel";

struct TConfiguration {
    // Each ends in "/"; SkinDir carries its own separator as stored.
    QString DatabaseDir;
    QString GraphicDir;
    QString SkinDir;
    QString HelpDir;
};

// False when the key is absent; the caller reports it.
bool ReadConfiguration(TConfiguration& configuration);
