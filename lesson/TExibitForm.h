#pragma once
// The exhibit window: a test question's exhibit picture, centred on the
// screen; a click on the picture closes it.
#include <QWidget>

class TGifImage;

class TExibitForm : public QWidget {
    Q_OBJECT
public:
    explicit TExibitForm(QWidget* parent = nullptr);

    TGifImage* GIFImage1;

    void GIFImage1Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};
