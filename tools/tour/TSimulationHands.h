// Works a simulation in the test control as a learner would: each step's
// click, double click, key or typed text at the place the simulation file
// names, with QTest mouse and key events.
#pragma once

#include <QPoint>

class TQvTesting;

// Answers every step of the simulation on show, stopping as soon as the
// control leaves its playing state (a verdict, or the next question).
void WorkSimulationRight(TQvTesting* control);
// A point of the picture well away from the first step's target: a wrong click.
QPoint WrongPoint(TQvTesting* control);
