// A copy of an installation in a scratch folder: the same skins, courses,
// tests and media (read where they are), its own registry store and database
// directory. The tour works on copies so that it can run again and again
// without changing the installation's learners, their results or settings.
#pragma once

#include <QString>

enum class TCopyLearners {
    Keep, // the learners, assignments and sessions as they are
    Drop, // as before anyone has signed in: a first start
};

// Copies the installation of `registryFile` into `dir`: its registry store
// (with DatabaseDir pointing into `dir`) and its database directory, with or
// without the learners' tables. Returns the copy's registry file, or an empty
// string with `error` set.
QString MakeInstallationCopy(const QString& registryFile, const QString& dir, TCopyLearners learners,
                             QString& error);
