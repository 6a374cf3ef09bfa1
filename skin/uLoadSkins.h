// The skin loader: reads a skin's scheme.ini and applies it to everything that
// declared what the skin dresses (see TSkinEntry.h).
#pragma once

#include <QRect>
#include <QString>

#include "skin/TSkinEntry.h"

// Four decimal integers "left,top,width,height": the text before the first
// comma, between the first and second, between the second and third, and all
// after the third. Throws TSkinError "'<part>' is not a valid integer value".
QRect ParseCoordinateList(const QString& text);

// Applies the skin in skinDirectory (ending in "/") step by step. A button face
// that cannot be loaded, an unreadable feedback picture or a bad coordinate list
// throws TSkinError and ends the load there; what was applied before stays.
void LoadSkin(const TSkinEntries& entries, const QString& skinDirectory);
