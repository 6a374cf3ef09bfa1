// The full-window backgrounds of every screen.
#pragma once

class TSkinBuilder;

void DrawScreenBackgrounds(TSkinBuilder& skin);
