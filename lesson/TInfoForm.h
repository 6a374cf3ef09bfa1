#pragma once
// The information window: a feedback picture (the skin's correct or incorrect
// picture) over the main window for two seconds, or until it is clicked.
// Shown modally, so the learner waits for it.
#include <QByteArray>
#include <QDialog>
#include <QTimer>

class TGifImage;

class TInfoForm : public QDialog {
    Q_OBJECT
public:
    explicit TInfoForm(QWidget* parent = nullptr);

    TGifImage* GIFImage1;
    QTimer Timer1; // 2000 ms, off at rest
    bool ModalShow = true;

    // Shows the GIF picture held in `stream`; returns when it is closed when
    // shown modally.
    void ShowImage(const QByteArray& stream);
    void GIFImage1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
