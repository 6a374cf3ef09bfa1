#pragma once
// The course selection screen (5) and course start: every course is assigned
// to the learner, the list shows the learner's courses, and choosing one opens
// its tables, its test and its media before the genesis screen.
#include "shell/TScreenModule.h"

class QListWidget;
class TSkinButton;

class TCatalogueScreen : public TScreenModule {
    Q_OBJECT
public:
    explicit TCatalogueScreen(TForm1& form);

    QListWidget* CourseListbox;
    TSkinButton* btnSelectCourse;

    void Enter() override;
    void FillCourseList();
    // Opens the selected course; false when it stays on screen 5.
    bool StartSelectedCourse();

    // The assignment list events of the learner's course listing.
    void CourseListStart();
    void CourseListItem(const QString& productId);
    void CourseListEnd();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // True when the course's medium is present; the learner may cancel.
    bool CheckMedia(const QString& courseId, const QString& title, const QString& genFile);
};
