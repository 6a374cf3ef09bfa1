// Makes a simulation file the way a course author does: each step's picture
// is saved as a screenshot (PNG), the steps are described in a small JSON
// file, and `altavo-sim make` (beside this program) builds the file from
// them. The format and the tool are described in docs/simulation-format.md.
#pragma once

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

// Writes the pictures and the description into a scratch folder and runs
// `simTool make` on them into `outPath`; false with `error` (the tool's own
// message) when the tool refuses or cannot be run.
bool MakeSimulation(const TSimulation& simulation, const QString& simTool, const QString& outPath,
                    QString& error);
