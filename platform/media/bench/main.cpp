// altavo-media-bench: what the clip player alone costs, on clips made by
// ffmpeg in a temporary directory. Usage:
//   altavo-media-bench [--runs N] [--clips N]
// Figures (medians over N runs, default 20):
//   open to first frame  Open + Play of a 320x240 Cinepak clip until its first
//                        frame is painted in the clip panel
//   gap between clips    end notice of one clip until the first frame of the
//                        next is painted (the next opened from the notice)
//   CPU while playing    process CPU time over the play of a 3 s 320x240
//                        Cinepak clip, in percent of one core; the peer is
//                        ffmpeg decoding the same clip in real time (-re)
//   RSS while playing    resident memory at the end of that play
//   growth               resident memory after clip 200 minus after clip 10
//                        of a run playing one short clip after another
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

#include "platform/media/TQtMediaPlayer.h"
#include "platform/media/bench/BenchClip.h"

namespace {

double CpuSeconds(int who) {
    rusage u{};
    getrusage(who, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double RssMb() {
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

double Median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

struct TBench {
    TMoviePanel panel;
    TQtMediaPlayer player{&panel};
    int frames = 0;
    int notices = 0;
    QElapsedTimer clock;

    TBench() {
        panel.resize(320, 240);
        panel.show();
        // "On screen": the frame is painted before it counts.
        QObject::connect(&player, &TQtMediaPlayer::FrameShown, [this] {
            panel.repaint();
            ++frames;
        });
        player.OnNotify = [this] { ++notices; };
        player.OnError = [](const QString& text) { std::fprintf(stderr, "error: %s\n", qPrintable(text)); };
    }
    void Start(const QString& file) {
        frames = 0;
        notices = 0;
        player.SetFileName(file);
        player.SetNotify(false);
        player.Open();
        player.Play();
    }
    bool Wait(const std::function<bool()>& done, int ms = 15000) { return QTest::qWaitFor(done, ms); }
};

} // namespace

int main(int argc, char** argv) {
    TQtMediaPlayer::UseGStreamer();
    QApplication app(argc, argv);
    int runs = 20, clips = 200;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == "--runs")
            runs = std::max(1, args[++i].toInt());
        else if (args[i] == "--clips")
            clips = std::max(11, args[++i].toInt());
    }
    QTemporaryDir dir;
    const QString shortClip = dir.filePath("short.avi"), longClip = dir.filePath("long.avi"),
                  tiny = dir.filePath("tiny.avi");
    if (!MakeBenchClip(shortClip, "cinepak", 1) || !MakeBenchClip(longClip, "cinepak", 3) ||
        !MakeBenchClip(tiny, "msvideo1", 0.4)) {
        std::fprintf(stderr, "altavo-media-bench: ffmpeg could not make the clips\n");
        return 1;
    }
    TBench b;
    TQtMediaPlayer::WarmUp(); // as the player does once its first screen is painted

    // Open to first frame.
    std::vector<double> firstFrame;
    for (int i = 0; i < runs; ++i) {
        b.clock.restart();
        b.Start(shortClip);
        if (b.Wait([&] { return b.frames > 0; }))
            firstFrame.push_back(b.clock.nsecsElapsed() / 1e6);
        b.player.SetNotify(false);
        b.player.Close();
        QTest::qWait(20);
    }
    std::printf("audio output: %s\n", b.player.HasAudioOutput() ? "yes" : "none (video only)");

    // Gap between two clips: the next clip opens from the end notice.
    std::vector<double> gaps;
    bool measuring = false;
    b.player.OnNotify = [&] {
        b.clock.restart();
        measuring = true;
        b.Start(shortClip);
        b.player.SetNotify(true);
    };
    QObject::connect(&b.player, &TQtMediaPlayer::FrameShown, [&] {
        if (measuring) {
            gaps.push_back(b.clock.nsecsElapsed() / 1e6);
            measuring = false;
        }
    });
    b.Start(shortClip);
    b.player.SetNotify(true);
    b.Wait([&] { return int(gaps.size()) >= runs; }, runs * 5000);
    b.player.OnNotify = [&b] { ++b.notices; };
    b.player.SetNotify(false);
    b.player.Close();
    QTest::qWait(50);

    // CPU and memory while a 3 s clip plays, against ffmpeg decoding it in real time.
    std::vector<double> cpu, rss;
    for (int i = 0; i < std::min(runs, 5); ++i) {
        const double cpu0 = CpuSeconds(RUSAGE_SELF);
        QElapsedTimer wall;
        wall.start();
        b.Start(longClip);
        b.player.SetNotify(true);
        b.Wait([&] { return b.notices > 0; });
        cpu.push_back(100.0 * (CpuSeconds(RUSAGE_SELF) - cpu0) / (wall.nsecsElapsed() / 1e9));
        rss.push_back(RssMb());
    }
    const double peer0 = CpuSeconds(RUSAGE_CHILDREN);
    QElapsedTimer peerWall;
    peerWall.start();
    QProcess::execute("ffmpeg", {"-v", "error", "-re", "-i", longClip, "-f", "null", "-"});
    const double peerCpu = 100.0 * (CpuSeconds(RUSAGE_CHILDREN) - peer0) / (peerWall.nsecsElapsed() / 1e9);

    // Growth over many clips in one run.
    double rssAt10 = 0, rssAtEnd = 0;
    for (int i = 1; i <= clips; ++i) {
        b.Start(tiny);
        b.player.SetNotify(true);
        b.Wait([&] { return b.notices > 0; });
        if (i == 10)
            rssAt10 = RssMb();
    }
    b.player.Close();
    QTest::qWait(100);
    rssAtEnd = RssMb();

    std::printf("open to first frame (320x240 Cinepak), median of %zu: %.1f ms\n", firstFrame.size(),
                Median(firstFrame));
    std::printf("gap between two clips, median of %zu: %.1f ms\n", gaps.size(), Median(gaps));
    std::printf("CPU while a 320x240 clip plays, median of %zu: %.1f %% of one core (peer: ffmpeg -re decode "
                "%.1f %%)\n",
                cpu.size(), Median(cpu), peerCpu);
    std::printf("resident memory with a clip playing: %.1f MB\n", Median(rss));
    std::printf("resident memory after clip 10: %.1f MB, after clip %d: %.1f MB, growth %.1f MB\n", rssAt10,
                clips, rssAtEnd, rssAtEnd - rssAt10);
    return 0;
}
