#include "widgets/TSimulationFile.h"

#include "SimulationFixture.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

namespace {

const QSize kSmall(50, 40);

QJsonObject WithStep(QJsonObject root, int index, const std::function<void(QJsonObject&)>& edit) {
    QJsonArray steps = root["steps"].toArray();
    QJsonObject step = steps[index].toObject();
    edit(step);
    steps[index] = step;
    root["steps"] = steps;
    return root;
}

QJsonObject WithAction(const QJsonObject& root, int index, const std::function<void(QJsonObject&)>& edit) {
    return WithStep(root, index, [&](QJsonObject& step) {
        QJsonObject action = step["action"].toObject();
        edit(action);
        step["action"] = action;
    });
}

QJsonObject With(QJsonObject root, const QString& key, const QJsonValue& value) {
    if (value.isUndefined())
        root.remove(key);
    else
        root[key] = value;
    return root;
}

TEST(SimulationFile, ReadsEveryKindOfStep) {
    QJsonObject root = ThreeStepSimulation(kSmall);
    root = WithAction(root, 1, [](QJsonObject& a) { a["key"] = "Ctrl+S"; });
    root = WithAction(root, 2, [](QJsonObject& a) { a["target"] = QJsonArray{0, 0, 50, 40}; });
    const TSimulationRead read = ReadSimulation(Bytes(root));
    ASSERT_TRUE(read.Playable()) << read.Error.toStdString();
    const TSimulation& sim = read.Simulation;
    EXPECT_EQ(sim.Title, "Saving");
    EXPECT_EQ(sim.Size, kSmall);
    ASSERT_EQ(sim.Steps.size(), 3);
    EXPECT_EQ(sim.Steps[0].Kind, TSimulationActionKind::Click);
    EXPECT_EQ(sim.Steps[0].Target, kClickTarget);
    EXPECT_EQ(sim.Steps[0].Picture.pixel(19, 9), QColor(200, 220, 240).rgb());
    EXPECT_EQ(sim.Steps[1].Kind, TSimulationActionKind::Key);
    EXPECT_EQ(sim.Steps[1].Key, QKeyCombination(Qt::ControlModifier, Qt::Key_S));
    EXPECT_EQ(sim.Steps[2].Kind, TSimulationActionKind::Type);
    EXPECT_EQ(sim.Steps[2].Text, "=SUM(B2:B5)");
    EXPECT_EQ(sim.Steps[2].Target, QRect(0, 0, 50, 40)); // the whole picture: edges are inside
}

TEST(SimulationFile, ForeignFilesAndVersionsAreToldApart) {
    struct Case {
        const char* name;
        QByteArray bytes;
        TSimulationFault fault;
        int fileType;
    };
    const Case cases[] = {
        {"empty", "", TSimulationFault::NotSimulation, kSimulationFileNotJson},
        {"a GIF", SolidGif(kSmall, Qt::red), TSimulationFault::NotSimulation, kSimulationFileNotJson},
        {"plain text", "Saving a file\n", TSimulationFault::NotSimulation, kSimulationFileNotJson},
        {"another JSON object", R"({"pages": []})", TSimulationFault::NotSimulation,
         kSimulationFileOtherJson},
        {"a JSON list", "[1, 2]", TSimulationFault::NotSimulation, kSimulationFileOtherJson},
        {"another format name", Bytes(With(ThreeStepSimulation(kSmall), "format", "altavo-course")),
         TSimulationFault::NotSimulation, kSimulationFileOtherJson},
    };
    for (const Case& c : cases) {
        const TSimulationRead read = ReadSimulation(c.bytes);
        EXPECT_EQ(read.Fault, c.fault) << c.name;
        EXPECT_EQ(read.FileType, c.fileType) << c.name;
        EXPECT_FALSE(read.Error.isEmpty()) << c.name;
    }

    const QByteArray version2 = Bytes(With(ThreeStepSimulation(kSmall), "version", 2));
    const TSimulationRead read = ReadSimulation(version2);
    EXPECT_EQ(read.Fault, TSimulationFault::UnknownVersion);
    EXPECT_EQ(read.Version, 2);
    // Asked to, a reader plays it by the rules it knows.
    EXPECT_TRUE(ReadSimulation(version2, {.IgnoreVersion = true}).Playable());
    EXPECT_TRUE(ReadSimulation(Bytes(With(ThreeStepSimulation(kSmall), "format", QJsonValue::Undefined)),
                               {.IgnoreFormat = true})
                    .Playable());
}

TEST(SimulationFile, DamageRefusesTheWholeFileNamingTheFault) {
    const QJsonObject good = ThreeStepSimulation(kSmall);
    const QByteArray goodBytes = Bytes(good);
    const QByteArray gif = SolidGif(kSmall, Qt::red);
    const auto picture = [&](const QByteArray& base64) {
        return Bytes(WithStep(good, 1, [&](QJsonObject& s) { s["picture"] = QString::fromLatin1(base64); }));
    };
    const auto action = [&](const std::function<void(QJsonObject&)>& edit) {
        return Bytes(WithAction(good, 0, edit));
    };
    QJsonArray manySteps;
    for (int i = 0; i <= kSimulationMaxSteps; ++i)
        manySteps << good["steps"].toArray()[0];
    QJsonArray fiveSteps; // 5 × 2048 × 2048 pixels
    for (int i = 0; i < 5; ++i)
        fiveSteps << good["steps"].toArray()[0];
    QJsonObject huge = With(With(good, "width", 2048), "height", 2048);
    huge["steps"] = fiveSteps;

    struct Case {
        const char* name;
        QByteArray bytes;
        const char* message;
    };
    const Case cases[] = {
        {"cut short", goodBytes.left(goodBytes.size() / 2), "the file is damaged or cut short"},
        {"picture of the wrong size", picture(SolidGif({50, 41}, Qt::red).toBase64()),
         "step 2: the picture is 50 by 41, not 50 by 40"},
        {"target outside", action([](QJsonObject& a) {
             a["target"] = QJsonArray{40, 5, 11, 5};
         }),
         "step 1: the target 40,5,11,5 lies outside the 50 by 40 picture"},
        {"negative target", action([](QJsonObject& a) {
             a["target"] = QJsonArray{-1, 0, 5, 5};
         }),
         "lies outside"},
        {"empty target", action([](QJsonObject& a) {
             a["target"] = QJsonArray{1, 1, 0, 5};
         }),
         "lies outside"},
        {"fractional target", action([](QJsonObject& a) {
             a["target"] = QJsonArray{1.5, 1, 2, 2};
         }),
         "\"target\" must be four whole numbers"},
        {"missing target", action([](QJsonObject& a) { a.remove("target"); }),
         "step 1: the key \"target\" is missing"},
        {"base64 alphabet", picture("R0lGOD!h" + gif.toBase64().mid(8)),
         "step 2: the picture is not valid base64"},
        {"base64 without padding", picture(gif.toBase64(QByteArray::OmitTrailingEquals)), "not valid base64"},
        {"base64 cut", picture(gif.toBase64().chopped(5)), "not valid base64"},
        {"picture cut short", picture(gif.chopped(1).toBase64()), "step 2: the picture is cut short"},
        {"picture without trailer", picture(SolidGif(kSmall, Qt::red, 1, false).toBase64()), "cut short"},
        {"animated picture", picture(SolidGif(kSmall, Qt::red, 2).toBase64()), "more than one image"},
        {"picture with data after it", picture((gif + "xx").toBase64()), "data after its end"},
        {"not a GIF", picture(QByteArray("\x89PNG\r\n\x1a\n0000000000").toBase64()),
         "the picture is not a GIF"},
        {"no title", Bytes(With(good, "title", QJsonValue::Undefined)), "the key \"title\" is missing"},
        {"no version", Bytes(With(good, "version", QJsonValue::Undefined)), "the key \"version\" is missing"},
        {"no steps", Bytes(With(good, "steps", QJsonArray{})), "the simulation has no steps"},
        {"too many steps", Bytes(With(good, "steps", manySteps)), "more than 100"},
        {"pictures too large together", Bytes(huge), "too large together"},
        {"width zero", Bytes(With(good, "width", 0)), "\"width\" must be a whole number from 1 to 2048"},
        {"height as text", Bytes(With(good, "height", "10")), "\"height\" must be a whole number"},
        {"step not an object", Bytes(With(good, "steps", QJsonArray{1})),
         "step 1: the step must be an object"},
        {"no action", Bytes(WithStep(good, 2, [](QJsonObject& s) { s.remove("action"); })),
         "step 3: the key \"action\" is missing"},
        {"unknown kind", action([](QJsonObject& a) { a["kind"] = "drag"; }),
         "the action kind \"drag\" is unknown"},
        {"no key", Bytes(WithAction(good, 1, [](QJsonObject& a) { a["key"] = "Ctrl+"; })), "names no key"},
        {"two keys", Bytes(WithAction(good, 1, [](QJsonObject& a) { a["key"] = "Ctrl+K, Ctrl+S"; })),
         "names no key"},
        {"empty text", Bytes(WithAction(good, 2, [](QJsonObject& a) { a["text"] = ""; })),
         "a typing step has no text"},
        {"control character", Bytes(WithAction(good, 2, [](QJsonObject& a) { a["text"] = "a\nb"; })),
         "control character"},
        {"long instruction",
         Bytes(WithStep(
             good, 0,
             [](QJsonObject& s) { s["instruction"] = QString(kSimulationMaxInstruction + 1, 'x'); })),
         "\"instruction\" is longer than 1000 characters"},
        {"larger than the limit", QByteArray(kSimulationMaxFileBytes + 1, ' '), "larger than 32 MiB"},
    };
    for (const Case& c : cases) {
        const TSimulationRead read = ReadSimulation(c.bytes);
        EXPECT_EQ(read.Fault, TSimulationFault::Damaged) << c.name;
        EXPECT_TRUE(read.Error.contains(QString::fromUtf8(c.message)))
            << c.name << ": " << read.Error.toStdString();
        EXPECT_TRUE(read.Simulation.Steps.isEmpty()) << c.name;
    }
}

TEST(SimulationFile, MissingFileIsRefused) {
    QTemporaryDir dir;
    const TSimulationRead read = ReadSimulationFile(dir.filePath("none.sim"));
    EXPECT_EQ(read.Fault, TSimulationFault::Damaged);
    EXPECT_TRUE(read.Error.startsWith("the file cannot be opened")) << read.Error.toStdString();
}

TEST(SimulationFile, KeyNamesFollowTheKeyboard) {
    struct Case {
        const char* name;
        int key;
        Qt::KeyboardModifiers modifiers;
    };
    // The file's name and the key event a keyboard sends for it.
    const Case cases[] = {
        {"Enter", Qt::Key_Return, Qt::NoModifier},  {"Enter", Qt::Key_Enter, Qt::KeypadModifier},
        {"Return", Qt::Key_Return, Qt::NoModifier}, {"Shift+Tab", Qt::Key_Backtab, Qt::ShiftModifier},
        {"Ctrl+S", Qt::Key_S, Qt::ControlModifier}, {"F2", Qt::Key_F2, Qt::NoModifier}};
    for (const Case& c : cases) {
        QKeyCombination expected;
        ASSERT_TRUE(ParseSimulationKey(c.name, expected)) << c.name;
        EXPECT_EQ(NormalisedSimulationKey(c.key, c.modifiers), expected) << c.name;
    }
    QKeyCombination none;
    for (const char* bad : {"", "Ctrl", "NoSuchKey", "Shift+"})
        EXPECT_FALSE(ParseSimulationKey(bad, none)) << bad;
}

} // namespace
