// The message boxes of the Qt message service.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "platform/gui/TMessageBoxes.h"

namespace {

// Runs `ask`, and when its box is up, records the box's text and format and
// closes it.
void ShowAndClose(const std::function<void()>& ask, QString& text, Qt::TextFormat& format) {
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        text = box->text();
        format = box->textFormat();
        box->done(0);
    });
    ask();
}

} // namespace

// A typed name with markup in it is shown as typed, by every kind of box.
TEST(QtMessages, TypedMarkupIsShownAsText) {
    TQtMessageService service;
    const QString typed = QStringLiteral("User Name of : <b>Ann</b><br>, Already exists in the system.");
    const std::function<void()> boxes[] = {
        [&] { service.ShowMessage(typed); },
        [&] { service.ShowMessageCaption(typed, QStringLiteral("Altavo")); },
        [&] { service.Ask(typed); },
        [&] { service.Confirm(typed); },
    };
    for (const auto& ask : boxes) {
        QString text;
        Qt::TextFormat format = Qt::AutoText;
        ShowAndClose(ask, text, format);
        EXPECT_EQ(text, typed);
        EXPECT_EQ(format, Qt::PlainText);
    }
}
