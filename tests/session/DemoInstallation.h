#pragma once
// The demo installation for the session test: made by make-demo.sh once per
// build and version of the demo courses, then copied as it is before anyone
// has signed in.
#include <QString>
#include <QStringList>

// Runs a program and answers its standard output (and its error output when
// it fails); `exitCode` is -1 when it did not finish.
QString RunProgram(const QString& program, const QStringList& args, int* exitCode, int timeoutMs = 600000);

// The demo installation as it is before anyone has signed in, in `root`: its
// courses, tests, clips and help, the build's skins, no learners. Returns the
// registry file, or an empty string with `error` set.
QString FirstStartInstallation(const QString& root, QString* error);
