// The about window: the skin's "Misc"/"About" picture with the maker's notice,
// the version and the maker's web address.
#pragma once

#include <QDialog>

class QLabel;
class TGifImage;
class TSkinButton;

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);

    static const char* const MakerAddress;

    TGifImage* GIFImage1;
    TSkinButton* btnClose; // carries its own face, not the skin's
    QLabel* Label1;
    QLabel* lblVersion;
    QLabel* Label2;

    void FormCreate();
    void btnCloseClick();
    void Label2Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};
