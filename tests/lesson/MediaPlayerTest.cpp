// The real clip player on clips made by ffmpeg: open, play to the end with one
// notice, stop and replay, pause, the notify switch, a damaged clip, commands
// with no clip open, and our frame conversion against ffmpeg's own decode.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "platform/media/TQtMediaPlayer.h"

namespace {

QByteArray RunFfmpeg(const QStringList& args) {
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", QStringList{"-v", "error", "-y"} + args);
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0) {
        ADD_FAILURE() << "ffmpeg failed: " << ffmpeg.readAllStandardError().toStdString();
        return {};
    }
    return ffmpeg.readAllStandardOutput();
}

class MediaPlayer : public ::testing::Test {
protected:
    static void SetUpTestSuite() { dir = new QTemporaryDir; }
    static void TearDownTestSuite() { delete dir; }

    // A clip of the fixture, made when a test first asks for it (ctest runs
    // every test in a process of its own): one second at 15 frames a second
    // in the codecs the course clips use, or bytes that are no clip at all.
    static QString Clip(const char* name) {
        const QString path = dir->filePath(name);
        if (QFile::exists(path))
            return path;
        const auto make = [&path](const char* size, QStringList codec) {
            RunFfmpeg(QStringList{"-f", "lavfi", "-i",
                                  QString("testsrc=size=%1:rate=15:duration=1").arg(size), "-f", "lavfi",
                                  "-i", "sine=frequency=440:sample_rate=22050:duration=1"} +
                      codec + QStringList{"-ac", "1", path});
        };
        const QByteArray n(name);
        if (n == "cinepak.avi")
            make("320x240", {"-c:v", "cinepak", "-max_extra_cb_iterations", "0", "-max_strips", "1", "-c:a",
                             "pcm_s16le"});
        else if (n == "msvideo1.avi")
            make("320x240", {"-c:v", "msvideo1", "-c:a", "adpcm_ima_wav"});
        else if (n == "mjpeg.avi") // an odd width: every row of the frame is padded
            make("619x325", {"-c:v", "mjpeg", "-q:v", "5", "-c:a", "pcm_u8"});
        else if (n == "damaged.avi") {
            QFile damaged(path);
            damaged.open(QIODevice::WriteOnly);
            for (int i = 0; i < 4000; ++i)
                damaged.write(QByteArray::number(i * 7919 % 104729).rightJustified(6, 'q'));
        }
        return path; // any other name stays missing
    }

    MediaPlayer() {
        panel.resize(320, 240);
        player.OnNotify = [this] {
            ++notices;
            modesAtNotice << player.Mode();
        };
        player.OnError = [this](const QString& text) { errors << text; };
    }

    bool OpenAndPlay(const char* name) {
        player.SetFileName(Clip(name));
        player.SetNotify(false);
        return player.Open() && player.Play();
    }
    bool WaitForNotice(int count = 1) {
        return QTest::qWaitFor([&] { return notices >= count; }, 10000);
    }

    static inline QTemporaryDir* dir = nullptr;
    TMoviePanel panel;
    TQtMediaPlayer player{&panel};
    int notices = 0;
    QList<TMediaMode> modesAtNotice;
    QStringList errors;
};

TEST_F(MediaPlayer, PlaysToTheEndWithOneNotice) {
    ASSERT_TRUE(OpenAndPlay("cinepak.avi"));
    EXPECT_EQ(player.Mode(), TMediaMode::Playing);
    ASSERT_TRUE(WaitForNotice());
    EXPECT_EQ(modesAtNotice, QList<TMediaMode>{TMediaMode::Stopped});
    EXPECT_GE(panel.FramesShown(), 8); // of 15; a loaded machine may drop a few
    EXPECT_FALSE(panel.Frame().isNull());
    QTest::qWait(300);
    EXPECT_EQ(notices, 1);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(MediaPlayer, StopThenPlayReplaysFromTheStart) {
    ASSERT_TRUE(OpenAndPlay("msvideo1.avi"));
    // Two thirds into the one-second clip.
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.FramesShown() >= 10; }, 5000));
    player.SetNotify(false);
    ASSERT_TRUE(player.Stop());
    EXPECT_EQ(player.Mode(), TMediaMode::Stopped);
    QTest::qWait(400);
    EXPECT_EQ(notices, 0); // stopped with the switch cleared: no notice, no end

    // Played from the start, the replay takes the whole second again, not
    // the third that was left.
    QElapsedTimer replay;
    replay.start();
    ASSERT_TRUE(player.Play());
    ASSERT_TRUE(WaitForNotice());
    EXPECT_GE(replay.elapsed(), 800);
}

