#pragma once
// One seat of the training room: a process doing learner sessions through the
// player's table objects on the shared database directory, keeping its own
// record of everything it wrote.
#include <QString>

#include "TSeatLog.h"

struct TSeatRequest {
    QString DatabaseDir; // ends with '/'
    int Seat = 1;
    int Sessions = 10;
};

// Runs the sessions; false (with the reason in error) when a table object
// refused a step the player relies on. log holds what was written so far.
bool RunSeat(const TSeatRequest& request, TSeatLog& log, QString& error);
