#include "SessionPlayer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "lesson/TMoviePageScreen.h"
#include "platform/TMediaPlayer.h"
#include "program/TProgram.h"
#include "shell/TExitForm.h"
#include "widgets/TQvTesting.h"
#include "widgets/TSkinButton.h"
#include "widgets/TSpecialListBox.h"

namespace {
// Radio buttons and check boxes answer on their box.
QPoint ClickPoint(QWidget* w) {
    if (qobject_cast<QRadioButton*>(w) || qobject_cast<QCheckBox*>(w))
        return QPoint(7, w->height() / 2);
    return w->rect().center();
}
} // namespace

TSessionPlayer::TSessionPlayer()
    : Modals([this](QWidget* w) {
          // The open-book feedback picture follows most answers and goes by itself.
          if (QString(w->metaObject()->className()) == "TInfoForm")
              ++FeedbackPictures;
          else
              Unexpected << w->metaObject()->className();
      }) {}

TSessionPlayer::~TSessionPlayer() {
    Form.reset();
}

bool TSessionPlayer::Start() {
    bool started = false;
    Modals.Act([&] {
        Form = std::make_unique<TForm1>(Display);
        started = StartProgram(*Form);
    });
    return started;
}

bool TSessionPlayer::Exit() {
    const bool asked = Click(Form->btnClose2, "TExitForm", [](QWidget* w) {
        QTest::mouseClick(static_cast<TExitForm*>(w)->btnYes, Qt::LeftButton);
    });
    const bool closed = !Form->isVisible();
    Form.reset();
    QApplication::processEvents();
    return asked && closed;
}

bool TSessionPlayer::Click(QWidget* w, const QString& expected, TModalWatcher::THandler handler) {
    return Modals.Act([&] { QTest::mouseClick(w, Qt::LeftButton, {}, ClickPoint(w)); }, expected,
                      std::move(handler));
}

void TSessionPlayer::Type(QLineEdit* box, const QString& text) {
    box->clear();
    QTest::keyClicks(box, text);
}

void TSessionPlayer::ClickRow(TSpecialListBox* list, int row, Qt::MouseButton button) {
    QScrollBar* bar = list->verticalScrollBar();
    for (int v = bar->minimum(); v <= bar->maximum(); ++v) {
        bar->setValue(v);
        if (list->viewport()->rect().contains(list->ItemRect(row)))
            break;
    }
    Modals.Act([&] { QTest::mouseClick(list->viewport(), button, {}, list->ItemRect(row).center()); });
}

TMediaPlayer& TSessionPlayer::Clips() {
    return M<TMoviePageScreen>()->MediaPlayer1();
}

QString TSessionPlayer::Playing() {
    return Clips().Mode() == TMediaMode::Playing ? QFileInfo(Clips().FileName()).baseName().toLower()
                                                 : QString();
}

QStringList TSessionPlayer::ClipsUntil(const std::function<bool()>& done, int timeoutMs) {
    QStringList seen;
    QString last;
    (void)QTest::qWaitFor(
        [&] {
            const QString now = Playing();
            if (!now.isEmpty() && now != last)
                seen << now;
            last = now;
            return done();
        },
        timeoutMs);
    return seen;
}

void SaveShownReport(QWidget* window, const QString& pdf) {
    auto* preview = qobject_cast<QPrintPreviewDialog*>(window);
    ASSERT_NE(preview, nullptr) << window->metaObject()->className();
    QAction* save = nullptr;
    for (QAction* a : preview->findChildren<QAction*>())
        if (a->text() == QString::fromUtf8("Save as PDF…"))
            save = a;
    ASSERT_NE(save, nullptr) << "the preview has no \"Save as PDF…\"";
    QTimer::singleShot(0, [pdf] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr) << "no file window";
        dialog->selectFile(pdf);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    save->trigger();
}
