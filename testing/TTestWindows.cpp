#include "testing/TTestWindows.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

TMemoWindow::TMemoWindow(const QString& caption, QSize size, const char* memoName, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setWindowTitle(caption);
    resize(size);
    Memo = new QPlainTextEdit(this);
    Memo->setObjectName(QString::fromLatin1(memoName));
    Memo->setReadOnly(true);
    Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font = Memo->font();
    font.setPixelSize(13);
    Memo->setFont(font);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Memo);
}

void TMemoWindow::SetText(const QString& text) {
    Memo->setPlainText(text);
    Memo->verticalScrollBar()->setValue(0);
}

QString TMemoWindow::Text() const {
    return Memo->toPlainText();
}

THintForm::THintForm(QWidget* parent) : TMemoWindow(QStringLiteral("Hint"), QSize(324, 191), "Hint", parent) {
    Hint = Memo;
}

TRefForm::TRefForm(QWidget* parent)
    : TMemoWindow(QStringLiteral("References"), QSize(323, 192), "Help", parent) {
    Help = Memo;
}
