#pragma once
// The answers block of a test session: the whole state of an attempt, stored
// in the session's ANSWERS memo so that an unfinished test can be resumed.
// A 20-byte header, then one 28-byte record per question in the order the
// questions were put; integers are 32-bit little-endian. Bytes no reader looks
// at are written as zeros.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

struct TAnswerRecord {
    int32_t QuestionId = 0;
    QString TestId; // at most 12 characters are kept
    bool Correct = false;
    bool Seen = false;
    bool Answered = false;
    bool Marked = false;
    // By question type: true or false 0 true, 1 false; single choice the
    // 1-based choice; multiple choice a bit mask; simulation 0 right, 1 wrong.
    int32_t Answer = 0;
};

struct TAnswersBlock {
    static constexpr int HeaderSize = 20;
    static constexpr int RecordSize = 28;
    static constexpr int MaxTestIdLength = 12;

    bool Finished = false;     // ended (255), or left to be continued (0)
    int32_t CurrentIndex = -1; // 0-based question current when left; -1 when ended
    std::vector<TAnswerRecord> Records;

    // The block's bytes. Test identifiers are stored in Windows-1252; a
    // character it cannot hold makes the block unwritable (nullopt).
    std::optional<QByteArray> Write() const;
    // Reads a block, taking sizes and count from its header. nullopt for an
    // empty or damaged block (one that cannot be resumed).
    static std::optional<TAnswersBlock> Read(const QByteArray& bytes);
    // The length the header of `bytes` states (header size + count x record
    // size), or -1 when there is no readable header.
    static qsizetype StatedLength(const QByteArray& bytes);
};
