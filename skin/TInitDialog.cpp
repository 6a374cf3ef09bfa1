#include "skin/TInitDialog.h"

#include "app/TForm1.h"
#include "platform/TIniFile.h"
#include "platform/TMessages.h"
#include "platform/TPaths.h"
#include "platform/TRegistry.h"
#include "skin/TWindowPlacement.h"
#include "widgets/TGifImage.h"

TInitDialog::TInitDialog(QWidget* parent) : QWidget(parent) {
    MakeSkinnedWindow(this, QSize(306, 209));
    Background = new TGifImage(this);
    Background->move(0, 0);
    Background->SetAutoSize(true);
    FormCreate();
    CentreOnScreen(this);
}

void TInitDialog::FormCreate() {
    TRegistry registry;
    if (!registry.OpenKeyReadOnly(QString::fromLatin1(ConfigurationKey))) {
        Messages().ShowMessage(QStringLiteral("Registry entry not found for the home directory"));
        return;
    }
    const QString graphicDir =
        WithSeparator(FromStoredPath(registry.ReadString(QStringLiteral("GraphicDir"))));
    const QString skinDir = FromStoredPath(registry.ReadString(QStringLiteral("SkinDir")));
    registry.CloseKey();
    const QString skin = WithSeparator(graphicDir + skinDir);
    const TIniFile scheme(ResolvePath(skin + QStringLiteral("scheme.ini")));
    Background->SetFileName(ResolvePath(
        skin + FromStoredPath(scheme.ReadString(QStringLiteral("Init Screen"), QStringLiteral("background"),
                                                QStringLiteral("init.gif")))));
    if (!Background->IsEmpty())
        resize(Background->PictureSize());
}
