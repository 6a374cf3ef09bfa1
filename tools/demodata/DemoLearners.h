// The demo learners: three accounts with their course assignments, finished
// post-tests and one attempt left to be continued, so the administrator list
// and the test's continue question have something worth showing. Written
// through the table objects, like the player writes them.
#pragma once

#include <QString>
#include <QStringList>

class TDynamicLibrary;

// Adds each demo learner that does not exist yet, with assignments of every
// installed course and the learner's test sessions and scores. A learner who
// exists is left as they are, so running it again changes nothing. Returns
// false with `error` set when the tables cannot be used.
bool SeedDemoLearners(TDynamicLibrary& engine, const QString& databaseDir, QStringList& notes,
                      QString& error);
