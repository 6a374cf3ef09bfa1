#include "platform/gui/TMessageBoxes.h"

#include <QMessageBox>
#include <QPushButton>

namespace {
// Messages carry names and titles people typed; markup in them is shown as
// typed, never interpreted.
void ShowTypedText(QMessageBox& box) {
    box.setTextFormat(Qt::PlainText);
}
} // namespace

void TQtMessageService::ShowMessage(const QString& text) {
    ShowMessageCaption(text, QStringLiteral("Altavo"));
}

void TQtMessageService::ShowMessageCaption(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok);
    ShowTypedText(box);
    box.exec();
}

bool TQtMessageService::Ask(const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), text);
    ShowTypedText(box);
    QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.exec();
    return box.clickedButton() == yes;
}

bool TQtMessageService::Confirm(const QString& text) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Altavo"), text,
                    QMessageBox::Ok | QMessageBox::Cancel);
    ShowTypedText(box);
    return box.exec() == QMessageBox::Ok;
}

void UseMessageBoxes() {
    static TQtMessageService boxes;
    SetDefaultMessageService(&boxes);
}
