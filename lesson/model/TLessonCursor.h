#pragma once
// Where the learner stands in a course and what is marked done, free of any
// window: the directory rows (one per page, then one per button of it), the
// current page, button and clip, the marks of every directory and challenge
// row, and the rule that picks what plays when a clip ends.
//
// A directory row's object is the page number for a page row and
// button * 65536 + page for a button row; page rows carry state 20 and are
// never marked, button rows carry their mark (0 or 1).
//
// Marks: one byte per directory row, then one per challenge row, kept whole
// for the run however many rows there are; the assignments table cuts the
// stored text to the 255 bytes its length byte can say.
#include <QByteArray>
#include <QString>
#include <vector>

#include "lesson/model/TCourseOutline.h"

struct TDirectoryRow {
    QString Text;
    int Object = 0;
    int State = 0;
};

// What the screen does after a cursor move.
struct TChainStep {
    enum class TAction {
        PlayClip,        // play CurrentClip() of the current button
        GoToButton,      // go to (Page, Button) as if the learner had chosen its row
        TrainingComplete // the course's last button is done
    };
    TAction Action = TAction::PlayClip;
    int Page = 0;
    int Button = 0;
    // Directory rows marked done by this move, in order (their state and
    // byte are already 1).
    std::vector<int> MarkedRows;
};

class TLessonCursor {
public:
    static constexpr int PageRowState = 20;
    static constexpr int ButtonFactor = 65536;

    static int ButtonObject(int page, int button) { return button * ButtonFactor + page; }
    static int PageOfObject(int object) { return object % ButtonFactor; }
    static int ButtonOfObject(int object) { return object / ButtonFactor; }

    TLessonCursor(TCourseOutline outline, int challengeCount);

    const TCourseOutline& Outline() const { return m_outline; }
    // A course whose index has no pages cannot be shown: the screen refuses it.
    bool HasPages() const { return m_outline.PageCount() > 0; }

    const std::vector<TDirectoryRow>& Rows() const { return m_rows; }
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    int ChallengeCount() const { return static_cast<int>(m_challengeStates.size()); }
    // 0-based row of a page's button, of the page row when button is 0; -1
    // when there is no such row.
    int RowOf(int page, int button) const;

    int CurrentPage() const { return m_page; }
    int CurrentButton() const { return m_button; }
    int CurrentClip() const { return m_clip; }
    // The clip to play now, or null when the current position has none.
    const TClipOutline* CurrentClipInfo() const { return m_outline.Clip(m_page, m_button, m_clip); }
    // Entering the movie page: the current button starts again from clip 1 at
    // the next NextClip.
    void RestartButton() { m_clip = 0; }

    const QByteArray& Marks() const { return m_marks; }
    // Applies a stored bookmark text: empty clears every mark; exactly one
    // byte per directory row restores those and clears the challenge marks;
    // any other length is read as directory and challenge bytes, missing
    // bytes counting as 0. A non-zero byte of a markable row counts as 1.
    void RestoreMarks(const QByteArray& stored);
    // The mark of a button (0 or 1); 0 for a button that does not exist.
    int ButtonMark(int page, int button) const;
    int ChallengeState(int row) const;

    // Right-click on a directory row: false (nothing changed) for a page row
    // or a row that does not exist.
    bool ToggleRow(int row);
    bool ToggleChallenge(int row);
    // A challenge answered right.
    void MarkChallenge(int row);

    // The learner (or the chain) chose a button; button 0 means the page's
    // first. Buttons without clips are marked done and passed over, so the
    // step plays a clip or completes the training.
    TChainStep GoToButton(int page, int button);
    // A clip ended (or the movie page was entered): the next clip of the
    // button, else the button is marked done and the next directory row is
    // chosen, else the training is complete.
    TChainStep NextClip();

private:
    void MarkRow(int row, TChainStep& step);
    // From the row after `row`: the first button row, or the first button of
    // a page row, that exists; false when the directory ends first.
    bool NextTarget(int row, int& page, int& button) const;

    TCourseOutline m_outline;
    std::vector<TDirectoryRow> m_rows;
    std::vector<int> m_pageRows; // row of each page's page row, by page - 1
    std::vector<int> m_challengeStates;
    QByteArray m_marks;
    int m_page = 1;
    int m_button = 1;
    int m_clip = 0;
};
