#pragma once
// The clips the benchmarks play, made by ffmpeg: 320x240 at 15 frames a
// second with a 440 Hz tone, in a codec course clips carry ("cinepak" with
// 16-bit PCM, or "msvideo1" with IMA ADPCM).
#include <QProcess>
#include <QString>
#include <QStringList>

inline bool MakeBenchClip(const QString& path, const QString& codec, double seconds) {
    const QString d = QString::number(seconds);
    QStringList args{"-v",
                     "error",
                     "-y",
                     "-f",
                     "lavfi",
                     "-i",
                     "testsrc=size=320x240:rate=15:duration=" + d,
                     "-f",
                     "lavfi",
                     "-i",
                     "sine=frequency=440:sample_rate=22050:duration=" + d};
    if (codec == "cinepak")
        args << "-c:v"
             << "cinepak"
             << "-max_extra_cb_iterations"
             << "0"
             << "-max_strips"
             << "1"
             << "-c:a"
             << "pcm_s16le";
    else
        args << "-c:v"
             << "msvideo1"
             << "-c:a"
             << "adpcm_ima_wav";
    args << "-ac"
         << "1" << path;
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start("ffmpeg", args);
    return ffmpeg.waitForFinished(120000) && ffmpeg.exitStatus() == QProcess::NormalExit &&
           ffmpeg.exitCode() == 0;
}
