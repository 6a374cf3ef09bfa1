// altavo-demoskin OUTDIR: draws the demo skins "Default" and "Compact" into
// OUTDIR/Default and OUTDIR/Compact (scheme.ini, GIF pictures, BMP faces, info.txt).
#include "ScreenPictures.h"
#include "SkinBuilder.h"
#include "SkinFaces.h"
#include "SkinTheme.h"
#include "WindowPictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

namespace {

QStringList MakeSkin(const TSkinTheme& theme, const QString& root) {
    const QString dir = root + "/" + theme.name;
    QDir(dir).removeRecursively(); // a fresh skin, no files of an older run
    TSkinBuilder skin(theme, dir);
    DrawScreenBackgrounds(skin);
    DrawButtonFaces(skin);
    DrawWindowPictures(skin);
    WriteSchemeValues(skin);
    WriteInfoText(skin);
    return skin.Finish();
}

} // namespace

int main(int argc, char** argv) {
    // Drawing needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        err << "usage: altavo-demoskin OUTDIR\n";
        return 2;
    }
    int failures = 0;
    for (const TSkinTheme& theme : {DefaultTheme(), CompactTheme()}) {
        for (const QString& error : MakeSkin(theme, args[1])) {
            err << theme.name << ": " << error << "\n";
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
