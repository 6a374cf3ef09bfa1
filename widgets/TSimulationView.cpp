#include "TSimulationView.h"

#include <QFontMetrics>

namespace {

constexpr int kMargin = 8;  // between the note and the area's edge
constexpr int kPadding = 6; // inside the note
constexpr int kMaxLines = 4;
const QColor kNoteFill(255, 255, 225);
const QColor kNoteBorder(96, 96, 96);

QFont NoteFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    return font;
}

QString NoteText(const TSimulation& simulation, int step, bool instructionText) {
    const QString which = QStringLiteral("Step %1 of %2").arg(step + 1).arg(simulation.Steps.size());
    return instructionText ? which + QStringLiteral(": ") + simulation.Steps[step].Instruction : which;
}

bool TypesIntoNote(const TSimulationStep& step) {
    return step.Kind == TSimulationActionKind::Type && step.Target.isNull();
}

} // namespace

QPoint SimulationPictureOrigin(QSize area, QSize picture) {
    return QPoint(qMax(0, (area.width() - picture.width()) / 2),
                  qMax(0, (area.height() - picture.height()) / 2));
}

QRect SimulationInstructionRect(QSize area, const TSimulation& simulation, int step, bool instructionText) {
    const TSimulationStep& s = simulation.Steps[step];
    const QFontMetrics metrics(NoteFont());
    const int width = qMax(1, area.width() - 2 * kMargin);
    const QRect bounds = metrics.boundingRect(QRect(0, 0, width - 2 * kPadding, 10000), Qt::TextWordWrap,
                                              NoteText(simulation, step, instructionText));
    int lines = qBound(1, (bounds.height() + metrics.lineSpacing() - 1) / metrics.lineSpacing(), kMaxLines);
    if (TypesIntoNote(s))
        ++lines;
    const int height = lines * metrics.lineSpacing() + 2 * kPadding;
    QRect note(kMargin, area.height() - kMargin - height, width, height);
    const QRect target = s.Target.translated(SimulationPictureOrigin(area, simulation.Size));
    if (!s.Target.isNull() && note.intersects(target))
        note.moveTop(kMargin);
    return note;
}

void PaintSimulationStep(QPainter& painter, QSize area, const TSimulation& simulation,
                         const TSimulationViewState& state) {
    const TSimulationStep& step = simulation.Steps[state.Step];
    const QPoint origin = SimulationPictureOrigin(area, simulation.Size);
    painter.fillRect(QRect(QPoint(0, 0), area), Qt::white);
    painter.drawImage(origin, step.Picture);
    painter.setFont(NoteFont());
    const QFontMetrics metrics(painter.font());

    if (state.ShowInstruction && step.Kind == TSimulationActionKind::Type && !step.Target.isNull()) {
        // The typed text goes into the box it belongs to, with a caret after it.
        const QRect box = step.Target.translated(origin);
        painter.fillRect(box, Qt::white);
        painter.setPen(Qt::black);
        painter.drawText(box.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(state.Typed + QLatin1Char('|'), Qt::ElideLeft, box.width() - 4));
    }
    if (state.ShowInstruction) {
        const QRect note = SimulationInstructionRect(area, simulation, state.Step, state.InstructionText);
        painter.setPen(kNoteBorder);
        painter.setBrush(kNoteFill);
        painter.drawRect(note.adjusted(0, 0, -1, -1));
        painter.setPen(Qt::black);
        QRect text = note.adjusted(kPadding, kPadding, -kPadding, -kPadding);
        if (TypesIntoNote(step)) {
            const QRect typed(text.left(), text.bottom() - metrics.lineSpacing() + 1, text.width(),
                              metrics.lineSpacing());
            painter.drawText(typed, Qt::AlignLeft | Qt::AlignVCenter,
                             metrics.elidedText(QStringLiteral("> ") + state.Typed + QLatin1Char('|'),
                                                Qt::ElideLeft, typed.width()));
            text.setBottom(typed.top() - 1);
        }
        painter.setClipRect(text);
        painter.drawText(text, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop,
                         NoteText(simulation, state.Step, state.InstructionText));
        painter.setClipping(false);
    }
    if (state.WrongClick) {
        const QPoint at = *state.WrongClick + origin;
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(220, 0, 0), 3));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(at, 11, 11);
        painter.drawLine(at + QPoint(-5, -5), at + QPoint(5, 5));
        painter.drawLine(at + QPoint(-5, 5), at + QPoint(5, -5));
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
}

void PaintSimulationMessage(QPainter& painter, QSize area, const QString& message) {
    const QRect all(QPoint(0, 0), area);
    painter.fillRect(all, QColor(240, 240, 240));
    painter.setPen(Qt::black);
    painter.setFont(NoteFont());
    painter.drawText(all.adjusted(16, 16, -16, -16), Qt::AlignCenter | Qt::TextWordWrap, message);
}
