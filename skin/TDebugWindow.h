// The diagnostics window: shows the media player's notify flag and mode while
// its timer runs. Created hidden; nothing in the program shows it.
#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>

class QLabel;
class QPlainTextEdit;

class TDebugWindow : public QWidget {
    Q_OBJECT
public:
    explicit TDebugWindow(QWidget* parent = nullptr);

    QLabel* lblNotify;
    QLabel* lblMode;
    QPlainTextEdit* memoMessages;
    QTimer Timer1;

    // Where the readings come from: the main window's media player.
    std::function<bool()> NotifyFlag;
    std::function<int()> PlayerMode;

    // Player modes 0 to 6: "Notready", "Stopped", "Playing", "Recording",
    // "Seeking", "Paused", "Open"; any other mode leaves lblMode as it is.
    void Timer1Timer();
};
