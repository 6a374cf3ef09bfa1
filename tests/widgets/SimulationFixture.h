// Simulation files for the reader and control tests, made from small GIFs that the
// tests state exactly.
#pragma once

#include "GifWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSize>

// A one-colour picture of `size`; `frames` copies of it, with or without the trailer.
inline QByteArray SolidGif(QSize size, QColor colour, int frames = 1, bool trailer = true) {
    GifPicture picture;
    picture.width = size.width();
    picture.height = size.height();
    picture.globalMap = {colour, Qt::black};
    picture.trailer = trailer;
    for (int i = 0; i < frames; ++i) {
        GifFrameSpec frame;
        frame.width = size.width();
        frame.height = size.height();
        frame.indices.assign(size_t(size.width()) * size_t(size.height()), 0);
        picture.frames.push_back(frame);
    }
    return WriteGif(picture);
}

inline QJsonObject SimulationStep(const QString& instruction, const QByteArray& gif,
                                  const QJsonObject& action) {
    return {
        {"instruction", instruction}, {"picture", QString::fromLatin1(gif.toBase64())}, {"action", action}};
}

inline const QRect kClickTarget(10, 20, 30, 15);

// Three steps: click the target, press Enter, type "=SUM(B2:B5)" and Enter. Each
// picture has its own colour.
inline QJsonObject ThreeStepSimulation(QSize size = {619, 325}) {
    const QJsonArray target{kClickTarget.x(), kClickTarget.y(), kClickTarget.width(), kClickTarget.height()};
    const QJsonArray steps{SimulationStep("Click File", SolidGif(size, QColor(200, 220, 240)),
                                          {{"kind", "click"}, {"target", target}}),
                           SimulationStep("Press Enter", SolidGif(size, QColor(220, 240, 200)),
                                          {{"kind", "key"}, {"key", "Enter"}}),
                           SimulationStep("Type the sum", SolidGif(size, QColor(240, 220, 200)),
                                          {{"kind", "type"}, {"text", "=SUM(B2:B5)"}})};
    return {{"format", "altavo-simulation"}, {"version", 1},  {"title", "Saving"}, {"width", size.width()},
            {"height", size.height()},       {"steps", steps}};
}

inline QByteArray Bytes(const QJsonObject& object) {
    return QJsonDocument(object).toJson();
}
