#pragma once
// The checks after a training-room run: every table's IDs, every seat's
// records against the tables, and the table tool's own check of every file.
#include <QString>
#include <QStringList>
#include <QVector>

#include "TSeatLog.h"

// The tables the seats write, each keyed by its ID field.
inline const char* const RoomTables[] = {"Users", "Assign", "TestSess", "Courses"};

// One line per ID given to more than one live row, naming the table, the ID
// and the rows; plus one line per table that cannot be read. dir ends with '/'.
QStringList CheckUniqueIds(const QString& dir);

// One line per difference between the tables and what the seats wrote: a
// row that is missing or not as written, a row no seat wrote.
QStringList CheckSeatRecords(const QString& dir, const QVector<TSeatLog>& logs);

// Runs `altavo-db check` on every table of the room; one line per table it
// does not pass, with the tool's output.
QStringList CheckWithTableTool(const QString& dir, const QString& tableTool);
