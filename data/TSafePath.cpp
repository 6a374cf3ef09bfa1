#include "data/TSafePath.h"

#include <QDir>
#include <QStringList>

QString SafeRelativePath(const QString& name) {
    const QString n = QString(name).replace('\\', '/').trimmed();
    if (n.isEmpty() || n.startsWith('/') || QDir::isAbsolutePath(n) || (n.size() >= 2 && n[1] == ':'))
        return {};
    const QStringList parts = n.split('/', Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.contains(".."))
        return {};
    QStringList kept;
    for (const QString& part : parts)
        if (part != ".")
            kept << part;
    return kept.join('/');
}

bool IsSafeTableDirectory(const QString& path) {
    const QString n = QString(path).replace('\\', '/').trimmed();
    return n.isEmpty() || n == "./" || n == "." || !SafeRelativePath(n).isEmpty();
}

QString CourseTablesDirectory(const QString& databaseDir, const QString& courseId, const QString& coursePath,
                              QString* fault) {
    if (!IsSafeTableDirectory(coursePath)) {
        if (fault)
            *fault = QString("The course %1 is refused: its directory \"%2\" leads out of the database "
                             "directory.")
                         .arg(courseId, coursePath);
        return {};
    }
    const QString relative = SafeRelativePath(coursePath);
    QString dir = databaseDir;
    if (!dir.isEmpty() && !dir.endsWith('/'))
        dir += '/';
    return relative.isEmpty() ? dir : dir + relative + "/";
}
