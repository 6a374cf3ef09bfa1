// The demo courses' files that are drawn rather than written by hand: exhibit
// pictures, the test's default picture and the simulation files. Each is
// written beside the course description that names it.
#pragma once

#include <QString>
#include <QStringList>

// Reads the description and writes every picture and simulation file it names
// into the description's directory. Returns the files written; on failure
// `error` says which file and why (an unknown name has no drawing).
QStringList WriteDemoMedia(const QString& descriptionFile, QString& error);
