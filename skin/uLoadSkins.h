// The skin loader: reads a skin's scheme.ini and dresses the main window and
// the secondary windows with its pictures, button faces, colours and layout.
#pragma once

#include <QRect>
#include <QString>

class TForm1;

// Four decimal integers "left,top,width,height": the text before the first
// comma, between the first and second, between the second and third, and all
// after the third. Throws TSkinError "'<part>' is not a valid integer value".
QRect ParseCoordinateList(const QString& text);

// Loads the skin root + skinDir (both end in "/"). A button face that cannot be
// loaded, an unreadable feedback picture or a bad coordinate list throws
// TSkinError and ends the load there; what was applied before stays applied.
void LoadSkin(TForm1& form, const QString& root, const QString& skinDir);
