#include "platform/TShell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

bool ShellOpen(const QString& fileOrUrl) {
    QUrl url = QFileInfo::exists(fileOrUrl) ? QUrl::fromLocalFile(QFileInfo(fileOrUrl).absoluteFilePath())
                                            : QUrl::fromUserInput(fileOrUrl);
    return url.isValid() && QDesktopServices::openUrl(url);
}
