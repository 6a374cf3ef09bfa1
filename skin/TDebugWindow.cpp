#include "skin/TDebugWindow.h"

#include <QLabel>
#include <QPlainTextEdit>

#include "skin/TWindowPlacement.h"

TDebugWindow::TDebugWindow(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("DebugWindow"));
    // Framed, unlike the skinned windows, but on top of the main window too.
    setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint);
    resize(310, 306);
    auto* notifyCaption = new QLabel(QStringLiteral("Mediaplayer Notify"), this);
    notifyCaption->setGeometry(12, 10, 140, 18);
    lblNotify = new QLabel(this);
    lblNotify->setGeometry(12, 30, 140, 18);
    auto* modeCaption = new QLabel(QStringLiteral("MediaPlayerMode"), this);
    modeCaption->setGeometry(160, 10, 140, 18);
    lblMode = new QLabel(this);
    lblMode->setGeometry(160, 30, 140, 18);
    memoMessages = new QPlainTextEdit(this);
    memoMessages->setGeometry(12, 58, 286, 236);
    Timer1.setInterval(5);
    connect(&Timer1, &QTimer::timeout, this, &TDebugWindow::Timer1Timer);
    CentreOnScreen(this);
}

void TDebugWindow::Timer1Timer() {
    if (NotifyFlag)
        lblNotify->setText(NotifyFlag() ? QStringLiteral("true") : QStringLiteral("false"));
    if (!PlayerMode)
        return;
    static const char* const modes[] = {"Notready", "Stopped", "Playing", "Recording",
                                        "Seeking",  "Paused",  "Open"};
    const int mode = PlayerMode();
    if (mode >= 0 && mode < 7)
        lblMode->setText(QString::fromLatin1(modes[mode]));
}
