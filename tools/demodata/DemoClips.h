#pragma once
// The demo courses' clips: real AVI files made with Debian's ffmpeg from a
// title picture drawn here and a narration of the clip's opening words spoken
// by espeak-ng, in the codecs of the training CDs: MS Video 1 with IMA ADPCM
// sound for framed 320x240 clips (clip type 257, the introduction clip),
// MJPEG with PCM sound for full-motion 619x325 clips and the challenges'
// coaching clips d<n>.avi.
#include <QString>
#include <QStringList>

struct TDemoClipsResult {
    QStringList Written;
    int Kept = 0; // clips already present, left as they are
    QString Error;
};

// Makes every clip the description names (lesson clips, the introduction
// clip, one coaching clip per simulation question) in mediaDir. Clips already
// there are kept, so an interrupted run finishes the rest; `jobs` encoders
// run at once.
TDemoClipsResult WriteDemoClips(const QString& descriptionFile, const QString& mediaDir, int jobs = 2);
