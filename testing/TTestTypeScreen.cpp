#include "testing/TTestTypeScreen.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>

#include "shell/ControlLayout.h"
#include "shell/TForm1.h"
#include "testing/TTestScreen.h"
#include "testing/model/TTestTypeTexts.h"
#include "widgets/TSkinButton.h"

TTestTypeScreen::TTestTypeScreen(TForm1& form, TTestScreen& test)
    : TScreenModule(form, ScreenTestType, {"Test Type Selection Screen", "background", "Blankbk.gif"}),
      m_test(test) {
    namespace L = ControlLayout;
    btnOpenbook = Own(new TSkinButton(&f), "btnOpenbook");
    btnOpenbook->setGeometry(L::OpenBookButton);
    btnClosedBook = Own(new TSkinButton(&f), "btnClosedBook");
    btnClosedBook->setGeometry(L::ClosedBookButton);
    chkRandom = Own(new QCheckBox(TestTypeText::RandomizeCaption, &f), "chkRandom");
    chkRandom->setGeometry(L::RandomBox);
    lblTestTypeExplaination = Own(new QLabel(&f), "lblTestTypeExplaination");
    lblTestTypeExplaination->setWordWrap(true);
    lblTestTypeExplaination->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTestTypeExplaination->setTextFormat(Qt::PlainText);
    for (QWidget* text : {static_cast<QWidget*>(chkRandom), static_cast<QWidget*>(lblTestTypeExplaination)}) {
        QPalette palette = text->palette();
        palette.setColor(QPalette::WindowText, Qt::white);
        text->setPalette(palette);
    }
    AddSkin(FaceEntry(btnOpenbook, "Test Type Selection Screen", "btnPre"));
    AddSkin(FaceEntry(btnClosedBook, "Test Type Selection Screen", "btnPost"));
    btnOpenbook->installEventFilter(this);
    btnClosedBook->installEventFilter(this);
    connect(btnOpenbook, &QAbstractButton::clicked, this, [this] { ChooseType(false); });
    connect(btnClosedBook, &QAbstractButton::clicked, this, [this] { ChooseType(true); });
}

void TTestTypeScreen::Enter() {
    btnOpenbook->show();
    btnClosedBook->show();
    chkRandom->show();
    lblTestTypeExplaination->clear();
    lblTestTypeExplaination->setGeometry(ControlLayout::TestTypeExplanation);
    lblTestTypeExplaination->show();
    Explain(false);
}

void TTestTypeScreen::Explain(bool closedBook) {
    lblTestTypeExplaination->setText(closedBook ? TestTypeText::ClosedBook : TestTypeText::OpenBook);
    lblTestTypeExplaination->resize(247, lblTestTypeExplaination->height());
}

bool TTestTypeScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter && (watched == btnOpenbook || watched == btnClosedBook))
        Explain(watched == btnClosedBook);
    return TScreenModule::eventFilter(watched, event);
}

void TTestTypeScreen::ChooseType(bool closedBook) {
    m_test.Run.ClosedBook = closedBook;
    m_test.Run.TestEntryMode = TestEntry::Normal;
    m_test.Randomize = chkRandom->isChecked();
    f.ShowScreen(ScreenTest);
}
