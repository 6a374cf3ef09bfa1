#pragma once
// One screen of the main window: its number, the scheme entry naming its
// background, the controls it owns and its skin entries, and its enter and
// leave routines. The switcher (TForm1::ShowScreen) sets CurrentScreen and the
// background, calls Enter, and on leaving hides every owned control before
// calling Leave. A module stays thin: its work lives in GUI-free models and
// the table objects.
#include <QList>
#include <QObject>
#include <QString>

#include "skin/TSkinEntry.h"

class QWidget;
class TForm1;

// The scheme entry naming a screen's background picture.
struct TBackgroundEntry {
    const char* Section;
    const char* Key;
    const char* Default;
};

class TScreenModule : public QObject {
public:
    // Registers the module with the main window, which owns it from then on.
    TScreenModule(TForm1& form, int screen, TBackgroundEntry background);

    int Screen() const { return m_screen; }
    // The background file name, as the skin last named it.
    const QString& BackgroundName() const { return m_backgroundName; }
    // The background the switcher shows on entering; by default the one above.
    virtual QString EnterBackground() const { return m_backgroundName; }
    // False for a screen whose new background waits for its next showing
    // after a skin change.
    bool BackgroundFollowsSkin() const { return m_backgroundFollowsSkin; }
    const QList<QWidget*>& Controls() const { return m_controls; }
    const TSkinEntries& SkinEntries() const { return m_skin; }

    // Called after CurrentScreen and the background are set.
    virtual void Enter() = 0;
    // Called after the owned controls are hidden: what hiding does not cover.
    virtual void Leave() {}

protected:
    // A control of the main window owned by this screen: named, hidden now and
    // on every leave.
    template <typename T> T* Own(T* control, const char* name) {
        AddControl(control, name);
        return control;
    }
    void AddControl(QWidget* control, const char* name);
    void AddSkin(TSkinEntry entry) { m_skin.push_back(std::move(entry)); }
    // A press of either Enter key: boxes whose Enter acts like a button.
    static bool IsEnterPress(const QEvent* event);
    void KeepBackgroundUntilShown() { m_backgroundFollowsSkin = false; }

    TForm1& f;

private:
    int m_screen;
    QString m_backgroundName;
    bool m_backgroundFollowsSkin = true;
    QList<QWidget*> m_controls;
    TSkinEntries m_skin;
};
