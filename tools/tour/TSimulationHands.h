// Works a simulation in the test control as a learner would: each step's
// click, double click, key or typed text at the place the simulation file
// names, with QTest mouse and key events.
#pragma once

class TQvTesting;

// Answers every step of the simulation on show, stopping as soon as the
// control leaves its playing state (a verdict, or the next question).
void WorkSimulationRight(TQvTesting* control);
