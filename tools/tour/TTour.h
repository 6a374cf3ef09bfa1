// The scripted tour: runs the player's own start-up on the installation of
// ALTAVO_REGISTRY and drives the main window as a learner would, with mouse
// clicks and key presses, saving a picture of every screen and window it
// reaches. Each step checks that it reached the screen it meant to.
#pragma once

#include <QDir>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "TModalWatcher.h"

class QDialog;
class QKeySequence;
class QWidget;
class TForm1;
class TLinuxDisplay;
enum class TCopyLearners;

class TTour {
public:
    explicit TTour(const QString& outDir);
    ~TTour();

    // Every step in order; true when each reached its expected screen.
    bool Run();
    const QStringList& Failures() const { return m_failures; }
    const QStringList& Pictures() const { return m_pictures; }
    // Faults of the player seen on the way that did not stop a step.
    const QStringList& Problems() const { return m_problems; }

private:
    // Runs one part on a copy of the installation (deleted afterwards), so the
    // installation's learners, results and settings stay as they were.
    void OnCopy(const QString& part, TCopyLearners learners, const std::function<void()>& body);
    // A first start: the installation's courses and skins with no learners yet.
    void FirstStart();
    // The learners' session on the installation's learners: sign-in, accounts,
    // administrator, course start, lessons, challenges, tests, exit.
    void LearnerSession();

    bool Start(const QString& step);
    void Stop();
    // Runs one step; a false result or a failed check is recorded and the rest
    // of its part is skipped.
    bool Step(const QString& name, const std::function<bool()>& body);
    bool ExpectScreen(int screen);
    bool Fail(const QString& reason);
    void Shot(const QString& name, QWidget* widget);
    void Type(QWidget* box, const QString& text);
    void Click(QWidget* widget);
    bool SignIn(const QString& name, const QString& password);
    bool RegisterFirstUser(const QString& first, const QString& last, const QString& user,
                           const QString& password);
    bool ShortcutWindow(const QString& name, const QKeySequence& keys, QDialog* window);
    void ShowOtherWindows();
    // The lesson screens and windows with real clips playing (TTourLesson.cpp).
    bool LessonScreens();
    bool ClipFrameShown();
    // The challenge window and screen, a wrong and a right outcome (TTourChallenge.cpp).
    bool ChallengeScreens();
    // The test: type selection, every question type open and closed book, the
    // report pop-up, item review, a failed and a passed attempt's exam
    // analysis, the continue-the-test screen, the study material and the
    // certificate (TTourTest.cpp).
    bool TestScreens();

    QDir m_out;
    int m_shotNumber = 0;
    QString m_failReason;
    QString m_currentStep;
    QStringList m_failures;
    QStringList m_pictures;
    QStringList m_problems;
    TModalWatcher m_modals;
    std::unique_ptr<TLinuxDisplay> m_display;
    std::unique_ptr<TForm1> m_form;
};
