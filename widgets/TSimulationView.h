// Draws a simulation step as the test control shows it: the step's picture, a note
// with the instruction, the text typed so far and, for a moment after a wrong click,
// a mark where the learner clicked. The control paints through here and the simulation
// tool renders steps through here, so both show the same thing.
#pragma once

#include "TSimulationFile.h"

#include <QPainter>
#include <QPoint>
#include <QSize>
#include <QString>

#include <optional>

struct TSimulationViewState {
    int Step = 0;
    bool ShowInstruction = true;
    // False in a closed-book test: the note says which step it is, never what to do.
    bool InstructionText = true;
    QString Typed;                    // typing steps: the text so far
    std::optional<QPoint> WrongClick; // picture pixels
};

// Where the picture's top-left corner lies in an area: centred when the area is larger,
// at the area's edge when it is smaller.
QPoint SimulationPictureOrigin(QSize area, QSize picture);
// The instruction note of `step`, in area coordinates: along the bottom edge, or along
// the top when the step's target lies under the bottom place.
QRect SimulationInstructionRect(QSize area, const TSimulation& simulation, int step,
                                bool instructionText = true);
void PaintSimulationStep(QPainter& painter, QSize area, const TSimulation& simulation,
                         const TSimulationViewState& state);
// A plain page with a message in its middle, for a file that cannot be played.
void PaintSimulationMessage(QPainter& painter, QSize area, const QString& message);
