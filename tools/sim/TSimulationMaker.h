// Builds a simulation file from a small description of screenshots: per step a picture
// file (any format Qt reads), the instruction and the expected action.
#pragma once

#include <QByteArray>
#include <QString>

// The simulation file's bytes, or empty bytes with `error` naming the fault. Pictures
// are named relative to the description's folder; a picture that is not the stated
// size is refused, not scaled, because its targets are given in its own pixels. The
// result is read back before it is returned, so it is a file every reader accepts.
QByteArray MakeSimulation(const QString& descriptionPath, QString& error);
