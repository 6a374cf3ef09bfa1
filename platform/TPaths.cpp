#include "platform/TPaths.h"

#include <QDir>
#include <QFileInfo>

QString FromStoredPath(const QString& stored) {
    QString p = stored;
    p.replace('\\', '/');
    return p;
}

QString WithSeparator(const QString& dir) {
    return dir + QLatin1Char('/');
}

QString ResolvePath(const QString& path) {
    QString p = FromStoredPath(path);
    if (p.isEmpty() || QFileInfo::exists(p))
        return p;
    const bool absolute = p.startsWith('/');
    const QStringList parts = p.split('/', Qt::SkipEmptyParts);
    QString current = absolute ? QStringLiteral("/") : QStringLiteral(".");
    QString built = absolute ? QStringLiteral("/") : QString();
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        QString exact = QDir(current).filePath(part);
        QString found;
        if (QFileInfo::exists(exact)) {
            found = part;
        } else {
            const QStringList entries = QDir(current).entryList(QDir::AllEntries | QDir::Hidden |
                                                                QDir::System | QDir::NoDotAndDotDot);
            for (const QString& e : entries) {
                if (e.compare(part, Qt::CaseInsensitive) == 0) {
                    found = e;
                    break;
                }
            }
        }
        if (found.isEmpty())
            return p;
        current = QDir(current).filePath(found);
        built += (built.isEmpty() || built.endsWith('/') ? QString() : QStringLiteral("/")) + found;
    }
    if (p.endsWith('/'))
        built += '/';
    return built;
}