TEST_F(MediaPlayer, PauseHoldsTheClipAndResumeFinishesIt) {
    ASSERT_TRUE(OpenAndPlay("mjpeg.avi"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.FramesShown() >= 2; }, 5000));
    player.SetNotify(false);
    ASSERT_TRUE(player.Pause());
    EXPECT_EQ(player.Mode(), TMediaMode::Paused);
    QTest::qWait(300); // a frame already on its way may still arrive
    const qint64 held = panel.FramesShown();
    QTest::qWait(1200); // longer than the clip
    EXPECT_EQ(panel.FramesShown(), held);
    EXPECT_EQ(notices, 0);

    ASSERT_TRUE(player.Pause()); // resumes; the switch is not set: a notice at the end
    EXPECT_EQ(player.Mode(), TMediaMode::Playing);
    ASSERT_TRUE(WaitForNotice());
    EXPECT_EQ(player.Mode(), TMediaMode::Stopped);

    // Pausing the ended clip is no command that completes: no notice.
    ASSERT_TRUE(player.Pause());
    QTest::qWait(200);
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(player.Mode(), TMediaMode::Stopped);
}

TEST_F(MediaPlayer, NotifySwitchGovernsOneCommandAndOldNoticesAreDropped) {
    player.SetFileName(Clip("cinepak.avi"));
    ASSERT_TRUE(player.Open()); // switch not set: Open sends a notice...
    EXPECT_EQ(notices, 0);      // ...through the event loop, never inside the call
    ASSERT_TRUE(WaitForNotice());
    EXPECT_EQ(modesAtNotice.last(), TMediaMode::Stopped);

    // A stop's notice still waiting when the next clip opens never arrives.
    ASSERT_TRUE(player.Play());
    ASSERT_TRUE(player.Stop());
    player.SetFileName(Clip("msvideo1.avi"));
    player.SetNotify(false);
    ASSERT_TRUE(player.Open());
    player.SetNotify(false);
    ASSERT_TRUE(player.Play());
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.Mode() == TMediaMode::Stopped; }, 10000));
    QTest::qWait(200);
    EXPECT_EQ(notices, 1); // played to its end, silently
}

TEST_F(MediaPlayer, DamagedClipReportsTheMediaLayersErrorAndClosesTheDevice) {
    for (const char* name : {"damaged.avi", "missing.avi"}) {
        SCOPED_TRACE(name);
        errors.clear();
        ASSERT_TRUE(OpenAndPlay(name));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !errors.isEmpty(); }, 10000));
        EXPECT_FALSE(errors.first().isEmpty());
        QTest::qWait(200);
        EXPECT_EQ(errors.size(), 1); // one report, however many the layer sends
        EXPECT_EQ(notices, 0);
        EXPECT_EQ(player.Mode(), TMediaMode::Notready);
        EXPECT_FALSE(player.Stop());
        EXPECT_EQ(player.LastError(), TMediaPlayer::NoDeviceText);
    }
    // The learner goes on with another clip.
    ASSERT_TRUE(OpenAndPlay("msvideo1.avi"));
    EXPECT_TRUE(WaitForNotice());
}

TEST_F(MediaPlayer, CommandsWithNoClipOpenFailWithTheNoDeviceMessage) {
    EXPECT_EQ(player.Mode(), TMediaMode::Notready);
    EXPECT_EQ(MediaModeName(player.Mode()), "Notready");
    for (auto command :
         {&TMediaPlayer::Stop, &TMediaPlayer::Pause, &TMediaPlayer::Close, &TMediaPlayer::Play}) {
        EXPECT_FALSE((player.*command)());
        EXPECT_EQ(player.LastError(), "No MCI device open");
    }
    EXPECT_FALSE(player.Open()); // no file name
    QTest::qWait(50);
    EXPECT_EQ(notices, 0);
}

// Our conversion of the first frame against ffmpeg's decode of frame 0: mean
// difference per channel. Cinepak and MS Video 1 decode to RGB exactly; MJPEG
// differs by the chroma interpolation of the two converters.
TEST_F(MediaPlayer, FramesMatchFfmpegsDecode) {
    struct Case {
        const char* clip;
        int width, height;
        double limit;
    } cases[] = {
        {"cinepak.avi", 320, 240, 1.0}, {"msvideo1.avi", 320, 240, 1.0}, {"mjpeg.avi", 619, 325, 6.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clip);
        QImage first;
        const auto connection = QObject::connect(&player, &TQtMediaPlayer::FrameShown, [&] {
            if (first.isNull())
                first = panel.Frame().copy();
        });
        ASSERT_TRUE(OpenAndPlay(c.clip));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !first.isNull(); }, 5000));
        QObject::disconnect(connection);
        player.SetNotify(false);
        player.Close();

        const QByteArray reference =
            RunFfmpeg({"-i", Clip(c.clip), "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "rgb24", "-"});
        ASSERT_EQ(first.size(), QSize(c.width, c.height));
        ASSERT_EQ(reference.size(), c.width * c.height * 3);
        double total = 0;
        for (int y = 0; y < c.height; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(first.constScanLine(y));
            const auto* ref = reinterpret_cast<const uchar*>(reference.constData()) + y * c.width * 3;
            for (int x = 0; x < c.width; ++x)
                total += std::abs(qRed(line[x]) - ref[3 * x]) + std::abs(qGreen(line[x]) - ref[3 * x + 1]) +
                         std::abs(qBlue(line[x]) - ref[3 * x + 2]);
        }
        EXPECT_LT(total / (c.width * c.height * 3.0), c.limit);
    }
}

} // namespace
