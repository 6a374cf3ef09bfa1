#include "platform/TConfiguration.h"

#include "platform/TPaths.h"
#include "platform/TRegistry.h"

// Directories other than the skin's get the separator appended; SkinDir
// carries its own.
bool ReadConfiguration(TConfiguration& configuration) {
    TRegistry registry;
    if (!registry.OpenKeyReadOnly(QString::fromLatin1(ConfigurationKey)))
        return false;
    configuration.DatabaseDir =
        WithSeparator(FromStoredPath(registry.ReadString(QStringLiteral("DatabaseDir"))));
    configuration.GraphicDir =
        WithSeparator(FromStoredPath(registry.ReadString(QStringLiteral("GraphicDir"))));
    configuration.SkinDir = FromStoredPath(registry.ReadString(QStringLiteral("SkinDir")));
    configuration.HelpDir = WithSeparator(FromStoredPath(registry.ReadString(QStringLiteral("HelpDir"))));
    registry.CloseKey();
    return true;
}
