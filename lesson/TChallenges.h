// The challenge window: the open course's simulation questions, one row each
// with a check mark (state 0 open, 1 done). A left click on a row hides the
// window and starts that challenge; a right click toggles the row's mark and
// its byte of the marks string. Placed beside the main window (left + 386,
// top + 30).
//
// The owner wires it up:
//   - SetMarks(&marks): the byte string holding the directory's D bytes, then
//     one byte per challenge row (row r is byte D + r, 0-based);
//   - DirectoryRows: returns D, the number of rows of the directory window;
//   - OnChooseChallenge: a row was chosen (ShowChallenge with its index).
#pragma once

#include <QByteArray>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

#include "testing/model/QuestionAnswer.h"

class QLabel;
class TSpecialListBox;

class TChallenges : public QWidget {
    Q_OBJECT
public:
    static constexpr int OpenState = 0;
    static constexpr int DoneState = 1;
    static constexpr int HeadingState = 20; // never marked

    explicit TChallenges(QWidget* parent = nullptr);

    QWidget* Panel1;
    QLabel* lblTitle;
    TSpecialListBox* ListBox1;

    void SetCourseTitle(const QString& title);
    // Appends a row showing `text` for `entry` with its state (0 or 1); the
    // window keeps the entry (the challenge list) for the run.
    void AddChallenge(const QString& text, const QuestionAnswer& entry, int state);
    void Clear();
    int Count() const;
    const QuestionAnswer& Entry(int row) const { return m_entries.at(size_t(row)); }
    int State(int row) const;

    void SetMarks(QByteArray* marks) { m_marks = marks; }
    std::function<int()> DirectoryRows;
    std::function<void(int row)> OnChooseChallenge;

    // Row r's state and its byte D + r of the marks string; a marks string
    // too short for the row grows with zero bytes rather than losing the mark.
    void SetMark(int row, int state);
    // What a right click on a row does: state xor 1, except on a heading row
    // or outside the rows.
    void ToggleMark(int row);
    // Every row's state from its byte of the marks string (missing bytes are
    // 0), as the marks were restored when the course opened.
    void ApplyMarks();

    void SetAnchor(QWidget* mainWindow) { m_anchor = mainWindow; }
    void FollowAnchor();

    // What a left click on the list does: hide, then start the selected row.
    void ListBox1Click();
    void ListBox1MouseUp(Qt::MouseButton button, int x, int y);

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::vector<QuestionAnswer> m_entries; // one per row, in row order
    QByteArray* m_marks = nullptr;
    QPointer<QWidget> m_anchor;
};
