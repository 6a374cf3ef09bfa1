// Button faces of every skinned button, and the plain values of scheme.ini
// (colours, fonts, layout values, links).
#pragma once

class TSkinBuilder;

void DrawButtonFaces(TSkinBuilder& skin);
void WriteSchemeValues(TSkinBuilder& skin);
void WriteInfoText(TSkinBuilder& skin);
