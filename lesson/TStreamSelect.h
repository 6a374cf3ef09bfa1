// The stream selection window: four choices of clip delivery ("28.8", "56k",
// "T1", "CD"), whose result is the main window's `StreamChoice` 0 to 3.
#pragma once

#include <QDialog>

class TGifImage;
class TLabelEffect;
class TSkinButton;

class TStreamSelect : public QDialog {
    Q_OBJECT
public:
    explicit TStreamSelect(QWidget* parent = nullptr);

    TGifImage* Background;
    TLabelEffect* lblTitle;
    TLabelEffect* lblChoice[4]; // the choices' captions under their faces
    TSkinButton* choice1;
    TSkinButton* choice2;
    TSkinButton* choice3;
    TSkinButton* choice4;
    int Choice = 3;
    // The current skin's folder, kept by the skin loader; read on every showing.
    QString SkinDirectory;

    // Reads this window's two sections of the skin's scheme.ini.
    void LoadSkinSections(const QString& skinDirectory);
    void choiceclick(QObject* sender);

protected:
    // Takes the current skin's pictures and label style, then centres the window
    // over the main window: the start-up dialog it was once placed against is
    // gone by the time any screen runs.
    void showEvent(QShowEvent* event) override;
};
