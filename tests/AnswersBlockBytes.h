#pragma once
// An answers block written out byte by byte, as a test expects the sessions
// table to hold it: on purpose independent of the product's own writer.
#include <QByteArray>
#include <QString>
#include <vector>

struct TBlockRecord {
    int QuestionId;
    bool Correct, Seen, Answered, Marked;
    int Given;
};

// Header 20, 28, n, the finished flag and the current index; each record the
// question ID, the test identifier as one length byte and 12 characters
// (zeros after it), the four flags, three zeros and the answer given.
inline QByteArray AnswersBlockBytes(const QString& testId, bool finished, int current,
                                    const std::vector<TBlockRecord>& records) {
    QByteArray b;
    auto put32 = [&b](qint32 v) {
        for (int i = 0; i < 4; ++i)
            b.append(char((quint32(v) >> (8 * i)) & 0xff));
    };
    put32(20);
    put32(28);
    put32(int(records.size()));
    b.append(char(finished ? 255 : 0));
    b.append(3, '\0');
    put32(current);
    for (const TBlockRecord& r : records) {
        put32(r.QuestionId);
        b.append(char(testId.size()));
        b.append(testId.toLatin1());
        b.append(12 - int(testId.size()), '\0');
        for (bool flag : {r.Correct, r.Seen, r.Answered, r.Marked})
            b.append(char(flag ? 1 : 0));
        b.append(3, '\0');
        put32(r.Given);
    }
    return b;
}
