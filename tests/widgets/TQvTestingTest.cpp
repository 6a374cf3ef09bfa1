#include "widgets/TQvTesting.h"

#include "SimulationFixture.h"

#include <QFile>
#include <QJsonArray>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class QvTestingTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.resize(640, 480);
        edit = new QLineEdit(&host); // holds the keyboard before the simulation starts
        control = new TQvTesting(&host);
        control->OnCorrect = [this](QObject* sender) {
            EXPECT_EQ(sender, control);
            events << "correct";
        };
        control->OnIncorrect = [this](QObject*, int frame) { events << QString("incorrect %1").arg(frame); };
        control->OnIncorrectVersion = [this](QObject*, int& carryOn, int version) {
            events << QString("version %1").arg(version);
            carryOn = answer;
        };
        control->OnIncorrectFileType = [this](QObject*, int& carryOn, int fileType) {
            events << QString("filetype %1").arg(fileType);
            carryOn = answer;
        };
        host.show();
        host.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        edit->setFocus();
    }

    QString Write(const QByteArray& bytes, const QString& name = "task.sim") {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    // As the test and challenge screens do: file name, question type, then bounds.
    void Ask(const QString& path) {
        control->SetFileName(path);
        control->SetQuestionType(3);
        control->setGeometry(10, 84, 619, 325);
    }

    void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(control, button, {}, at);
    }
    void AnswerAllRight() {
        Click(kClickTarget.center());
        QTest::keyClick(control, Qt::Key_Return);
        QTest::keyClicks(control, "=SUM(B2:B5)");
        QTest::keyClick(control, Qt::Key_Return);
    }
    // Everything a learner might do once the outcome is known.
    void CarryOnRegardless() {
        Click(kClickTarget.center());
        Click({300, 100});
        QTest::mouseDClick(control, Qt::LeftButton, {}, kClickTarget.center());
        QTest::keyClick(control, Qt::Key_Return);
        QTest::keyClicks(control, "=SUM(B2:B5)");
        QTest::keyClick(control, Qt::Key_Return);
        QTest::keyClick(control, Qt::Key_Tab);
    }

    QTemporaryDir dir;
    QWidget host;
    QLineEdit* edit = nullptr;
    TQvTesting* control = nullptr;
    QStringList events;
    int answer = 0; // what the version and file type handlers set Continue to
};

TEST_F(QvTestingTest, StartsOutOfSight) {
    EXPECT_EQ(TQvTesting().geometry(), QRect(1, 1, 1, 1));
}

TEST_F(QvTestingTest, RightAnswersRaiseOnCorrectOnceAndNothingElse) {
    Ask(Write(Bytes(ThreeStepSimulation())));
    ASSERT_EQ(control->State(), TQvTesting::TState::Playing);
    EXPECT_TRUE(edit->hasFocus()) << "a click step leaves the keyboard where it is";
    Click(kClickTarget.center());
    EXPECT_EQ(control->CurrentStep(), 1);
    EXPECT_TRUE(control->hasFocus()) << "a key step takes the keyboard";
    QTest::keyClick(control, Qt::Key_Shift); // a lone modifier is no answer
    QTest::keyClick(control, Qt::Key_Return);
    ASSERT_EQ(control->CurrentStep(), 2);
    QTest::keyClicks(control, "=SUM(B2:B6");
    QTest::keyClick(control, Qt::Key_Backspace);
    QTest::keyClicks(control, "5)");
    EXPECT_EQ(control->Typed(), "=SUM(B2:B5)");
    EXPECT_TRUE(events.isEmpty());
    QTest::keyClick(control, Qt::Key_Return);
    EXPECT_EQ(events, QStringList{"correct"});
    CarryOnRegardless();
    EXPECT_EQ(events, QStringList{"correct"});
    EXPECT_EQ(control->State(), TQvTesting::TState::Finished);
}

// A closed-book test hides what each step asks for: two files that differ only
// in an instruction then look the same, and the simulation is still worked.
TEST_F(QvTestingTest, WithoutInstructionsTheNoteSaysOnlyWhichStep) {
    QJsonObject other = ThreeStepSimulation();
    QJsonArray steps = other["steps"].toArray();
    QJsonObject first = steps[0].toObject();
    first["instruction"] = "Open the File menu, then choose Save";
    steps[0] = first;
    other["steps"] = steps;

    control->SetInstructionsShown(false);
    Ask(Write(Bytes(ThreeStepSimulation()), "a.sim"));
    const QImage plain = control->grab().toImage();
    Ask(Write(Bytes(other), "b.sim"));
    EXPECT_EQ(control->grab().toImage(), plain) << "an instruction shows";
    control->SetInstructionsShown(true);
    EXPECT_NE(control->grab().toImage(), plain) << "the instruction is not shown again";
    control->SetInstructionsShown(false);
    AnswerAllRight();
    EXPECT_EQ(events, QStringList{"correct"});
}

