#include "data/TAnswersBlock.h"

#include <QtEndian>

#include "data/TTextCodec.h"

namespace {

void PutInt(QByteArray& bytes, qsizetype offset, int32_t value) {
    qToLittleEndian<int32_t>(value, bytes.data() + offset);
}

int32_t GetInt(const QByteArray& bytes, qsizetype offset) {
    return qFromLittleEndian<int32_t>(bytes.constData() + offset);
}

} // namespace

std::optional<QByteArray> TAnswersBlock::Write() const {
    const TTextCodec codec; // Windows-1252
    QByteArray bytes(HeaderSize + RecordSize * qsizetype(Records.size()), '\0');
    PutInt(bytes, 0, HeaderSize);
    PutInt(bytes, 4, RecordSize);
    PutInt(bytes, 8, int32_t(Records.size()));
    bytes[12] = char(Finished ? 255 : 0);
    PutInt(bytes, 16, CurrentIndex);
    qsizetype offset = HeaderSize;
    for (const TAnswerRecord& r : Records) {
        auto id = codec.Encode(r.TestId);
        if (!id)
            return std::nullopt;
        QByteArray testId = id->left(MaxTestIdLength);
        PutInt(bytes, offset, r.QuestionId);
        bytes[offset + 4] = char(testId.size());
        std::copy(testId.begin(), testId.end(), bytes.begin() + offset + 5);
        bytes[offset + 17] = char(r.Correct ? 1 : 0);
        bytes[offset + 18] = char(r.Seen ? 1 : 0);
        bytes[offset + 19] = char(r.Answered ? 1 : 0);
        bytes[offset + 20] = char(r.Marked ? 1 : 0);
        PutInt(bytes, offset + 24, r.Answer);
        offset += RecordSize;
    }
    return bytes;
}

qsizetype TAnswersBlock::StatedLength(const QByteArray& bytes) {
    if (bytes.size() < HeaderSize)
        return -1;
    int32_t headerSize = GetInt(bytes, 0);
    int32_t recordSize = GetInt(bytes, 4);
    int32_t count = GetInt(bytes, 8);
    if (headerSize < HeaderSize || recordSize < RecordSize || count < 0)
        return -1;
    qint64 length = qint64(headerSize) + qint64(count) * recordSize;
    return length > (qint64(1) << 40) ? -1 : qsizetype(length);
}

std::optional<TAnswersBlock> TAnswersBlock::Read(const QByteArray& bytes) {
    qsizetype length = StatedLength(bytes);
    if (length < 0 || length > bytes.size())
        return std::nullopt;
    const TTextCodec codec;
    TAnswersBlock block;
    int32_t headerSize = GetInt(bytes, 0);
    int32_t recordSize = GetInt(bytes, 4);
    int32_t count = GetInt(bytes, 8);
    block.Finished = bytes[12] != 0;
    block.CurrentIndex = GetInt(bytes, 16);
    block.Records.reserve(size_t(count));
    for (int32_t i = 0; i < count; ++i) {
        qsizetype offset = headerSize + qsizetype(i) * recordSize;
        TAnswerRecord r;
        r.QuestionId = GetInt(bytes, offset);
        int idLength = std::min<int>(static_cast<unsigned char>(bytes[offset + 4]), MaxTestIdLength);
        r.TestId = codec.Decode(bytes.mid(offset + 5, idLength));
        r.Correct = bytes[offset + 17] != 0;
        r.Seen = bytes[offset + 18] != 0;
        r.Answered = bytes[offset + 19] != 0;
        r.Marked = bytes[offset + 20] != 0;
        r.Answer = GetInt(bytes, offset + 24);
        block.Records.push_back(std::move(r));
    }
    return block;
}
