#include "TQvTesting.h"

#include "TSimulationView.h"

#include <QFileInfo>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace {

bool IsModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta ||
           key == Qt::Key_AltGr || key == Qt::Key_CapsLock || key == Qt::Key_NumLock ||
           key == Qt::Key_Super_L || key == Qt::Key_Super_R || key == Qt::Key_Hyper_L ||
           key == Qt::Key_Hyper_R || key == 0 || key == Qt::Key_unknown;
}

bool IsPrintable(const QString& text) {
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control)
            return false;
    return true;
}

} // namespace

TQvTesting::TQvTesting(QWidget* parent) : QWidget(parent) {
    // Out of sight until a simulation question places it.
    setGeometry(1, 1, 1, 1);
    setFocusPolicy(Qt::StrongFocus);
    wrongClickTimer_.setSingleShot(true);
    wrongClickTimer_.setInterval(kWrongClickShowMs);
    connect(&wrongClickTimer_, &QTimer::timeout, this, [this] {
        wrongClick_.reset();
        update();
    });
}

void TQvTesting::SetFileName(const QString& path) {
    fileName_ = path;
    if (questionType_ != kSimulationQuestion || loadPending_)
        return;
    loadPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (loadPending_)
                Load();
        },
        Qt::QueuedConnection);
}

void TQvTesting::SetQuestionType(int type) {
    questionType_ = type;
    Load();
}

void TQvTesting::Restart() {
    Load();
}

QPoint TQvTesting::PictureOrigin() const {
    return SimulationPictureOrigin(size(), simulation_.Size);
}

void TQvTesting::Load() {
    loadPending_ = false;
    const unsigned generation = ++generation_;
    wrongClickTimer_.stop();
    wrongClick_.reset();
    typed_.clear();
    step_ = 0;
    simulation_ = {};
    message_.clear();
    state_ = TState::Idle;
    setAttribute(Qt::WA_InputMethodEnabled, false);
    update();
    if (questionType_ != kSimulationQuestion || fileName_.isEmpty())
        return;

    // The host hears of a foreign file or version first and may ask to play it anyway.
    QPointer<TQvTesting> alive(this);
    TSimulationReadOptions options;
    TSimulationRead read;
    for (;;) {
        read = ReadSimulationFile(fileName_, options);
        int carryOn = 0;
        if (read.Fault == TSimulationFault::NotSimulation && !options.IgnoreFormat) {
            if (OnIncorrectFileType)
                OnIncorrectFileType(this, carryOn, read.FileType);
            if (!alive || generation != generation_)
                return;
            if (carryOn != 0 && read.FileType == kSimulationFileOtherJson) {
                options.IgnoreFormat = true;
                continue;
            }
        } else if (read.Fault == TSimulationFault::UnknownVersion && !options.IgnoreVersion) {
            if (OnIncorrectVersion)
                OnIncorrectVersion(this, carryOn, read.Version);
            if (!alive || generation != generation_)
                return;
            if (carryOn != 0) {
                options.IgnoreVersion = true;
                continue;
            }
        }
        break;
    }
    if (!read.Playable()) {
        state_ = TState::Refused;
        message_ = QStringLiteral("This simulation cannot be played.\n\n%1: %2")
                       .arg(QFileInfo(fileName_).fileName(), read.Error);
        update();
        return;
    }
    simulation_ = std::move(read.Simulation);
    state_ = TState::Playing;
    BeginStep(0);
}

void TQvTesting::BeginStep(int index) {
    step_ = index;
    typed_.clear();
    setAttribute(Qt::WA_InputMethodEnabled, Step().Kind == TSimulationActionKind::Type);
    TakeFocusIfWaiting();
    update();
}

void TQvTesting::Judge(bool right) {
    if (right && step_ + 1 < simulation_.Steps.size()) {
        BeginStep(step_ + 1);
        return;
    }
    // The outcome is settled before the host hears of it: a handler may load another
    // file, show a modal window or start this one again, and nothing here runs after it.
    state_ = TState::Finished;
    setAttribute(Qt::WA_InputMethodEnabled, false);
    update();
    if (right) {
        if (OnCorrect)
            OnCorrect(this);
    } else if (OnIncorrect) {
        OnIncorrect(this, step_);
    }
}

void TQvTesting::ShowWrongClick(QPoint picturePoint) {
    wrongClick_ = picturePoint;
    wrongClickTimer_.start();
    update();
}

bool TQvTesting::InSight() const {
    return isVisible() && width() > 1 && height() > 1;
}

