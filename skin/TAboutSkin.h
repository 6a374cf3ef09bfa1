// The about-skin window: the skin's own picture and, when the skin asks for it,
// a link to the skin maker's address. A click anywhere else closes it.
#pragma once

#include <QDialog>

class QLabel;
class TGifImage;

class TAboutSkin : public QDialog {
    Q_OBJECT
public:
    explicit TAboutSkin(QWidget* parent = nullptr);

    TGifImage* Background;
    QLabel* Link; // transparent; its place and visibility come from the skin
    QString LinkAddress;

    void BackgroundClick();
    void LinkClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};
