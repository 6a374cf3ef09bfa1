// Writes a simulation file: one JSON document holding the steps of a task,
// each with its picture, its instruction and the action that answers it.
// The format is described in docs/simulation-format.md.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

struct TSimulationStep {
    enum class Action { Click, DoubleClick, Key, Type };
    QImage Picture;      // what the learner sees during the step
    QString Instruction; // the step's text, as the question lists it
    Action Expected = Action::Click;
    QRect Target; // where the click belongs (Click, DoubleClick; optional for Type)
    QString Key;  // Key: the key's name, e.g. "Enter"
    QString Text; // Type: the text to be typed, compared exactly
};

struct TSimulation {
    QString Title;
    QSize Size; // every step's picture has this size
    QList<TSimulationStep> Steps;
};

// The file's bytes; empty with `error` set when a step is inconsistent (a
// picture of another size, a target outside the picture, a missing key).
QByteArray SimulationJson(const TSimulation& simulation, QString& error);
