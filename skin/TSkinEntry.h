#pragma once
// What a skin dresses, declared by whoever owns it: the main window, each
// screen module and the program entry (for the secondary windows). The loader
// walks the steps below in their order and, within a step, the entries in the
// order they were declared. A failure ends the load at its entry; everything
// applied before stays applied.
#include <functional>
#include <vector>

#include "skin/TSkinScheme.h"

enum class TSkinStep {
    MoviePage,               // the movie-button control and the page pointer
    FeedbackPictures,        // the correct and incorrect pictures, kept in memory
    BackgroundNames,         // each screen's background file name
    CurrentBackground,       // the screen on show gets its new background at once
    MainWindowFaces,         // the main window's buttons
    SecondaryWindowFaces,    // the buttons of the side and modal windows
    MovieFrame,              // the frame around the clip panel
    SecondaryWindowPictures, // the pictures of the side and modal windows
    MainWindowColour,
    LayoutValues, // clip and frame positions of both clip sizes
    PleaseWait,
    CourseList,
    AboutSkin,
    Coordinates, // coordinate lists of the movie page
};

struct TSkinEntry {
    TSkinStep Step;
    std::function<void(const TSkinScheme&)> Apply;
};

using TSkinEntries = std::vector<TSkinEntry>;

// A button face named by a key of the scheme.
TSkinEntry FaceEntry(TSkinButton* button, const char* section, const char* key,
                     TSkinStep step = TSkinStep::MainWindowFaces);
// A picture named by a key of the scheme.
TSkinEntry PictureEntry(TGifImage* picture, const char* section, const char* key,
                        TSkinStep step = TSkinStep::SecondaryWindowPictures);
