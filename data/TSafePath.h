#pragma once
// Names of files and directories that come from tables or course
// descriptions (a course's or test's PATH, a question's GRAPHIC) are taken
// only as paths below their base directory: after "\" is turned into "/",
// never absolute, never with a drive letter, never with a ".." part.
#include <QString>

// The name as a clean relative path ("a/b"), or "" when it is empty or would
// lead out of its base directory.
QString SafeRelativePath(const QString& name);

// A directory from a table (course or test PATH): true when it is empty (the
// base directory itself) or a safe relative path.
bool IsSafeTableDirectory(const QString& path);

// The directory of a course's own tables: databaseDir + the course's PATH,
// ending in "/". Empty, with fault set to a message naming the course and
// the path, when PATH would lead out of the database directory; the caller
// then refuses the course and writes nothing.
QString CourseTablesDirectory(const QString& databaseDir, const QString& courseId, const QString& coursePath,
                              QString* fault = nullptr);
