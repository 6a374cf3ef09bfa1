// Text at the table boundary: code pages, round trips and refusals.
#include <gtest/gtest.h>

#include "data/TTextCodec.h"

namespace {

TEST(TextCodec, Windows1252RoundTripsEveryByte) {
    TTextCodec codec; // no code page declared
    EXPECT_EQ(codec.CodePage(), 1252);
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        all.append(char(b));
    QString text = codec.Decode(all);
    EXPECT_EQ(text[0x80 - 1], QChar(0x20AC));
    EXPECT_EQ(text[0x9F - 1], QChar(0x0178));
    EXPECT_EQ(text[0xE9 - 1], QChar(0x00E9));
    EXPECT_EQ(codec.Encode(text), all);
}

TEST(TextCodec, DeclaredCodePagesAndRefusals) {
    struct Case {
        int headerByte;
        QString text;
        QByteArray bytes; // empty: refused
    } cases[] = {
        {0x03, "Grüße €",
         QByteArray("Gr\xfc\xdf"
                    "e \x80")},
        {0x57, "Œuvre", QByteArray("\x8cuvre")},
        {0x02, "Grüße",
         QByteArray("Gr\x81\xe1"
                    "e")}, // code page 850
        {0xC8, "Łódź",
         QByteArray("\xa3\xf3"
                    "d\x9f")},                     // Windows-1250
        {0xC9, "Мир", QByteArray("\xcc\xe8\xf0")}, // Windows-1251
        {0x03, "Łukasz", QByteArray()},
        {0x03, "日本", QByteArray()},
        {0xC9, "é", QByteArray()},
    };
    for (const Case& c : cases) {
        TTextCodec codec(c.headerByte);
        QString refused;
        auto bytes = codec.Encode(c.text, &refused);
        if (c.bytes.isEmpty()) {
            EXPECT_FALSE(bytes) << c.text.toStdString();
            EXPECT_FALSE(refused.isEmpty());
        } else {
            ASSERT_TRUE(bytes) << c.text.toStdString();
            EXPECT_EQ(*bytes, c.bytes) << c.text.toStdString();
            EXPECT_EQ(codec.Decode(c.bytes), c.text);
        }
    }
    QString error;
    EXPECT_FALSE(EncodeForTable(TTextCodec(), "Łukasz", "The user name", "the users table", error));
    EXPECT_EQ(error,
              "The user name holds the character \"Ł\", which the users table (Windows-1252) cannot store.");
}

} // namespace
