// The skin selection window: lists the skins installed under GraphicDir and
// switches to the one clicked, for now and for the next start.
#pragma once

#include <QDialog>

class QListWidget;
class TForm1;

class TSelectSkin : public QDialog {
    Q_OBJECT
public:
    explicit TSelectSkin(TForm1& form, QWidget* parent = nullptr);

    QListWidget* ListBox1;

    // Fills the list with the skin directories in the order the file system
    // gives them and selects the current skin.
    void FormShow();
    // Remembers the selected skin in the registry, then loads it. A load
    // failure is reported and the window stays open.
    void ListBox1Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TForm1& m_form;
};
