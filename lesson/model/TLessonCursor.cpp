#include "TLessonCursor.h"

#include <algorithm>

TLessonCursor::TLessonCursor(TCourseOutline outline, int challengeCount)
    : m_outline(std::move(outline)), m_challengeStates(std::max(challengeCount, 0), 0) {
    for (int p = 1; p <= m_outline.PageCount(); ++p) {
        m_pageRows.push_back(RowCount());
        m_rows.push_back({m_outline.PageTitle(p), p, PageRowState});
        for (int b = 1; b <= m_outline.ButtonCount(p); ++b)
            m_rows.push_back({m_outline.ButtonTitle(p, b), ButtonObject(p, b), 0});
    }
    m_marks = QByteArray(RowCount() + ChallengeCount(), '\0');
}

int TLessonCursor::RowOf(int page, int button) const {
    if (page < 1 || page > m_outline.PageCount() || button < 0 || button > m_outline.ButtonCount(page))
        return -1;
    return m_pageRows[page - 1] + button;
}

void TLessonCursor::RestoreMarks(const QByteArray& stored) {
    const int d = RowCount();
    const int k = ChallengeCount();
    const auto byteAt = [&stored](int i) { return i < stored.size() && stored[i] != 0 ? 1 : 0; };
    if (stored.isEmpty()) {
        m_marks = QByteArray(d + k, '\0');
    } else {
        // Page-row bytes are kept as stored; they are never read.
        m_marks = stored.left(d + k);
        m_marks.append(QByteArray(d + k - m_marks.size(), '\0'));
    }
    for (int i = 0; i < d; ++i) {
        if (m_rows[i].State == PageRowState)
            continue;
        m_rows[i].State = byteAt(i);
        m_marks[i] = static_cast<char>(m_rows[i].State);
    }
    const bool directoryOnly = stored.size() == d;
    for (int j = 0; j < k; ++j) {
        m_challengeStates[j] = directoryOnly ? 0 : byteAt(d + j);
        m_marks[d + j] = static_cast<char>(m_challengeStates[j]);
    }
}

int TLessonCursor::ButtonMark(int page, int button) const {
    const int row = button >= 1 ? RowOf(page, button) : -1;
    return row < 0 ? 0 : m_rows[row].State;
}

int TLessonCursor::ChallengeState(int row) const {
    return row >= 0 && row < ChallengeCount() ? m_challengeStates[row] : 0;
}

bool TLessonCursor::ToggleRow(int row) {
    if (row < 0 || row >= RowCount() || m_rows[row].State == PageRowState)
        return false;
    m_rows[row].State ^= 1;
    m_marks[row] = static_cast<char>(m_rows[row].State);
    return true;
}

bool TLessonCursor::ToggleChallenge(int row) {
    if (row < 0 || row >= ChallengeCount())
        return false;
    m_challengeStates[row] ^= 1;
    m_marks[RowCount() + row] = static_cast<char>(m_challengeStates[row]);
    return true;
}

void TLessonCursor::MarkChallenge(int row) {
    if (row < 0 || row >= ChallengeCount())
        return;
    m_challengeStates[row] = 1;
    m_marks[RowCount() + row] = 1;
}

void TLessonCursor::MarkRow(int row, TChainStep& step) {
    if (row < 0 || row >= RowCount() || m_rows[row].State == PageRowState)
        return;
    m_rows[row].State = 1;
    m_marks[row] = 1;
    step.MarkedRows.push_back(row);
}

bool TLessonCursor::NextTarget(int row, int& page, int& button) const {
    for (int r = row + 1; r < RowCount(); ++r) {
        page = PageOfObject(m_rows[r].Object);
        button = ButtonOfObject(m_rows[r].Object);
        if (button == 0) {
            // A page row leads to the page's first button, if it has one.
            if (m_outline.ButtonCount(page) == 0)
                continue;
            button = 1;
        }
        return true;
    }
    return false;
}

TChainStep TLessonCursor::GoToButton(int page, int button) {
    TChainStep step;
    m_page = page;
    m_button = button == 0 ? 1 : button;
    m_clip = 1;
    // A button without clips is done at once; so is a page without buttons,
    // which has no row of its own to mark.
    while (m_outline.ClipCount(m_page, m_button) == 0) {
        const int row =
            m_outline.ButtonCount(m_page) >= m_button ? RowOf(m_page, m_button) : RowOf(m_page, 0);
        if (row < 0) { // a page that does not exist: nothing to play
            step.Action = TChainStep::TAction::TrainingComplete;
            return step;
        }
        MarkRow(row, step);
        int nextPage = 0, nextButton = 0;
        if (!NextTarget(row, nextPage, nextButton)) {
            step.Action = TChainStep::TAction::TrainingComplete;
            return step;
        }
        m_page = nextPage;
        m_button = nextButton;
    }
    step.Action = TChainStep::TAction::PlayClip;
    return step;
}

TChainStep TLessonCursor::NextClip() {
    ++m_clip;
    if (m_outline.ClipCount(m_page, m_button) >= m_clip)
        return {TChainStep::TAction::PlayClip, 0, 0, {}};
    TChainStep step;
    const int row = RowOf(m_page, m_button);
    MarkRow(row, step);
    if (row < 0 || !NextTarget(row, step.Page, step.Button)) {
        step.Action = TChainStep::TAction::TrainingComplete;
        return step;
    }
    step.Action = TChainStep::TAction::GoToButton;
    return step;
}
