#include "DemoClips.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLinearGradient>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <deque>
#include <memory>
#include <vector>

namespace {

struct TClipJob {
    QString Output;    // the clip file in the media directory
    QSize Size;        // 320x240 framed, 619x325 full-motion
    QStringList Lines; // course, page, button, clip title: drawn top to bottom
    QString Narration;
    QString Picture, Speech; // working files
};

constexpr QSize FramedSize(320, 240);
constexpr QSize FullMotionSize(619, 325);
constexpr int FramedClip = 257;
constexpr double MinimumSeconds = 1.5;

QString Text(const QJsonObject& o, const char* key) {
    return o.value(key).toString().trimmed();
}

// The title picture: course and place in small type, the clip's title large;
// ffmpeg adds a bar along the bottom that grows while the clip plays.
QImage TitlePicture(const TClipJob& job) {
    QImage image(job.Size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient sky(0, 0, 0, job.Size.height());
    sky.setColorAt(0, QColor(24, 60, 110));
    sky.setColorAt(1, QColor(10, 24, 48));
    p.fillRect(image.rect(), sky);
    const bool wide = job.Size.width() > FramedSize.width();
    const int margin = wide ? 28 : 16;
    QRect area = image.rect().adjusted(margin, margin, -margin, -margin - 22);

    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(wide ? 15 : 12);
    p.setFont(small);
    for (int i = 0; i + 1 < job.Lines.size(); ++i) {
        p.setPen(i == 0 ? QColor(250, 200, 90) : QColor(190, 210, 235));
        const QRect line(area.left(), area.top(), area.width(), small.pixelSize() + 6);
        p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                   p.fontMetrics().elidedText(job.Lines[i], Qt::ElideRight, area.width()));
        area.setTop(area.top() + small.pixelSize() + 8);
    }
    QFont large(QStringLiteral("DejaVu Sans"));
    large.setPixelSize(wide ? 34 : 22);
    large.setBold(true);
    p.setFont(large);
    p.setPen(Qt::white);
    p.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, job.Lines.value(job.Lines.size() - 1));
    return image;
}

// Length of a PCM WAV file in seconds (0 when it cannot be read).
double WavSeconds(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray header = file.read(64);
    const qsizetype data = header.indexOf("data");
    if (header.size() < 36 || data < 0 || data + 8 > header.size())
        return 0;
    const auto le32 = [&header](qsizetype at) {
        return quint32(uchar(header[at])) | quint32(uchar(header[at + 1])) << 8 |
               quint32(uchar(header[at + 2])) << 16 | quint32(uchar(header[at + 3])) << 24;
    };
    const quint32 byteRate = le32(28);
    // espeak-ng writing to a file leaves the sizes in the header right; use
    // the file size anyway in case a writer left them at 0.
    const qint64 bytes = file.size() - (data + 8);
    return byteRate ? double(bytes) / byteRate : 0;
}

QStringList EncoderArguments(const TClipJob& job) {
    const double seconds = std::max(MinimumSeconds, WavSeconds(job.Speech) + 0.4);
    const QString duration = QString::number(seconds, 'f', 2);
    // A bar sliding in from the left edge, reaching the right margin at the end.
    const int barWidth = job.Size.width() - 32;
    const QString bar =
        QStringLiteral("color=c=0xF0B040:s=%1x6:r=15[bar];[0:v][bar]overlay=x='-w+(16+w)*min(1,t/%2)':"
                       "y=H-16:shortest=1[v];[1:a]apad[a]")
            .arg(barWidth)
            .arg(duration);
    QStringList args{"-v",        "error", "-y",       "-loop",           "1", "-framerate", "15",  "-i",
                     job.Picture, "-i",    job.Speech, "-filter_complex", bar, "-map",       "[v]", "-map",
                     "[a]",       "-t",    duration};
    if (job.Size == FramedSize)
        args << "-c:v"
             << "msvideo1"
             << "-c:a"
             << "adpcm_ima_wav";
    else
        args << "-c:v"
             << "mjpeg"
             << "-q:v"
             << "5"
             << "-pix_fmt"
             << "yuvj420p"
             << "-c:a"
             << "pcm_s16le";
    // Written beside the clip and renamed when complete, so an interrupted
    // run never leaves a clip that looks finished.
    args << "-ar"
         << "22050"
         << "-ac"
         << "1"
         << "-f"
         << "avi" << job.Output + ".part";
    return args;
}

// Runs the commands, `jobs` at a time; the first failure is reported.
bool RunAll(const QString& program, const std::vector<QStringList>& commands, int jobs, QString& error) {
    std::deque<std::unique_ptr<QProcess>> running;
    size_t next = 0;
    const auto finishOldest = [&]() {
        std::unique_ptr<QProcess> p = std::move(running.front());
        running.pop_front();
        p->waitForFinished(-1);
        if (p->exitStatus() != QProcess::NormalExit || p->exitCode() != 0) {
            if (error.isEmpty())
                error = program + " " + p->arguments().join(' ') + ": " +
                        QString::fromLocal8Bit(p->readAllStandardError()).trimmed();
            return false;
        }
        return true;
    };
    bool ok = true;
    while (next < commands.size() || !running.empty()) {
        if (ok && next < commands.size() && int(running.size()) < std::max(jobs, 1)) {
            auto p = std::make_unique<QProcess>();
            p->setProcessChannelMode(QProcess::SeparateChannels);
            p->setStandardOutputFile(QProcess::nullDevice());
            p->start(program, commands[next++]);
            if (!p->waitForStarted()) {
                error = program + ": " + p->errorString();
                ok = false;
                continue;
            }
            running.push_back(std::move(p));
            continue;
        }
        if (running.empty())
            break;
        ok = finishOldest() && ok;
    }
    return ok;
}

