// The please-wait window: the skin's picture, its spinning logo and a message.
#pragma once

#include <QWidget>

class TGifImage;
class TLabelEffect;

class TPleaseWait : public QWidget {
    Q_OBJECT
public:
    explicit TPleaseWait(QWidget* parent = nullptr);

    TGifImage* Background;
    TGifImage* Spin;
    TLabelEffect* lblMessage;

protected:
    // Takes the picture's size and centres itself over the main window.
    void showEvent(QShowEvent* event) override;
};
