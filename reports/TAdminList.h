#pragma once
// The administrator list without a screen: one row per user without test
// assignments, one row per test assignment otherwise, ordered by user name as
// the administration screen shows it. The screen and the student log build
// their rows here.
#include <QString>
#include <vector>

class TAssignment;
class TTesting;
class TUser;

struct TAdminListRow {
    QString UserName;
    QString Name; // first name + " " + last name
    QString Password;
    // False for a user without test assignments: course and scores stay blank.
    bool HasAssignment = false;
    int AssignmentId = -1;
    QString Course;   // the test's title; blank for a test gone from the store
    QString LastPost; // "80%", blank until a post-test is scored
    QString BestPost;
};

// Reads every user and their test assignments. The assignment object's list
// events are borrowed for the run and given back afterwards; a test open in
// `testing` is closed.
std::vector<TAdminListRow> BuildAdminList(TUser& users, TAssignment& assignments, TTesting& testing);

// A score as the list shows it: "80%", or blank while none is recorded.
QString AdminScoreText(int percent);
