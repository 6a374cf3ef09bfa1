#pragma once
// The installation the benchmark runs the player on, made from nothing in a
// folder of its own: the registry file, the demo skin, one learner and the
// bench course (50 pages of 20 buttons, a glossary and a test) installed by
// altavo-course, with its introduction and lesson clips made by ffmpeg.
#include <QString>

class TBenchInstallation {
public:
    static constexpr int Pages = 50;
    static constexpr int ButtonsPerPage = 20;
    static constexpr int GlossaryTerms = 200;
    static constexpr int Questions = 30;
    static inline const char* const CourseId = "BENCH";
    static inline const char* const Learner = "bench";
    static inline const char* const Password = "bench";

    // `dir` is made when missing; an installation made there before is reused.
    // `binDir` holds altavo-course and the engine; `skinsDir` the demo skins.
    TBenchInstallation(QString dir, QString binDir, QString skinsDir);

    // False with Error() set when a part cannot be made. Clips missing (no
    // ffmpeg) is not a failure: HasClips() says so.
    bool Make();
    const QString& Error() const { return m_error; }
    bool HasClips() const { return m_hasClips; }

    QString RegistryFile() const;
    QString DatabaseDir() const;
    QString CourseDir() const; // the bench course's tables
    QString MediaDir() const;

private:
    bool WriteRegistry();
    bool InstallCourse();
    bool AddLearner();
    bool MakeClips();
    bool Fail(const QString& error);

    QString m_dir, m_binDir, m_skinsDir, m_error;
    bool m_hasClips = false;
};
