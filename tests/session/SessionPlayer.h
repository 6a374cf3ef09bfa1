#pragma once
// The player as the session test drives it: the program entry's start on the
// installation of ALTAVO_REGISTRY, clicks and key presses as a learner makes
// them, modal windows answered through the tour's watcher, the exit window,
// and the clips as they play.
#include <QPoint>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "TModalWatcher.h"
#include "platform/TMessages.h"
#include "platform/gui/TDisplay.h"
#include "shell/TForm1.h"

class QLineEdit;
class TMediaPlayer;
class TQvTesting;
class TSpecialListBox;

class TSessionPlayer {
public:
    TSessionPlayer();
    ~TSessionPlayer();

    // The program entry's start: main window, screens, windows, skin, first screen.
    bool Start();
    // Closes the player through its exit window, answered Yes, and ends it as
    // the program entry does once the message loop returns. True when the
    // window asked and the player closed.
    bool Exit();

    TForm1& F() { return *Form; }
    template <typename T> T* M() { return Form->Module<T>(); }

    // A left click; a modal window it opens goes to `handler` when it is of
    // class `expected` (true when it appeared), any other is recorded.
    bool Click(QWidget* w, const QString& expected = {}, TModalWatcher::THandler handler = {});
    // Any other action that may open modal windows.
    void Act(const std::function<void()>& action) { Modals.Act(action); }
    void Type(QLineEdit* box, const QString& text);
    // Clicks a row of a side window's list, scrolled into view first.
    void ClickRow(TSpecialListBox* list, int row, Qt::MouseButton button = Qt::LeftButton);

    // The clip playing now (its base name, lower case), empty when none.
    QString Playing();
    // The clips that start playing until `done` or the timeout, in order.
    QStringList ClipsUntil(const std::function<bool()>& done, int timeoutMs);

    TScriptedMessages Messages; // the player's messages, collected
    TLinuxDisplay Display;
    TModalWatcher Modals;
    QStringList Unexpected;   // modal windows nobody expected
    int FeedbackPictures = 0; // the open-book feedback pictures seen
    std::unique_ptr<TForm1> Form;

private:
    TMediaPlayer& Clips();
};

// Saves the report of a preview window as a PDF through its own "Save as
// PDF…" button and the program's file window (answered with `pdf`).
void SaveShownReport(QWidget* preview, const QString& pdf);
