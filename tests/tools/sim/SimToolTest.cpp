// Runs altavo-sim as authors do: make a simulation from screenshots, check it, render
// its steps back.
#include "ToolRun.h"
#include "widgets/GifWriter.h" // the tests' giflib writer
#include "widgets/TSimulationFile.h"
#include "widgets/TSimulationView.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

namespace {

using TRun = TToolRun;

TRun Sim(const QStringList& args) {
    return RunBuiltTool("altavo-sim", args);
}

const QSize kSize(619, 325);

// A screenshot of a few flat colours, as a window with a menu bar and a dialog.
QImage Screenshot(int variant) {
    QImage image(kSize, QImage::Format_RGB32);
    image.fill(QColor(236, 233, 216));
    QPainter p(&image);
    p.fillRect(0, 0, 619, 22, QColor(10, 36, 106));
    p.fillRect(6, 24, 34, 18, QColor(255, 255, 255));
    p.fillRect(60 + variant * 40, 80, 200, 120, QColor(212, 208, 200));
    p.setPen(QColor(128, 0, variant * 60));
    p.drawRect(60 + variant * 40, 80, 199, 119);
    p.drawLine(0, 300, 618, 300 - variant * 20);
    return image;
}

// Qt writes no GIF; giflib does, from the screenshot's own few colours.
void WriteGifFile(const QImage& image, const QString& path) {
    const QImage indexed = image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    GifPicture gif;
    gif.width = image.width();
    gif.height = image.height();
    for (QRgb colour : indexed.colorTable())
        gif.globalMap << QColor(colour);
    GifFrameSpec frame;
    frame.width = gif.width;
    frame.height = gif.height;
    for (int y = 0; y < gif.height; ++y)
        frame.indices.insert(frame.indices.end(), indexed.constScanLine(y),
                             indexed.constScanLine(y) + gif.width);
    gif.frames.push_back(frame);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(WriteGif(gif));
}

class SimToolTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return dir.filePath(name); }

    // Three screenshots in three formats and the description that names them.
    QJsonObject WriteScreenshots() {
        EXPECT_TRUE(Screenshot(0).save(Path("menu.png"), "PNG"));
        EXPECT_TRUE(Screenshot(1).save(Path("dialog.bmp"), "BMP"));
        WriteGifFile(Screenshot(2), Path("typed.gif"));
        const QJsonArray steps{
            QJsonObject{{"picture", "menu.png"},
                        {"instruction", "Click File"},
                        {"action", QJsonObject{{"kind", "click"}, {"target", QJsonArray{6, 24, 34, 18}}}}},
            QJsonObject{{"picture", "dialog.bmp"},
                        {"instruction", "Press Ctrl+S"},
                        {"action", QJsonObject{{"kind", "key"}, {"key", "Ctrl+S"}}}},
            QJsonObject{{"picture", "typed.gif"},
                        {"instruction", "Type the name and press Enter"},
                        {"action", QJsonObject{{"kind", "type"},
                                               {"text", "Budget"},
                                               {"target", QJsonArray{140, 120, 150, 20}}}}}};
        return {{"title", "Saving"}, {"width", 619}, {"height", 325}, {"steps", steps}};
    }

    QString WriteDescription(const QJsonObject& description) {
        QFile file(Path("steps.json"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(description).toJson());
        return file.fileName();
    }

    QTemporaryDir dir;
};

TEST_F(SimToolTest, MakeWritesWhatCheckAcceptsAndRenderGivesTheScreenshotsBack) {
    const TRun make = Sim({"make", WriteDescription(WriteScreenshots()), Path("saving.sim")});
    ASSERT_EQ(make.exitCode, 0) << make.err.toStdString();

    const TRun check = Sim({"check", Path("saving.sim")});
    EXPECT_EQ(check.exitCode, 0) << check.err.toStdString();
    EXPECT_EQ(check.out,
              "title: Saving\n"
              "size: 619 by 325\n"
              "steps: 3\n"
              "step 1: click, target 6,24,34,18: Click File\n"
              "step 2: key, key Ctrl+S: Press Ctrl+S\n"
              "step 3: type, text \"Budget\", box 140,120,150,20: Type the name and press Enter\n");

    const TSimulationRead read = ReadSimulationFile(Path("saving.sim"));
    ASSERT_TRUE(read.Playable());
    for (int step = 1; step <= 3; ++step) {
        const QString out = Path(QString("step%1.png").arg(step));
        const TRun render = Sim({"render", Path("saving.sim"), QString::number(step), out});
        ASSERT_EQ(render.exitCode, 0) << render.err.toStdString();
        const QImage rendered = QImage(out).convertToFormat(QImage::Format_RGB32);
        const QImage screenshot = Screenshot(step - 1);
        ASSERT_EQ(rendered.size(), kSize);
        // Every pixel outside the instruction note (and the typing box, which shows the
        // caret) is the screenshot's; inside the note something is drawn.
        const QRect note = SimulationInstructionRect(kSize, read.Simulation, step - 1);
        const QRect box = read.Simulation.Steps[step - 1].Kind == TSimulationActionKind::Type
                              ? read.Simulation.Steps[step - 1].Target
                              : QRect();
        int differing = 0, differingInNote = 0;
        for (int y = 0; y < kSize.height(); ++y)
            for (int x = 0; x < kSize.width(); ++x) {
                const bool same = rendered.pixel(x, y) == screenshot.pixel(x, y);
                if (note.contains(x, y))
                    differingInNote += same ? 0 : 1;
                else if (!box.contains(x, y))
                    differing += same ? 0 : 1;
            }
        EXPECT_EQ(differing, 0) << "step " << step;
        EXPECT_GT(differingInNote, 0) << "step " << step;
    }
}

