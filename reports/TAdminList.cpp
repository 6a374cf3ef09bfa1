#include "reports/TAdminList.h"

#include <QStringList>
#include <algorithm>

#include "data/TAssignment.h"
#include "data/TTesting.h"
#include "data/TUser.h"

QString AdminScoreText(int percent) {
    return percent < 0 ? QString() : QString::number(percent) + QLatin1Char('%');
}

std::vector<TAdminListRow> BuildAdminList(TUser& users, TAssignment& assignments, TTesting& testing) {
    QStringList listed;
    auto previousStart = std::exchange(assignments.OnListStart, [&listed] { listed.clear(); });
    auto previousItem =
        std::exchange(assignments.OnListItem, [&listed](const QString& id, const QString&) { listed << id; });
    auto previousEnd = std::exchange(assignments.OnListEnd, nullptr);

    std::vector<TAdminListRow> rows;
    const int next = users.GetNextId();
    for (int id = 1; id < next; ++id) {
        if (!users.UserExistsByID(id))
            continue;
        UserInfoStruct info;
        info.ID = id;
        users.GetUser(info);
        TAdminListRow user;
        user.UserName = info.UserName;
        user.Name = info.FirstName + QLatin1Char(' ') + info.LastName;
        user.Password = info.Password;
        rows.push_back(user);

        listed.clear();
        assignments.ListAssignmentsByTypes(id, TAssignment::TestProduct);
        const QStringList ids = listed;
        for (qsizetype i = 0; i < ids.size(); ++i) {
            const int assignmentId = ids[i].trimmed().toInt();
            if (!assignments.GoToRecord(assignmentId))
                continue;
            // The second and later assignments get rows of their own.
            if (i > 0)
                rows.push_back(user);
            TAdminListRow& row = rows.back();
            row.HasAssignment = true;
            row.AssignmentId = assignmentId;
            // A test gone from the tests store leaves the course blank.
            row.Course =
                testing.OpenTest(assignments.GetProdId().trimmed()) == 0 ? testing.GetOpenTitle() : QString();
            row.LastPost = AdminScoreText(assignments.GetLastPost());
            row.BestPost = AdminScoreText(assignments.GetBestPost());
            testing.CloseTest();
        }
    }
    assignments.OnListStart = std::move(previousStart);
    assignments.OnListItem = std::move(previousItem);
    assignments.OnListEnd = std::move(previousEnd);

    // Ordered by user name as the list sorts its first column: plain,
    // case-sensitive text order, a user's rows keeping their order.
    std::stable_sort(rows.begin(), rows.end(), [](const TAdminListRow& a, const TAdminListRow& b) {
        return QString::compare(a.UserName, b.UserName, Qt::CaseSensitive) < 0;
    });
    return rows;
}
