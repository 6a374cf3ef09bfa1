// The course's interactive exercise program, started from the movie page.
#include <QFileDialog>
#include <QFileInfo>

#include "data/TCourses.h"
#include "platform/TRegistry.h"
#include "platform/gui/TShell.h"
#include "shell/TForm1.h"
#include "widgets/TGifImage.h"

namespace {
QString AskForExecutable(QWidget* parent, const QString& title) {
    return QFileDialog::getOpenFileName(parent, title);
}
} // namespace

// Brings the program's window forward when it runs, else starts it: from the
// course's default path, else from the path stored for it in the registry,
// else from a file the learner picks (remembered for next time).
void TForm1::InteractFieldClick() {
    if (ClipOpen) {
        MoviePanel->hide();
        MovieFrame->hide();
        ClipOpen = false;
    }
    if (!Courses->GoToCourseId(CurrentCourseId))
        return;
    const QString className = Courses->GetIntClsName().trimmed();
    if (className.isEmpty()) {
        showMinimized();
        return;
    }
    if (ShowWindowOfClass(className)) {
        showMinimized();
        return;
    }
    const QString defaultPath = Courses->GetIntDefPath().trimmed();
    if (!defaultPath.isEmpty() && QFileInfo::exists(defaultPath)) {
        showMinimized();
        ShellOpen(defaultPath);
        return;
    }
    const QString name = Courses->GetIntName().trimmed();
    TRegistry registry;
    if (!registry.OpenKey(QString::fromLatin1(ConfigurationKey) + QStringLiteral("\\Interact"), true))
        return;
    QString path = registry.ReadString(name);
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        const QString title = QStringLiteral("Find executable for ") + name;
        path = ChooseExecutable ? ChooseExecutable(title) : AskForExecutable(this, title);
        if (path.isEmpty())
            return;
        registry.WriteString(name, path);
    }
    showMinimized();
    ShellOpen(path);
}
