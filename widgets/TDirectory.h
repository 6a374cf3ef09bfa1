// The directory window of the movie page: the open course's pages and buttons as one
// list. A click on a row hides the window and reports the row's page and button; a right
// click on a button row toggles its done mark.
//
// Rows: page rows carry object = page and state 20; button rows object = button × 65536
// + page and state 0 or 1 (unmarked, marked). The owner wires the window up:
//   - SetMarks(&marks): the byte string holding one mark byte per directory row;
//   - CurrentPage: returns the page the movie page shows;
//   - SetMovieButtons(control): the movie-button control whose marks follow the page;
//   - SetAnchor(mainWindow): the window it is placed beside (left + 300, top + 30).
#pragma once

#include <QByteArray>
#include <QLabel>
#include <QPointer>
#include <QWidget>

#include <functional>

#include "widgets/TMovieButtonX.h"
class TSpecialListBox;

class TDirectory : public QWidget {
    Q_OBJECT
public:
    explicit TDirectory(QWidget* parent = nullptr);

    void Clear();
    void AddPageRow(const QString& title, int page);
    void AddButtonRow(const QString& title, int page, int button, int mark);
    void SetCourseTitle(const QString& title);

    void SetMarks(QByteArray* marks) { marks_ = marks; }
    void SetMovieButtons(TMovieButtonX* control) { movieButtons_ = control; }
    void SetAnchor(QWidget* mainWindow) { anchor_ = mainWindow; }
    // Moves the window to its place beside the anchor (also done each time it is shown).
    void FollowAnchor();
    // Toggles the mark of `row` as a right click on it does.
    void ToggleMark(int row);

    std::function<int()> CurrentPage;
    // A row was chosen: button is 0 for a page row.
    std::function<void(QObject* sender, int page, int button)> OnGoToButton;

    QWidget* Panel1;
    QLabel* lblTitle;
    TSpecialListBox* ListBox1;

protected:
    void showEvent(QShowEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ListBox1Click();
    void ListBox1MouseUp(Qt::MouseButton button, int x, int y);

    QByteArray* marks_ = nullptr;
    QPointer<TMovieButtonX> movieButtons_;
    QPointer<QWidget> anchor_;
};
