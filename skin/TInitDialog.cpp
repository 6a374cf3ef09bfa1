#include "skin/TInitDialog.h"

#include "platform/TConfiguration.h"
#include "platform/TIniFile.h"
#include "platform/TMessages.h"
#include "platform/TPaths.h"
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
    TConfiguration configuration;
    if (!ReadConfiguration(configuration)) {
        Messages().ShowMessage(QStringLiteral("Registry entry not found for the home directory"));
        return;
    }
    const QString skin = WithSeparator(configuration.GraphicDir + configuration.SkinDir);
    const TIniFile scheme(ResolvePath(skin + QStringLiteral("scheme.ini")));
    Background->SetFileName(ResolvePath(
        skin + FromStoredPath(scheme.ReadString(QStringLiteral("Init Screen"), QStringLiteral("background"),
                                                QStringLiteral("init.gif")))));
    if (!Background->IsEmpty())
        resize(Background->PictureSize());
}
