#include "platform/TMessages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>

namespace {
TMessageService* g_service = nullptr;
} // namespace

TMessageService& Messages() {
    static TQtMessageService qtService;
    static TStderrMessageService stderrService;
    if (g_service)
        return *g_service;
    // Without a GUI application (command-line tools) messages go to stderr.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return stderrService;
    return qtService;
}

namespace {
// Messages carry names and titles people typed; markup in them is shown as
// typed, never interpreted.
void ShowTypedText(QMessageBox& box) {
    box.setTextFormat(Qt::PlainText);
}
} // namespace

void SetMessageService(TMessageService* service) {
    g_service = service;
}

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

void TStderrMessageService::ShowMessage(const QString& text) {
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

void TStderrMessageService::ShowMessageCaption(const QString& text, const QString& caption) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
}

bool TStderrMessageService::Ask(const QString& text) {
    std::fprintf(stderr, "%s (answered No)\n", qPrintable(text));
    return false;
}

bool TStderrMessageService::Confirm(const QString& text) {
    std::fprintf(stderr, "%s (answered Cancel)\n", qPrintable(text));
    return false;
}
