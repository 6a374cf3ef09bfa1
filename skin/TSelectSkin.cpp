#include "skin/TSelectSkin.h"

#include <QDir>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <exception>

#include "platform/TConfiguration.h"
#include "platform/TMessages.h"
#include "platform/TRegistry.h"
#include "skin/TWindowPlacement.h"

TSelectSkin::TSelectSkin(const QString& graphicDir, QString& skinDir, std::function<void()> loadSkin,
                         QWidget* parent)
    : QDialog(parent), m_graphicDir(graphicDir), m_skinDir(skinDir), m_loadSkin(std::move(loadSkin)) {
    setWindowTitle(QStringLiteral("Select Skin"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    resize(248, 220);
    ListBox1 = new QListWidget(this);
    ListBox1->setGeometry(0, 0, 248, 220);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->viewport()->installEventFilter(this);
    ListBox1->installEventFilter(this);
}

void TSelectSkin::showEvent(QShowEvent* event) {
    CentreOnScreen(this);
    FormShow();
    QDialog::showEvent(event);
}

void TSelectSkin::FormShow() {
    ListBox1->clear();
    // Directories only, hidden ones left out, unsorted.
    const QStringList skins = QDir(m_graphicDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
    ListBox1->addItems(skins);
    const QString current = m_skinDir.left(m_skinDir.size() - 1);
    const QList<QListWidgetItem*> found = ListBox1->findItems(current, Qt::MatchFixedString);
    if (!current.isEmpty() && !found.isEmpty())
        ListBox1->setCurrentItem(found.front());
    else
        ListBox1->clearSelection();
}

void TSelectSkin::ListBox1Click() {
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    if (selected.isEmpty())
        return;
    const QString skinDir = selected.front()->text() + QLatin1Char('/');

    // Written before the load, so the choice holds even when the load fails.
    TRegistry registry;
    if (registry.OpenKey(QString::fromLatin1(ConfigurationKey), false)) {
        if (!registry.WriteString(QStringLiteral("SkinDir"), skinDir))
            Messages().ShowMessage(QStringLiteral("The skin choice could not be saved: ") +
                                   registry.LastError());
        registry.CloseKey();
    }
    m_skinDir = skinDir;
    try {
        m_loadSkin();
    } catch (const std::exception& e) {
        Messages().ShowMessage(QString::fromUtf8(e.what()));
        return;
    }
    accept();
}

bool TSelectSkin::eventFilter(QObject* watched, QEvent* event) {
    // The left button chooses; the others only move the selection.
    if (watched == ListBox1->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // Let the list select the row under the pointer first.
        const bool handled = QDialog::eventFilter(watched, event);
        QMetaObject::invokeMethod(this, &TSelectSkin::ListBox1Click, Qt::QueuedConnection);
        return handled;
    }
    if (watched == ListBox1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ListBox1Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
