#include "widgets/TSideWindowParts.h"

#include <QLabel>
#include <QVBoxLayout>

#include "widgets/TSpecialListBox.h"
#include "widgets/WinColor.h"

TSideWindowParts MakeSideWindowParts(QWidget* window) {
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* panel = new QWidget(window);
    panel->setFixedHeight(41);
    panel->setAutoFillBackground(true);
    QPalette colours = panel->palette();
    colours.setColor(QPalette::Window, WinColor(SideWindowColour));
    panel->setPalette(colours);
    auto* title = new QLabel(panel);
    title->setAlignment(Qt::AlignCenter);
    title->setWordWrap(true);
    // Titles come from course tables: shown as typed, never as markup.
    title->setTextFormat(Qt::PlainText);
    QFont titleFont(QStringLiteral("Times New Roman"));
    titleFont.setBold(true);
    title->setFont(titleFont);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(2, 2, 2, 2);
    panelLayout->addWidget(title);

    auto* list = new TSpecialListBox(window);
    list->setFrameShape(QFrame::NoFrame);
    list->SetColor(WinColor(SideWindowColour));
    QFont listFont(QStringLiteral("Times New Roman"));
    listFont.setPixelSize(13);
    list->setFont(listFont);
    list->SetFontColor(Qt::black);

    layout->addWidget(panel);
    layout->addWidget(list);
    return {panel, title, list};
}