std::vector<TClipJob> Jobs(const QJsonObject& course, const QDir& media) {
    std::vector<TClipJob> jobs;
    const QString courseTitle = Text(course, "title");
    const auto add = [&](const QString& file, QSize size, QStringList lines, QString narration) {
        if (file.isEmpty())
            return;
        if (narration.isEmpty())
            narration = lines.last();
        jobs.push_back({media.filePath(file + ".avi"), size, lines, narration, {}, {}});
    };

    add(Text(course, "genesis"), FramedSize, {courseTitle, QStringLiteral("Introduction"), courseTitle},
        QStringLiteral("Welcome to %1.").arg(courseTitle));
    for (const QJsonValue& pv : course.value("pages").toArray()) {
        const QJsonObject page = pv.toObject();
        for (const QJsonValue& bv : page.value("buttons").toArray()) {
            const QJsonObject button = bv.toObject();
            for (const QJsonValue& cv : button.value("clips").toArray()) {
                const QJsonObject clip = cv.toObject();
                const bool framed = clip.value("type").toInt() == FramedClip;
                add(Text(clip, "file"), framed ? FramedSize : FullMotionSize,
                    {courseTitle, Text(page, "title"), Text(button, "title"), Text(clip, "title")},
                    Text(clip, "wordsin"));
            }
        }
    }
    // Challenge n (counted from 1) is the n-th simulation question of the test.
    int challenge = 0;
    for (const QJsonValue& qv : course.value("test").toObject().value("questions").toArray()) {
        const QJsonObject question = qv.toObject();
        if (Text(question, "type") != QLatin1String("simulation"))
            continue;
        ++challenge;
        QString narration = Text(question, "question");
        for (const QJsonValue& step : question.value("steps").toArray())
            narration += ' ' + step.toString().trimmed() + '.';
        add(QStringLiteral("d%1").arg(challenge), FullMotionSize,
            {courseTitle, QStringLiteral("Challenge %1: coaching").arg(challenge), Text(question, "title")},
            narration);
    }
    return jobs;
}

} // namespace

TDemoClipsResult WriteDemoClips(const QString& descriptionFile, const QString& mediaDir, int jobs) {
    TDemoClipsResult result;
    QFile file(descriptionFile);
    if (!file.open(QIODevice::ReadOnly)) {
        result.Error = descriptionFile + ": " + file.errorString();
        return result;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!doc.isObject()) {
        result.Error = descriptionFile + ": " + parseError.errorString();
        return result;
    }
    QDir media(mediaDir);
    if (!media.mkpath(QStringLiteral("."))) {
        result.Error = mediaDir + ": cannot create the directory";
        return result;
    }
    QTemporaryDir work;
    if (!work.isValid()) {
        result.Error = QStringLiteral("no working directory: ") + work.errorString();
        return result;
    }

    std::vector<TClipJob> todo;
    QStringList planned;
    for (TClipJob& job : Jobs(doc.object(), media)) {
        if (QFileInfo::exists(job.Output)) {
            ++result.Kept;
            continue;
        }
        if (planned.contains(job.Output)) // a clip file named by two clips is made once
            continue;
        planned << job.Output;
        const QString stem = work.filePath(QString::number(todo.size()));
        job.Picture = stem + ".png";
        job.Speech = stem + ".wav";
        // The words go through a file: a text starting with "-" is no option.
        QFile words(stem + ".txt");
        if (!TitlePicture(job).save(job.Picture) || !words.open(QIODevice::WriteOnly) ||
            words.write(job.Narration.toUtf8()) < 0) {
            result.Error = stem + ": working files cannot be written";
            return result;
        }
        todo.push_back(job);
    }

    std::vector<QStringList> speak, encode;
    for (const TClipJob& job : todo) {
        QString words = job.Speech;
        words.replace(QLatin1String(".wav"), QLatin1String(".txt"));
        speak.push_back({"-v", "en-us", "-s", "165", "-w", job.Speech, "-f", words});
    }
    if (!RunAll(QStringLiteral("espeak-ng"), speak, jobs, result.Error))
        return result;
    for (const TClipJob& job : todo)
        encode.push_back(EncoderArguments(job));
    const bool encoded = RunAll(QStringLiteral("ffmpeg"), encode, jobs, result.Error);
    for (const TClipJob& job : todo) {
        const QString part = job.Output + ".part";
        if (encoded && QFile::rename(part, job.Output))
            result.Written << job.Output;
        else
            QFile::remove(part);
    }
    if (encoded && result.Written.size() != int(todo.size()) && result.Error.isEmpty())
        result.Error = QStringLiteral("a finished clip could not be renamed in ") + mediaDir;
    return result;
}
