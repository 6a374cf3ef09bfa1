// Pictures of the secondary windows, the animated logos, the clip frames, the
// feedback pictures and the movie-button control's files.
#pragma once

class TSkinBuilder;

void DrawWindowPictures(TSkinBuilder& skin);
