// The buffering window: shown while a clip is on its way, with the skin's
// picture and logo, the progress, and one tip of the skin's "info.txt"
// scrolling past.
#pragma once

#include <QTimer>
#include <QWidget>

class QPlainTextEdit;
class QProgressBar;
class TBanner;
class TGifImage;
class TLabelEffect;

class TBufferingForm : public QWidget {
    Q_OBJECT
public:
    explicit TBufferingForm(QWidget* parent = nullptr);

    TGifImage* GIFImage1;
    TGifImage* Spin;
    TLabelEffect* Percent;
    TLabelEffect* lblDone; // "% Done"
    TBanner* Banner1;
    QProgressBar* ProgressBar1;
    QPlainTextEdit* Memo1; // hidden: the lines of "info.txt"
    QTimer Timer1;

    // The skin's "info.txt", one tip per line.
    void SetInfoText(const QString& text);
    void ShowProgress(int percent);

protected:
    // Centres over the main window and brings the next tip.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    int m_nextLine = 0;
};
