#pragma once
// The glossary list: the open course's terms, listed once per run beside the
// main window. A click on a term shows it with its definition in the term
// window and hides the list.
#include <QString>
#include <QWidget>
#include <functional>

class QLabel;
class TSpecialListBox;
class TGlossaryScreen;

// A definition without its brace groups: text from a "{" to the next "}" is
// never shown. A "{" with no "}" after it ends the removal there, leaving the
// rest as it is.
QString RemoveBraceGroups(QString text);

class TGlossaryForm : public QWidget {
    Q_OBJECT
public:
    explicit TGlossaryForm(QWidget* parent = nullptr);

    QWidget* Panel1;
    QLabel* lblTitle;
    TSpecialListBox* ListBox1;

    // The term window it opens, and where a term's definition comes from.
    TGlossaryScreen* TermWindow = nullptr;
    std::function<QString(const QString& term)> GetTerm;

    void SetCourseTitle(const QString& title);
    void ListBox1Click();
    // left + 460, top + 30 of the main window; also while it is dragged.
    void FollowMainWindow();

protected:
    void showEvent(QShowEvent* event) override;
};
