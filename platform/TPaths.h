#pragma once
// Paths stored in tables, profile files and the registry were often written on
// Windows: "\" separators and letter case that differs from the files on disk.
#include <QString>

// Turns every "\" into "/".
QString FromStoredPath(const QString& stored);

// The path with the directory separator appended (the stored-value rule:
// values carry their trailing separator, so callers concatenate plainly).
QString WithSeparator(const QString& dir);

// The path of an existing file or directory: the path itself when it exists,
// otherwise each component looked up without regard to case. When nothing
// matches, the path is returned with "\" turned into "/".
QString ResolvePath(const QString& path);
