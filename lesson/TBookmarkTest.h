// The bookmark-test window: asks whether a test left part-way through should be
// kept to be continued later. `Result` is true for Yes.
#pragma once

#include <QDialog>

class TGifImage;
class TSkinButton;

class TBookmarkTest : public QDialog {
    Q_OBJECT
public:
    explicit TBookmarkTest(QWidget* parent = nullptr);

    TGifImage* GIFImage1;
    TSkinButton* btnYes;
    TSkinButton* btnNo;
    bool Result = false;

    void btnYesClick();
    void btnNoClick();

protected:
    void showEvent(QShowEvent* event) override;
};