bool TQvTesting::WaitsForKeys() const {
    return state_ == TState::Playing && InSight() &&
           (Step().Kind == TSimulationActionKind::Key || Step().Kind == TSimulationActionKind::Type);
}

void TQvTesting::TakeFocusIfWaiting() {
    if (WaitsForKeys() && !hasFocus())
        setFocus(Qt::OtherFocusReason);
}

bool TQvTesting::event(QEvent* event) {
    if (WaitsForKeys()) {
        // Tab and the program's shortcuts belong to the step while it waits for keys.
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            keyPressEvent(static_cast<QKeyEvent*>(event));
            return true;
        }
    }
    return QWidget::event(event);
}

void TQvTesting::SetInstructionsShown(bool shown) {
    if (instructionsShown_ == shown)
        return;
    instructionsShown_ = shown;
    update();
}

void TQvTesting::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (state_ == TState::Refused) {
        PaintSimulationMessage(painter, size(), message_);
        return;
    }
    if (state_ == TState::Idle) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    TSimulationViewState view;
    view.Step = step_;
    view.ShowInstruction = state_ == TState::Playing;
    view.InstructionText = instructionsShown_;
    view.Typed = typed_;
    view.WrongClick = wrongClick_;
    PaintSimulationStep(painter, size(), simulation_, view);
}

void TQvTesting::mousePressEvent(QMouseEvent* event) {
    if (state_ != TState::Playing || !InSight())
        return;
    const TSimulationStep& step = Step();
    const QPoint at = event->position().toPoint() - PictureOrigin();
    const bool inside = event->button() == Qt::LeftButton && step.Target.contains(at);
    if (step.Kind == TSimulationActionKind::Key || step.Kind == TSimulationActionKind::Type) {
        // A click into the box the text goes into only brings the keyboard back; any
        // other click while a step waits for keys is a wrong answer.
        if (inside) {
            TakeFocusIfWaiting();
            return;
        }
        ShowWrongClick(at);
        Judge(false);
        return;
    }
    // A press inside a double-click target is the first half of the answer.
    if (inside && step.Kind == TSimulationActionKind::DoubleClick)
        return;
    if (!inside)
        ShowWrongClick(at);
    Judge(inside);
}

void TQvTesting::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click has already been judged as a click; only a
    // double-click step takes the double click itself.
    if (state_ != TState::Playing || !InSight() || Step().Kind != TSimulationActionKind::DoubleClick)
        return;
    const QPoint at = event->position().toPoint() - PictureOrigin();
    const bool inside = event->button() == Qt::LeftButton && Step().Target.contains(at);
    if (!inside)
        ShowWrongClick(at);
    Judge(inside);
}

void TQvTesting::keyPressEvent(QKeyEvent* event) {
    if (state_ != TState::Playing || !InSight()) {
        event->ignore();
        return;
    }
    const TSimulationStep& step = Step();
    if (step.Kind == TSimulationActionKind::Click || step.Kind == TSimulationActionKind::DoubleClick) {
        event->ignore();
        return;
    }
    event->accept();
    // A held key repeats; the repeats are not new answers, nor are lone modifiers.
    if (event->isAutoRepeat() && step.Kind == TSimulationActionKind::Key)
        return;
    if (IsModifierKey(event->key()))
        return;
    const QKeyCombination pressed = NormalisedSimulationKey(event->key(), event->modifiers());
    if (step.Kind == TSimulationActionKind::Key) {
        Judge(pressed == step.Key);
        return;
    }
    if (pressed == QKeyCombination(Qt::Key_Enter)) {
        Judge(typed_ == step.Text);
    } else if (event->key() == Qt::Key_Backspace) {
        typed_.chop(1);
        update();
    } else if (!(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) &&
               IsPrintable(event->text()) && typed_.size() < 2 * kSimulationMaxText) {
        typed_ += event->text();
        update();
    }
}

void TQvTesting::inputMethodEvent(QInputMethodEvent* event) {
    if (state_ == TState::Playing && InSight() && Step().Kind == TSimulationActionKind::Type &&
        IsPrintable(event->commitString()) && typed_.size() < 2 * kSimulationMaxText) {
        typed_ += event->commitString();
        update();
    }
    event->accept();
}

void TQvTesting::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Shrunk out of sight, the control must not keep the keyboard from the next question.
    if (!InSight() && hasFocus())
        clearFocus();
    TakeFocusIfWaiting();
}

void TQvTesting::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    TakeFocusIfWaiting();
}
