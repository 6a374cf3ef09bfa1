// The test control: plays a simulation file (docs/simulation-format.md) one step at a
// time inside its bounds and judges the learner's clicks, keys and typing. Once the
// learner has worked the simulation it raises exactly one of OnCorrect (every step
// answered right) or OnIncorrect (the first wrong answer) and then takes no more input
// until the host starts the simulation again.
#pragma once

#include "TSimulationFile.h"

#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>

class TQvTesting : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSimulationQuestion = 3; // the one QuestionType the control plays
    static constexpr int kWrongClickShowMs = 1500;

    explicit TQvTesting(QWidget* parent = nullptr);

    // Setting FileName while QuestionType is 3 loads the file once control returns to
    // the event loop; setting QuestionType loads at once and always starts afresh, so a
    // host that sets FileName and then QuestionType loads the file once.
    QString FileName() const { return fileName_; }
    void SetFileName(const QString& path);
    int QuestionType() const { return questionType_; }
    void SetQuestionType(int type);
    // Starts the loaded file again from its first step (a second attempt).
    void Restart();
    // Whether the note over each step says what to do (the default) or only which
    // step it is, so that a closed-book test does not give its answer away.
    bool InstructionsShown() const { return instructionsShown_; }
    void SetInstructionsShown(bool shown);

    enum class TState {
        Idle,     // no simulation question
        Playing,  // waiting for the learner's answer to CurrentStep
        Finished, // OnCorrect or OnIncorrect has been raised
        Refused,  // the file cannot be played; Message says why
    };
    TState State() const { return state_; }
    int CurrentStep() const { return step_; }
    QString Message() const { return message_; }
    QString Typed() const { return typed_; }
    bool WrongClickShown() const { return wrongClick_.has_value(); }
    const TSimulation& Simulation() const { return simulation_; }
    // Where the current picture's top-left corner lies in the control.
    QPoint PictureOrigin() const;

    std::function<void(QObject* sender)> OnCorrect;
    std::function<void(QObject* sender, int Frame)> OnIncorrect;
    // A handler that sets Continue to non-zero asks the control to play the file anyway
    // by the rules of the version it knows (a foreign JSON document as a simulation).
    std::function<void(QObject* sender, int& Continue, int Version)> OnIncorrectVersion;
    std::function<void(QObject* sender, int& Continue, int FileType)> OnIncorrectFileType;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Load();
    void BeginStep(int index);
    void Judge(bool right);
    void ShowWrongClick(QPoint picturePoint);
    bool InSight() const;
    bool WaitsForKeys() const;
    void TakeFocusIfWaiting();
    const TSimulationStep& Step() const { return simulation_.Steps[step_]; }

    QString fileName_;
    int questionType_ = 0;
    bool loadPending_ = false;
    bool instructionsShown_ = true;
    unsigned generation_ = 0; // counts loads, so a handler that reloads is noticed
    TState state_ = TState::Idle;
    TSimulation simulation_;
    QString message_;
    int step_ = 0;
    QString typed_;
    std::optional<QPoint> wrongClick_;
    QTimer wrongClickTimer_;
};
