#include "shell/TScreenModule.h"

#include <QKeyEvent>
#include <QWidget>

#include "shell/TForm1.h"

TScreenModule::TScreenModule(TForm1& form, int screen, TBackgroundEntry background)
    : f(form), m_screen(screen), m_backgroundName(QString::fromLatin1(background.Default)) {
    AddSkin({TSkinStep::BackgroundNames, [this, background](const TSkinScheme& s) {
                 m_backgroundName =
                     s.String(background.Section, background.Key, QString::fromLatin1(background.Default));
             }});
    form.AddScreen(this);
}

void TScreenModule::AddControl(QWidget* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    control->hide();
    m_controls << control;
}

bool TScreenModule::IsEnterPress(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}
