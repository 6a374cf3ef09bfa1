#pragma once
// Runs a benchmark child and times it from its start to the marker line it
// prints ("painted <kB>", "playing <kB>"); the child's resident memory comes
// with the marker.
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <map>

struct TChildResult {
    bool Ok = false;
    double Ms = 0;    // from the start of the child to its marker
    double RssMb = 0; // the child's resident memory at its marker
    QString Error;
    // Stages the child reported ("main", "app"): ms from its start.
    std::map<QString, double> StageMs;
};

TChildResult RunChild(const QString& program, const QStringList& args, const QProcessEnvironment& env,
                      const QByteArray& marker, int timeoutMs);
