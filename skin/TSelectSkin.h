// The skin selection window: lists the skins installed under GraphicDir and
// switches to the one clicked, for now and for the next start.
#pragma once

#include <QDialog>
#include <functional>

class QListWidget;

class TSelectSkin : public QDialog {
    Q_OBJECT
public:
    // The directories are the main window's own (the choice changes skinDir);
    // loadSkin applies skinDir and throws when the skin cannot be loaded.
    TSelectSkin(const QString& graphicDir, QString& skinDir, std::function<void()> loadSkin,
                QWidget* parent = nullptr);

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
    const QString& m_graphicDir;
    QString& m_skinDir;
    std::function<void()> m_loadSkin;
};