TEST_F(QvTestingTest, WrongClickRaisesOnIncorrectOnceAndShowsWhereForAMoment) {
    Ask(Write(Bytes(ThreeStepSimulation())));
    Click(kClickTarget.center());
    const QPoint wrong(300, 100);
    Click(wrong); // step 2 waits for Enter
    EXPECT_EQ(events, QStringList{"incorrect 1"});
    ASSERT_TRUE(control->WrongClickShown());
    const QColor picture(220, 240, 200);
    EXPECT_NE(control->grab().toImage().pixelColor(wrong + QPoint(11, 0)), picture);
    CarryOnRegardless();
    EXPECT_EQ(events, QStringList{"incorrect 1"});
    QTRY_VERIFY_WITH_TIMEOUT(!control->WrongClickShown(), 3 * TQvTesting::kWrongClickShowMs);
    EXPECT_EQ(control->grab().toImage().pixelColor(wrong + QPoint(11, 0)), picture);
    EXPECT_EQ(events, QStringList{"incorrect 1"});
}

TEST_F(QvTestingTest, TargetEdgesAreInside) {
    Ask(Write(Bytes(ThreeStepSimulation())));
    const QRect t = kClickTarget;
    struct Case {
        QPoint at;
        Qt::MouseButton button;
        bool right;
    };
    const Case cases[] = {
        {t.topLeft(), Qt::LeftButton, true},
        {t.bottomRight(), Qt::LeftButton, true},
        {t.topRight(), Qt::LeftButton, true},
        {t.bottomLeft(), Qt::LeftButton, true},
        {t.topLeft() - QPoint(1, 0), Qt::LeftButton, false},
        {t.topLeft() - QPoint(0, 1), Qt::LeftButton, false},
        {t.bottomRight() + QPoint(1, 0), Qt::LeftButton, false},
        {t.bottomRight() + QPoint(0, 1), Qt::LeftButton, false},
        {t.center(), Qt::RightButton, false},
    };
    for (const Case& c : cases) {
        events.clear();
        control->Restart();
        Click(c.at, c.button);
        if (c.right) {
            EXPECT_EQ(control->CurrentStep(), 1) << c.at.x() << "," << c.at.y();
            EXPECT_TRUE(events.isEmpty());
        } else {
            EXPECT_EQ(events, QStringList{"incorrect 0"}) << c.at.x() << "," << c.at.y();
        }
    }
}

TEST_F(QvTestingTest, DoubleClickStepWantsBothClicksInside) {
    QJsonObject sim = ThreeStepSimulation();
    QJsonArray steps = sim["steps"].toArray();
    QJsonObject first = steps[0].toObject();
    QJsonObject action = first["action"].toObject();
    action["kind"] = "doubleclick";
    first["action"] = action;
    steps = {first};
    sim["steps"] = steps;
    Ask(Write(Bytes(sim)));
    Click(kClickTarget.center());
    EXPECT_EQ(control->State(), TQvTesting::TState::Playing) << "one click is half the answer";
    QTest::mouseDClick(control, Qt::LeftButton, {}, kClickTarget.center());
    EXPECT_EQ(events, QStringList{"correct"});

    events.clear();
    control->Restart();
    QTest::mouseDClick(control, Qt::LeftButton, {}, kClickTarget.bottomRight() + QPoint(1, 1));
    EXPECT_EQ(events, QStringList{"incorrect 0"});
}

