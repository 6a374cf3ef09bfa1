// Faces that belong to the program rather than to a skin.
#pragma once

#include <QSize>
#include <QString>

class TSkinButton;

// Draws a captioned face in the product's own colours and loads it into the button.
void LoadBuiltInFace(TSkinButton* button, QSize size, const QString& caption);
