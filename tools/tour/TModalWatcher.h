// Watches for modal windows while the tour acts: the one a step expects is
// handed to the step's handler (to photograph it and click its button); any
// other, such as an unexpected message box, is photographed, recorded and
// closed, so a click never hangs the tour.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>

class TModalWatcher : public QObject {
    Q_OBJECT
public:
    using THandler = std::function<void(QWidget*)>;
    // `unexpected` receives each modal window nobody asked for before it is closed.
    explicit TModalWatcher(THandler unexpected);

    // Runs `action`; the first modal window of class `className` that opens
    // meanwhile goes to `handler`, then is closed if still open. Returns true
    // when that window appeared (always true for an empty class name).
    bool Act(const std::function<void()>& action, const QString& className = {}, THandler handler = {});

private:
    void Poll();

    THandler m_unexpected;
    QString m_expectedClass;
    THandler m_handler;
    bool m_seen = false;
    bool m_handling = false;
    QTimer m_timer;
};
