// The window-level buttons (help, minimise, close), the field buttons of the
// movie page and the help menu. One handler tells the buttons apart.
#include <QMenu>

#include "platform/TMessages.h"
#include "platform/gui/TShell.h"
#include "shell/TForm1.h"
#include "skin/TAboutForm.h"
#include "skin/TAboutSkin.h"
#include "skin/TSelectSkin.h"
#include "widgets/TDirectory.h"
#include "widgets/TSkinButton.h"

void TForm1::ConnectWindowButtons() {
    for (TSkinButton* b : {AboutField, btnHelp2, MinimizeField, btnMinimize2, Exitfield, btnClose2,
                           ChallengeField})
        connect(b, &QAbstractButton::clicked, this, [this, b] { FieldClick(b); });
    connect(btnMain, &QAbstractButton::clicked, this, [this] { btnMainClick(); });

    AboutPopup->addAction(QStringLiteral("Help"), this, [this] {
        if (!ShellOpen(HelpDir + QStringLiteral("index.html")))
            Messages().ShowMessage(
                QStringLiteral("Cannot open %1").arg(HelpDir + QStringLiteral("index.html")));
    });
    AboutPopup->addAction(QStringLiteral("About Altavo"), this, [this] {
        if (AboutForm)
            AboutForm->exec();
    });
    // Hidden commands: not in the menu, reached by their shortcuts on the main
    // window (a hidden QAction would also be disabled).
    QAction* selectSkin = new QAction(QStringLiteral("Select Skin"), this);
    QObject::connect(selectSkin, &QAction::triggered, this, [this] {
        if (SelectSkin)
            SelectSkin->exec();
    });
    selectSkin->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    QAction* aboutSkin = new QAction(QStringLiteral("About Skin"), this);
    QObject::connect(aboutSkin, &QAction::triggered, this, [this] {
        if (AboutSkin)
            AboutSkin->exec();
    });
    aboutSkin->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+A")));
    addAction(selectSkin);
    addAction(aboutSkin);
}

void TForm1::FieldClick(QObject* sender) {
    if (sender == AboutField || sender == btnHelp2) {
        // Just below AboutField, for both buttons.
        AboutPopup->popup(mapToGlobal(QPoint(AboutField->x(), AboutField->y() + AboutField->height())));
    } else if (sender == Exitfield || sender == btnClose2) {
        ShowScreen(ScreenExit);
    } else if (sender == MinimizeField || sender == btnMinimize2) {
        showMinimized();
    }
}

void TForm1::btnMainClick() {
    if (CurrentScreen == ScreenChallenge || CurrentScreen == ScreenExamAnalysis)
        ShowScreen(ScreenMoviePage);
}
