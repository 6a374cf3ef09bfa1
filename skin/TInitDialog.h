// The start-up dialog: the skin's "Init Screen" picture, shown while the main
// window is being created.
#pragma once

#include <QWidget>

class TGifImage;

class TInitDialog : public QWidget {
    Q_OBJECT
public:
    explicit TInitDialog(QWidget* parent = nullptr);

    TGifImage* Background;

    // Reads the skin from the registry and takes the picture's size.
    void FormCreate();
};