TEST_F(QvTestingTest, WrongKeysAndWrongTextAreWrongAnswers) {
    Ask(Write(Bytes(ThreeStepSimulation())));
    Click(kClickTarget.center());
    QTest::keyClick(control, Qt::Key_Tab); // Tab is an answer here, not a move to the next control
    EXPECT_EQ(events, QStringList{"incorrect 1"});
    EXPECT_TRUE(control->hasFocus());

    events.clear();
    control->Restart();
    Click(kClickTarget.center());
    QTest::keyClick(control, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClicks(control, "=sum(B2:B5)");
    QTest::keyClick(control, Qt::Key_Return);
    EXPECT_EQ(events, QStringList{"incorrect 2"});
}

TEST_F(QvTestingTest, AClickIntoTheTypingBoxIsNoAnswer) {
    QJsonObject sim = ThreeStepSimulation();
    QJsonArray steps = sim["steps"].toArray();
    QJsonObject typing = steps[2].toObject();
    QJsonObject action = typing["action"].toObject();
    action["target"] = QJsonArray{100, 50, 200, 20};
    typing["action"] = action;
    steps[2] = typing;
    sim["steps"] = steps;
    Ask(Write(Bytes(sim)));
    Click(kClickTarget.center());
    QTest::keyClick(control, Qt::Key_Return);
    edit->setFocus();
    Click({299, 69}); // the box's far corner
    EXPECT_TRUE(events.isEmpty());
    EXPECT_TRUE(control->hasFocus());
    Click({300, 69});
    EXPECT_EQ(events, QStringList{"incorrect 2"});
}

TEST_F(QvTestingTest, ForeignFilesRaiseTheirEventsAndShowWhy) {
    const QString version2 = Write(Bytes([] {
                                       QJsonObject sim = ThreeStepSimulation();
                                       sim["version"] = 2;
                                       return sim;
                                   }()),
                                   "v2.sim");
    Ask(version2);
    QCoreApplication::processEvents();
    EXPECT_EQ(events, QStringList{"version 2"}) << "file name then question type loads once";
    EXPECT_EQ(control->State(), TQvTesting::TState::Refused);
    EXPECT_TRUE(control->Message().contains("v2.sim: the file is of version 2"))
        << control->Message().toStdString();

    events.clear();
    Ask(Write("PK\x03\x04 not a simulation", "notes.zip"));
    EXPECT_EQ(events, QStringList{"filetype 0"});
    EXPECT_EQ(control->State(), TQvTesting::TState::Refused);
    EXPECT_TRUE(control->Message().contains("notes.zip: the file is not a simulation"));

    // A host that sets Continue gets the file played by the rules the control knows.
    events.clear();
    answer = 1;
    Ask(version2);
    EXPECT_EQ(events, QStringList{"version 2"});
    EXPECT_EQ(control->State(), TQvTesting::TState::Playing);
    AnswerAllRight();
    EXPECT_EQ(events, (QStringList{"version 2", "correct"}));
}

TEST_F(QvTestingTest, DamagedFilesAreShownNotPlayed) {
    const QByteArray good = Bytes(ThreeStepSimulation());
    Ask(Write(good.left(good.size() - 100)));
    EXPECT_EQ(control->State(), TQvTesting::TState::Refused);
    EXPECT_TRUE(control->Message().contains("cut short"));
    Ask(dir.filePath("missing.sim"));
    EXPECT_EQ(control->State(), TQvTesting::TState::Refused);
    CarryOnRegardless();
    EXPECT_TRUE(events.isEmpty());
}

TEST_F(QvTestingTest, OutOfSightTheControlGivesUpTheKeyboard) {
    Ask(Write(Bytes(ThreeStepSimulation())));
    Click(kClickTarget.center());
    ASSERT_TRUE(control->hasFocus());
    // The next question is not a simulation: the control shrinks away.
    control->setGeometry(1, 1, 1, 1);
    EXPECT_FALSE(control->hasFocus());
    QTest::keyClick(control, Qt::Key_A);
    QTest::keyClick(control, Qt::Key_Return);
    EXPECT_TRUE(events.isEmpty());
}

TEST_F(QvTestingTest, AHandlerMayStartTheSimulationAgain) {
    // Try Again: the host starts the same file afresh from inside the outcome's handler.
    control->OnIncorrect = [this](QObject*, int frame) {
        events << QString("incorrect %1").arg(frame);
        control->SetQuestionType(3);
    };
    Ask(Write(Bytes(ThreeStepSimulation())));
    Click({300, 100});
    EXPECT_EQ(events, QStringList{"incorrect 0"});
    EXPECT_EQ(control->State(), TQvTesting::TState::Playing);
    EXPECT_EQ(control->CurrentStep(), 0);
    AnswerAllRight();
    EXPECT_EQ(events, (QStringList{"incorrect 0", "correct"}));
}

} // namespace
