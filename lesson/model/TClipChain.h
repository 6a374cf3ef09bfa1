#pragma once
// The clips of the movie page, one after another: opens and plays the current
// clip on the player, follows the end-of-clip notices through the lesson
// cursor, and carries out the clip buttons. Everything on screen is left to
// the hooks, so the movie page stays thin and the chain runs in tests against
// a player double.
//
// ClipOpen says whether the end of the open clip continues the chain; every
// stop by the learner or by a change of button clears it before stopping, so
// such a stop never advances anything.
#include <QString>
#include <functional>

#include "lesson/model/TLessonCursor.h"
#include "platform/TMediaPlayer.h"

class TClipChain {
public:
    struct THooks {
        // Lay out the clip area for this clip (framed for clip type 257,
        // full-motion otherwise) and let it paint.
        std::function<void(const TClipOutline& clip)> LayOut;
        // Show the clip panel and let it paint before the clip opens.
        std::function<void()> ShowPanel;
        // A directory row was marked done: repaint it, and mark its button
        // in the button list when it is on the page shown.
        std::function<void(int row)> RowMarked;
        // The chain moves on to another button, as if the learner had chosen
        // its directory row (the screen's GoToButton).
        std::function<void(int page, int button)> GoToButton;
        // The last button is done: hide the clip area, show the
        // training-complete window.
        std::function<void()> TrainingComplete;
        // The learner stopped the clip: hide the clip area.
        std::function<void()> HideClipArea;
        // A clip could not be played: show the media layer's text.
        std::function<void(const QString& text)> ShowError;
    };

    // streamDir is used as a prefix as it is (it ends with a separator).
    TClipChain(TLessonCursor& cursor, TMediaPlayer& player, QString streamDir, THooks hooks);

    bool ClipOpen() const { return m_clipOpen; }
    TLessonCursor& Cursor() { return m_cursor; }

    // The clip file of a clip: StreamDir + FileName + ".avi".
    QString ClipFile(const TClipOutline& clip) const { return m_streamDir + clip.FileName + ".avi"; }

    // Plays the cursor's current clip from its start.
    void PlayCurrentClip();
    // Advances after a clip's end, or starts the button on entering the page.
    void NextClip();
    // The first half of choosing a button: stops a playing clip without
    // advancing and moves the cursor (buttons without clips are marked done
    // and passed over). The screen then selects the row, updates its button
    // list and calls PlayCurrentClip, unless the step completes the training
    // (which this call has already reported).
    TChainStep ChooseButton(int page, int button);

    // The movie page's answer to the player's completion notice.
    void PlayerNotified();
    // The movie page's answer to a clip that cannot be played.
    void PlayerFailed(const QString& text);

    // The clip buttons. Stop and pause with no clip open do nothing.
    void PlayClicked();
    void PauseClicked();
    void StopClicked();
    // Leaving the movie page: stop without a notice and close the player.
    void Leave();

private:
    void ApplyMarks(const TChainStep& step);

    TLessonCursor& m_cursor;
    TMediaPlayer& m_player;
    QString m_streamDir;
    THooks m_hooks;
    bool m_clipOpen = false;
};
