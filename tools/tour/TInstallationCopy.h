// A copy of an installation as it is before anyone has signed in: the same
// skins, courses, tests and media, but no learners, assignments or sessions.
// The tour photographs the first-user registration form on it without
// touching the learners of the real installation.
#pragma once

#include <QString>

// Copies the installation of `registryFile` into `dir`: its registry store
// (with DatabaseDir pointing into `dir`) and its database directory without
// the learners' tables. Returns the copy's registry file, or an empty string
// with `error` set.
QString MakeFirstStartCopy(const QString& registryFile, const QString& dir, QString& error);
