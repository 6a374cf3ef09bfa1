#include "TSimulationHands.h"

#include <QTest>

#include "widgets/TQvTesting.h"

void WorkSimulationRight(TQvTesting* control) {
    const QPoint origin = control->PictureOrigin();
    const QList<TSimulationStep> steps = control->Simulation().Steps;
    for (int i = 0; i < steps.size() && control->State() == TQvTesting::TState::Playing; ++i) {
        const TSimulationStep& step = steps[i];
        switch (step.Kind) {
        case TSimulationActionKind::Click:
            QTest::mouseClick(control, Qt::LeftButton, {}, origin + step.Target.center());
            break;
        case TSimulationActionKind::DoubleClick:
            QTest::mouseDClick(control, Qt::LeftButton, {}, origin + step.Target.center());
            break;
        case TSimulationActionKind::Key:
            QTest::keyClick(control, step.Key.key(), step.Key.keyboardModifiers());
            break;
        case TSimulationActionKind::Type:
            QTest::keyClicks(control, step.Text);
            QTest::keyClick(control, Qt::Key_Return);
            break;
        }
    }
}

QPoint WrongPoint(TQvTesting* control) {
    const QRect target = control->Simulation().Steps.value(0).Target;
    const QSize size = control->Simulation().Size;
    const QPoint corner = target.center().x() < size.width() / 2 ? QPoint(size.width() - 5, size.height() - 5)
                                                                 : QPoint(5, size.height() - 5);
    return control->PictureOrigin() + corner;
}