TEST_F(SimToolTest, MakeRefusesWhatCannotBePlayed) {
    QImage small(300, 200, QImage::Format_RGB32);
    small.fill(Qt::white);
    ASSERT_TRUE(small.save(Path("small.png")));
    struct Case {
        const char* name;
        std::function<void(QJsonArray&)> edit;
        const char* message;
    };
    const auto editStep = [](QJsonArray& steps, int i, const std::function<void(QJsonObject&)>& edit) {
        QJsonObject step = steps[i].toObject();
        edit(step);
        steps[i] = step;
    };
    const Case cases[] = {
        {"picture of another size",
         [&](QJsonArray& s) { editStep(s, 1, [](QJsonObject& o) { o["picture"] = "small.png"; }); },
         "step 2: the picture small.png is 300 by 200, not 619 by 325"},
        {"missing picture",
         [&](QJsonArray& s) { editStep(s, 0, [](QJsonObject& o) { o["picture"] = "none.png"; }); },
         "step 1: cannot read the picture none.png"},
        {"target outside",
         [&](QJsonArray& s) {
             editStep(s, 0, [](QJsonObject& o) {
                 o["action"] = QJsonObject{{"kind", "click"}, {"target", QJsonArray{600, 24, 34, 18}}};
             });
         },
         "step 1: the target 600,24,34,18 lies outside the 619 by 325 picture"},
        {"no instruction",
         [&](QJsonArray& s) { editStep(s, 2, [](QJsonObject& o) { o.remove("instruction"); }); },
         "step 3: the key \"instruction\" is missing"},
    };
    for (const Case& c : cases) {
        QJsonObject description = WriteScreenshots();
        QJsonArray steps = description["steps"].toArray();
        c.edit(steps);
        description["steps"] = steps;
        QFile::remove(Path("out.sim"));
        const TRun make = Sim({"make", WriteDescription(description), Path("out.sim")});
        EXPECT_EQ(make.exitCode, 1) << c.name;
        EXPECT_TRUE(make.err.contains(c.message)) << c.name << ": " << make.err.toStdString();
        EXPECT_FALSE(QFile::exists(Path("out.sim"))) << c.name;
    }
}

TEST_F(SimToolTest, WithoutAStatedSizeTheFirstPictureSetsIt) {
    QJsonObject description = WriteScreenshots();
    description.remove("width");
    description.remove("height");
    ASSERT_EQ(Sim({"make", WriteDescription(description), Path("saving.sim")}).exitCode, 0);
    EXPECT_TRUE(Sim({"check", Path("saving.sim")}).out.contains("size: 619 by 325\n"));
}

TEST_F(SimToolTest, CheckAcceptsTheDocumentedExample) {
    QFile doc(qEnvironmentVariable("ALTAVO_SOURCE") + "/docs/simulation-format.md");
    ASSERT_TRUE(doc.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(doc.readAll());
    const QRegularExpressionMatch example =
        QRegularExpression("```json\\n(.*?)```", QRegularExpression::DotMatchesEverythingOption).match(text);
    ASSERT_TRUE(example.hasMatch());
    QFile file(Path("example.sim"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(example.captured(1).toUtf8());
    file.close();
    const TRun check = Sim({"check", file.fileName()});
    EXPECT_EQ(check.exitCode, 0) << check.err.toStdString();
    EXPECT_TRUE(check.out.startsWith("title: ")) << check.out.toStdString();
}

TEST_F(SimToolTest, FaultsAndMisuseHaveTheirExitStatus) {
    QFile cut(Path("cut.sim"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(R"({"format": "altavo-simulation", "version": 1, "title": "Sav)");
    cut.close();
    const TRun check = Sim({"check", cut.fileName()});
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_TRUE(check.err.contains("cut.sim: the file is damaged or cut short")) << check.err.toStdString();

    ASSERT_EQ(Sim({"make", WriteDescription(WriteScreenshots()), Path("saving.sim")}).exitCode, 0);
    for (const char* step : {"0", "4", "two"})
        EXPECT_EQ(Sim({"render", Path("saving.sim"), step, Path("x.png")}).exitCode, 1) << step;
    EXPECT_EQ(Sim({"check"}).exitCode, 2);
    EXPECT_EQ(Sim({"draw", Path("saving.sim")}).exitCode, 2);
}

} // namespace
