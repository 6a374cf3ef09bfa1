#include "SkinTheme.h"

TSkinTheme DefaultTheme() {
    TSkinTheme t;
    t.name = "Default";
    t.description = "Plum and gold, the look Altavo ships with.";
    t.deep = QColor(52, 38, 56);
    t.base = QColor(99, 82, 99); // the main window's own colour
    t.raised = QColor(122, 102, 124);
    t.inset = QColor(74, 58, 78);
    t.accent = QColor(214, 172, 84);
    t.accentDark = QColor(138, 100, 34);
    t.text = QColor(250, 244, 236);
    t.heading = QColor(246, 226, 180);
    t.buttonText = QColor(44, 28, 18);
    t.good = QColor(96, 176, 110);
    t.bad = QColor(196, 84, 78);
    t.sansFamily = "Nimbus Sans";
    t.headingFamily = "C059";
    t.cornerRadius = 7;
    t.large = {{242, 160}, {250, 171}, {140, 42}, {147, 53}};
    t.small = {{282, 170}, {290, 181}, {152, 52}, {160, 63}};
    t.motionMovie = {11, 26};
    t.movieButtonRect = {18, 378, 373, 95};
    t.exitRect = {570, 450, 45, 25};
    t.listColour = QColor(153, 141, 162);
    t.listFontColour = QColor(255, 255, 255);
    t.listFontSize = 13;
    t.listFont = "Nimbus Roman";
    t.pleaseWaitLogoSpeed = 100;
    return t;
}

TSkinTheme CompactTheme() {
    TSkinTheme t;
    t.name = "Compact";
    t.description = "Slate and amber, with the lesson buttons beside the clip.";
    t.deep = QColor(22, 42, 52);
    t.base = QColor(38, 70, 83);
    t.raised = QColor(58, 96, 110);
    t.inset = QColor(28, 54, 64);
    t.accent = QColor(244, 162, 97);
    t.accentDark = QColor(170, 92, 40);
    t.text = QColor(236, 246, 245);
    t.heading = QColor(178, 226, 222);
    t.buttonText = QColor(30, 24, 20);
    t.good = QColor(82, 183, 136);
    t.bad = QColor(231, 111, 81);
    t.sansFamily = "DejaVu Sans";
    t.headingFamily = "URW Gothic";
    t.cornerRadius = 3;
    t.large = {{152, 120}, {160, 131}, {24, 44}, {32, 55}};
    t.small = {{152, 120}, {160, 131}, {24, 44}, {32, 55}};
    t.motionMovie = {10, 30};
    t.movieButtonRect = {376, 52, 248, 250};
    t.exitRect = {580, 452, 40, 20};
    t.listColour = QColor(58, 96, 110);
    t.listFontColour = QColor(236, 246, 245);
    t.listFontSize = 11;
    t.listFont = "DejaVu Sans";
    t.pleaseWaitLogoSpeed = 150;
    t.aboutSkinLink = false;
    t.lowerCaseSections = true;
    t.hexColours = true;
    t.defaultBackgroundNames = true;
    return t;
}
