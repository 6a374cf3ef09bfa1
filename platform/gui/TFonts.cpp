#include "platform/gui/TFonts.h"

#include <QApplication>
#include <QFont>

#include "platform/TFontNames.h"

void UseWindowsFonts() {
    for (const QString& family : WindowsFontFamilies())
        QFont::insertSubstitutions(family, WindowsFontSubstitutes(family));
    QFont dialogFont(QStringLiteral("MS Sans Serif"));
    dialogFont.setPointSize(8);
    QApplication::setFont(dialogFont);
}
