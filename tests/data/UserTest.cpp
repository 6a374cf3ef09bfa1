// The users table: IDs, name and password matching, the network address and
// text the table cannot hold.
#include <QFile>

#include "DataTestSupport.h"
#include "data/TUser.h"

namespace {

UserInfoStruct User(const QString& name, const QString& password = "secret") {
    UserInfoStruct info;
    info.UserName = name;
    info.Password = password;
    info.FirstName = "First " + name;
    info.LastName = "Last";
    info.Company = "Quenvik";
    info.EmpId = 7;
    return info;
}

class UserTest : public DataTest {};

TEST_F(UserTest, IdsContinueFromTheHighestRemainingId) {
    TUser users(Library(), Dir(), Engine);
    EXPECT_TRUE(users.Empty());
    EXPECT_EQ(users.GetNextId(), 1);
    UserInfoStruct a = User("Ann"), b = User("Bob"), c = User("Cy");
    EXPECT_EQ(users.AddUser(a), 1);
    EXPECT_EQ(a.ID, 1);
    EXPECT_EQ(users.AddUser(b), 2);
    EXPECT_EQ(users.AddUser(c), 3);
    users.DeleteUser(2);
    EXPECT_FALSE(users.UserExistsByID(2));
    UserInfoStruct d = User("Dee");
    EXPECT_EQ(users.AddUser(d), 4) << "a gap below the highest ID is not filled";
    users.DeleteUser(4);
    UserInfoStruct e = User("Eve");
    EXPECT_EQ(users.AddUser(e), 4) << "deleting the highest ID lets it be given again";
    EXPECT_FALSE(users.Empty());
    EXPECT_TRUE(Shown.Shown.isEmpty()) << Shown.Shown.join("|").toStdString();
}

TEST_F(UserTest, AddingAnExistingNameWritesNothing) {
    TUser users(Library(), Dir(), Engine);
    UserInfoStruct a = User("Ann");
    ASSERT_EQ(users.AddUser(a), 1);
    UserInfoStruct again = User("Ann", "other");
    EXPECT_EQ(users.AddUser(again), -1);
    EXPECT_EQ(users.GetNextId(), 2);
    EXPECT_EQ(users.Authenticate("Ann", "secret"), 1);
}

TEST_F(UserTest, NamesAreCaseSensitiveAndPasswordsExact) {
    TUser users(Library(), Dir(), Engine);
    UserInfoStruct ann = User("Ann", "Pass word");
    UserInfoStruct lower = User("ann", "x");
    ASSERT_EQ(users.AddUser(ann), 1);
    ASSERT_EQ(users.AddUser(lower), 2);
    struct Case {
        const char* name;
        const char* password;
        int expected;
    } cases[] = {
        {"Ann", "Pass word", 1},   {"ann", "x", 2},     {"Ann", "pass word", -1},
        {"Ann", "Pass word ", -1}, {"Ann", "Pass", -1}, {"ANN", "Pass word", -1},
        {"An", "Pass word", -1},   {"Nobody", "x", -1}, {"Ann", "", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(users.Authenticate(c.name, c.password), c.expected) << c.name << " / " << c.password;

    // A longer name is not the user whose name is its first 20 characters.
    UserInfoStruct full = User("abcdefghijklmnopqrst", "pw");
    ASSERT_EQ(users.AddUser(full), 3);
    EXPECT_EQ(users.Authenticate("abcdefghijklmnopqrstXYZ", "pw"), -1);
    EXPECT_FALSE(users.UserExists("abcdefghijklmnopqrstXYZ"));
    EXPECT_EQ(users.Authenticate("abcdefghijklmnopqrst", "pw"), 3);

    EXPECT_EQ(users.UserbyName("ann"), 2);
    EXPECT_EQ(users.UserbyName("Ann"), 1);
    EXPECT_FALSE(users.UserExists("ANN"));
}

TEST_F(UserTest, RecordRoundTripsAndUpdateKeepsDateAndStatus) {
    TUser users(Library(), Dir(), Engine);
    UserInfoStruct ann = User("Ann");
    ann.SSN = "123-45-6789";
    ann.City = "Zürich";
    ann.Rights = QString(600, 'r');
    ASSERT_EQ(users.AddUser(ann), 1);
    EXPECT_EQ(users.SetStatus(1, 2, 17), 0);
    EXPECT_NE(users.SetStatus(9, 2, 17), 0) << "an absent ID gives the search result";

    UserInfoStruct read;
    read.ID = 1;
    ASSERT_TRUE(users.GetUser(read));
    EXPECT_EQ(read.UserName, "Ann");
    EXPECT_EQ(read.FirstName, "First Ann");
    EXPECT_EQ(read.SSN, "123-45-6789");
    EXPECT_EQ(read.City, "Zürich");
    EXPECT_EQ(read.Rights, QString(600, 'r'));
    EXPECT_EQ(read.Company, "Quenvik");
    EXPECT_EQ(read.EmpId, 7);
    EXPECT_EQ(read.Status, 2);
    EXPECT_EQ(read.Date, QDate::currentDate());

    read.City = "Bern";
    read.Password = "new";
    ASSERT_TRUE(users.UpdateUser(read));
    UserInfoStruct again;
    again.ID = 1;
    ASSERT_TRUE(users.GetUser(again));
    EXPECT_EQ(again.City, "Bern");
    EXPECT_EQ(again.Status, 2);
    EXPECT_EQ(users.Authenticate("Ann", "new"), 1);

    UserInfoStruct absent;
    absent.ID = 42;
    absent.UserName = "untouched";
    EXPECT_FALSE(users.GetUser(absent));
    EXPECT_EQ(absent.UserName, "untouched");
}

TEST_F(UserTest, LastIpIsPaddedToFifteen) {
    TUser users(Library(), Dir(), Engine);
    UserInfoStruct ann = User("Ann");
    ASSERT_EQ(users.AddUser(ann), 1);
    EXPECT_EQ(users.GetLastIp(1), QString(15, ' '));
    ASSERT_TRUE(users.SetLastIp(1, "10.0.0.1"));
    EXPECT_EQ(users.GetLastIp(1), "10.0.0.1       ");
}

TEST_F(UserTest, TextTheTableCannotHoldIsRefused) {
    TUser users(Library(), Dir(), Engine);
    UserInfoStruct polish = User("Łukasz");
    EXPECT_EQ(users.AddUser(polish), -1);
    EXPECT_TRUE(users.LastError().contains("The user name")) << users.LastError().toStdString();
    EXPECT_TRUE(users.LastError().contains("Ł"));
    UserInfoStruct password = User("Ann", "pass€ok✓");
    EXPECT_EQ(users.AddUser(password), -1);
    EXPECT_TRUE(users.LastError().contains("The password"));
    EXPECT_TRUE(users.Empty()) << "nothing written";

    UserInfoStruct euro = User("Ann", "pass€"); // Windows-1252 holds the euro sign
    ASSERT_EQ(users.AddUser(euro), 1);
    EXPECT_EQ(users.Authenticate("Ann", "pass€"), 1);
    EXPECT_EQ(users.Authenticate("Ann", "pass?"), -1);

    UserInfoStruct longName = User(QString(21, 'n'));
    EXPECT_EQ(users.AddUser(longName), -1);
    EXPECT_TRUE(users.LastError().contains("longer than 20"));
}

TEST_F(UserTest, ListsInNameOrIdOrder) {
    TUser users(Library(), Dir(), Engine);
    for (const char* name : {"Zed", "Amy", "Max"}) {
        UserInfoStruct u = User(name);
        users.AddUser(u);
    }
    QList<int> ids;
    int starts = 0, ends = 0;
    users.OnListStart = [&] { ++starts; };
    users.OnListItem = [&](int id) { ids << id; };
    users.OnListEnd = [&] { ++ends; };
    users.ListUsers(0);
    EXPECT_EQ(ids, (QList<int>{2, 3, 1}));
    ids.clear();
    users.ListUsers(3);
    EXPECT_EQ(ids, (QList<int>{1, 2, 3}));
    EXPECT_EQ(starts, 2);
    EXPECT_EQ(ends, 2);
}

TEST_F(UserTest, MissingEntryPointsAreReportedAndNothingCrashes) {
    TDynamicLibrary none; // nothing loaded: every entry point is missing
    TUser users(none, Dir(), Engine);
    EXPECT_TRUE(Shown.Shown.contains("d4open failed to receive"));
    EXPECT_TRUE(Shown.Shown.contains("code4errorCode failed to receive"));
    UserInfoStruct ann = User("Ann");
    EXPECT_TRUE(users.Empty());
    EXPECT_EQ(users.Authenticate("Ann", "x"), -1);
    EXPECT_EQ(users.AddUser(ann), -1);
}

} // namespace

namespace {

// A table whose header declares another code page holds that code page's text.
TEST_F(UserTest, TextFollowsTheTablesDeclaredCodePage) {
    { TUser create(Library(), Dir(), Engine); }
    QFile file(Dir() + "Users.dbf");
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.seek(29));
    file.write("\xC9", 1); // Windows-1251
    file.close();

    TUser users(Library(), Dir(), Engine);
    UserInfoStruct ivan;
    ivan.UserName = "Иван";
    ivan.Password = "пароль";
    ASSERT_EQ(users.AddUser(ivan), 1) << users.LastError().toStdString();
    EXPECT_EQ(users.Authenticate("Иван", "пароль"), 1);
    UserInfoStruct read;
    read.ID = 1;
    ASSERT_TRUE(users.GetUser(read));
    EXPECT_EQ(read.UserName, "Иван");
    UserInfoStruct french;
    french.UserName = "Zoë";
    EXPECT_EQ(users.AddUser(french), -1) << "Windows-1251 has no ë";
    EXPECT_TRUE(users.LastError().contains("Windows-1251"));
}

} // namespace
