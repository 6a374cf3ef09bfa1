// The two demo skins differ in colours, type, layout values and how their
// scheme.ini is spelled; everything else is drawn by the same code.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>

struct TLayoutValues {
    QPoint genesisFrame, genesisMovie, movieFrame, movie;
};

struct TSkinTheme {
    QString name;        // directory name
    QString description; // shown on the about-skin picture and in info text
    // Palette
    QColor deep;       // darkest tone: title bar, frames
    QColor base;       // screen background
    QColor raised;     // panels
    QColor inset;      // wells behind lists and boxes
    QColor accent;     // buttons and highlights
    QColor accentDark; // button edges
    QColor text;       // text on dark tones
    QColor heading;    // headings
    QColor buttonText; // captions on buttons
    QColor good, bad;  // feedback pictures
    QString sansFamily, headingFamily;
    int cornerRadius = 6;

    // scheme.ini values
    TLayoutValues large, small;
    QPoint motionMovie;
    QRect movieButtonRect;
    QRect exitRect;
    QColor listColour, listFontColour;
    int listFontSize = 12;
    QString listFont;
    int pleaseWaitLogoSpeed = 100;
    bool aboutSkinLink = true;
    // spelling: lower-case section names and "0x" colours (Compact)
    bool lowerCaseSections = false;
    bool hexColours = false;
    // Compact relies on the default background file names and leaves those keys out.
    bool defaultBackgroundNames = false;
};

TSkinTheme DefaultTheme();
TSkinTheme CompactTheme();
