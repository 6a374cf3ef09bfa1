#include "lesson/TBufferingForm.h"

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTextBlock>

#include "skin/TWindowPlacement.h"
#include "widgets/TBanner.h"
#include "widgets/TGifImage.h"
#include "widgets/TLabelEffect.h"
#include "widgets/WinColor.h"

namespace {

TLabelEffect* EffectLabel(QWidget* parent, const QRect& bounds, const QString& caption,
                          Qt::Alignment alignment) {
    auto* label = new TLabelEffect(parent);
    label->setGeometry(bounds);
    label->SetCaption(caption);
    label->SetAlignment(alignment | Qt::AlignVCenter);
    label->SetFontColor(QColor(255, 255, 255));
    label->SetColourShadow(QColor(0, 0, 0));
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(22);
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

TBufferingForm::TBufferingForm(QWidget* parent) : QWidget(parent) {
    MakeSkinnedWindow(this, QSize(320, 260));
    GIFImage1 = new TGifImage(this);
    GIFImage1->setGeometry(0, 0, 320, 260);
    Spin = new TGifImage(this);
    Spin->setGeometry(14, 12, 48, 48);
    Percent = EffectLabel(this, QRect(150, 120, 70, 28), QStringLiteral("0"), Qt::AlignRight);
    lblDone = EffectLabel(this, QRect(222, 120, 80, 28), QStringLiteral("% Done"), Qt::AlignLeft);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setGeometry(20, 160, 280, 16);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    Banner1 = new TBanner(this);
    Banner1->setGeometry(22, 218, 273, 16);
    Banner1->SetScrollInterval(40);
    Banner1->SetScrollPixels(2);
    Banner1->SetColor(WinColor(7032931));
    Banner1->SetFontColor(QColor(255, 255, 255));
    QFont bannerFont(QStringLiteral("MS Sans Serif"));
    bannerFont.setPixelSize(13);
    Banner1->setFont(bannerFont);
    Memo1 = new QPlainTextEdit(this);
    Memo1->hide();
    Timer1.setInterval(3000); // kept from the window's design; its tick does nothing
}

void TBufferingForm::SetInfoText(const QString& text) {
    Memo1->setPlainText(QString(text).remove(QLatin1Char('\r')));
    m_nextLine = 0;
}

void TBufferingForm::ShowProgress(int percent) {
    if (!isVisible())
        show();
    Percent->SetCaption(QString::number(percent));
    ProgressBar1->setValue(std::clamp(percent, 0, 100));
}

void TBufferingForm::showEvent(QShowEvent* event) {
    CentreOverMainWindow(this);
    const int lines = Memo1->document()->blockCount();
    const QString tip = Memo1->document()->findBlockByNumber(m_nextLine).text();
    m_nextLine = m_nextLine + 1 >= lines ? 0 : m_nextLine + 1;
    Banner1->SetScrollText(tip);
    // An empty line leaves the banner still rather than raising its enabling error.
    if (!Banner1->Enabled() && !tip.isEmpty())
        Banner1->SetEnabled(true);
    Timer1.start();
    QWidget::showEvent(event);
}

void TBufferingForm::hideEvent(QHideEvent* event) {
    Timer1.stop();
    QWidget::hideEvent(event);
}
