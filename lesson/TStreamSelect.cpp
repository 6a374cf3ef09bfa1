#include "lesson/TStreamSelect.h"

#include "platform/TIniFile.h"
#include "platform/TPaths.h"
#include "skin/TWindowPlacement.h"
#include "widgets/TGifImage.h"
#include "widgets/TLabelEffect.h"
#include "widgets/TSkinButton.h"
#include "widgets/TSkinError.h"
#include "widgets/WinColor.h"

TStreamSelect::TStreamSelect(QWidget* parent) : QDialog(parent) {
    MakeSkinnedWindow(this, QSize(200, 200));
    Background = new TGifImage(this);
    Background->setGeometry(0, 0, 200, 200);
    lblTitle = new TLabelEffect(this);
    lblTitle->setGeometry(10, 10, 180, 36);
    lblTitle->SetCaption(QStringLiteral("Select Stream"));
    lblTitle->SetAlignment(Qt::AlignCenter);

    const char* const captions[4] = {"28.8", "56k", "T1", "CD"};
    const QRect bounds[4] = {{22, 64, 72, 44}, {106, 64, 72, 44}, {22, 128, 72, 44}, {106, 128, 72, 44}};
    TSkinButton** buttons[4] = {&choice1, &choice2, &choice3, &choice4};
    for (int i = 0; i < 4; ++i) {
        // The caption label sits under the face; a skin's face covers it.
        lblChoice[i] = new TLabelEffect(this);
        lblChoice[i]->setGeometry(bounds[i]);
        lblChoice[i]->SetCaption(QString::fromLatin1(captions[i]));
        lblChoice[i]->SetAlignment(Qt::AlignCenter);
        TSkinButton* button = new TSkinButton(this);
        button->setGeometry(bounds[i]);
        button->setToolTip(QString::fromLatin1(captions[i]));
        connect(button, &TSkinButton::clicked, this, [this, button] { choiceclick(button); });
        *buttons[i] = button;
    }
}

void TStreamSelect::LoadSkinSections(const QString& skinDirectory) {
    const TIniFile scheme(ResolvePath(skinDirectory + QStringLiteral("scheme.ini")));
    auto file = [&](const QString& value) { return ResolvePath(skinDirectory + FromStoredPath(value)); };
    Background->SetFileName(
        file(scheme.ReadString("Stream Selection Screen", "background", QStringLiteral("StreamBkg.gif"))));
    TSkinButton* buttons[4] = {choice1, choice2, choice3, choice4};
    for (int i = 0; i < 4; ++i) {
        const QString value =
            scheme.ReadString("Stream Selection Screen", QStringLiteral("choice%1").arg(i + 1), {});
        // A choice without a face keeps its caption label.
        if (value.isEmpty())
            continue;
        try {
            buttons[i]->LoadFace(file(value));
            lblChoice[i]->hide();
        } catch (const TSkinError&) {
            lblChoice[i]->show();
        }
    }

    QFont font(scheme.ReadString("Stream Select Screen", "Font", QStringLiteral("Times New Roman")));
    font.setPointSize(std::max(1, scheme.ReadInteger("Stream Select Screen", "Font Size", 20)));
    const bool bold = scheme.ReadInteger("Stream Select Screen", "Font Bold", 0) == 1;
    const bool effect = scheme.ReadInteger("Stream Select Screen", "3D", 1) != 0;
    const QColor highlight =
        WinColor(quint32(scheme.ReadInteger("Stream Select Screen", "Font Highlight Color", 16777215)));
    const QColor shadow =
        WinColor(quint32(scheme.ReadInteger("Stream Select Screen", "Font Shadow Color", 0)));
    const QColor colour =
        WinColor(quint32(scheme.ReadInteger("Stream Select Screen", "Font Color", 8421504)));
    for (TLabelEffect* label : {lblTitle, lblChoice[0], lblChoice[1], lblChoice[2], lblChoice[3]}) {
        QFont labelFont = font;
        labelFont.setBold(bold || label->font().bold());
        label->setFont(labelFont);
        label->SetFontColor(colour);
        if (effect) {
            label->SetColourHighlight(highlight);
            label->SetColourShadow(shadow);
        } else {
            label->SetDepthHighlight(0);
            label->SetDepthShadow(0);
            label->SetDirectionHighlight(edNone);
            label->SetDirectionShadow(edNone);
            label->SetEffectStyle(esNone);
            label->SetColourScheme(csCustom);
        }
    }
}

void TStreamSelect::showEvent(QShowEvent* event) {
    if (!SkinDirectory.isEmpty())
        LoadSkinSections(SkinDirectory);
    CentreOverMainWindow(this);
    QDialog::showEvent(event);
}

void TStreamSelect::choiceclick(QObject* sender) {
    const TSkinButton* buttons[4] = {choice1, choice2, choice3, choice4};
    for (int i = 0; i < 4; ++i)
        if (sender == buttons[i])
            Choice = i;
    accept();
}
