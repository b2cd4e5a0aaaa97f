#include <gtest/gtest.h>

#include "platform/FileName.h"

#include <QMimeData>
#include <QRandomGenerator>
#include <QUrl>

#include <vector>

TEST(FileName, EveryNameOfBytesComesBackAsItWas)
{
    // Shift-JIS, Latin-1, cut and overlong characters, an encoded surrogate,
    // valid characters of every length, and random bytes.
    std::vector<QByteArray> names = {"\x83\x79\x81\x5B\x83\x57.png",
                                     "caf\xe9.png",
                                     "\xe3\x81",
                                     "\xc0\xaf",
                                     "\xed\xb3\xa9",
                                     "\xf4\x90\x80\x80",
                                     "a\xc3\xa9\xe3\x81\x82\xf0\x9f\x98\x80\xe9"};
    QRandomGenerator random(47);
    for (int i = 0; i < 2000; ++i) {
        QByteArray bytes(1 + random.bounded(12), '\0');
        for (char& byte : bytes) {
            byte = static_cast<char>(1 + random.bounded(255));
        }
        names.push_back(bytes);
    }
    for (const QByteArray& bytes : names) {
        const QString name = DecodeFileName(bytes);
        EXPECT_EQ(EncodeFileName(name), bytes) << bytes.toHex().constData();
        // Fitted into fewer bytes, it is cut at the last whole character that fits.
        const qsizetype room = bytes.size() / 2;
        const qsizetype length = FileNamePrefixLength(name, room);
        EXPECT_LE(EncodeFileName(name.left(length)).size(), room) << bytes.toHex().constData();
        const bool pair =
            length + 1 < name.size() && name[length].isHighSurrogate() && name[length + 1].isLowSurrogate();
        const qsizetype next = length + (pair ? 2 : 1);
        EXPECT_GT(EncodeFileName(name.left(next)).size(), room) << bytes.toHex().constData();
        // Shown, it is text that any string function takes.
        const QString shown = ShownFileName(name);
        EXPECT_EQ(QString::fromUtf8(shown.toUtf8()), shown);
        // Dropped or pasted as a URL, the name is found again.
        const QString path = QStringLiteral("/in/") + name;
        QMimeData data;
        data.setUrls({FileUrl(path)});
        ASSERT_EQ(data.urls().size(), 1);
        EXPECT_EQ(LocalFileOf(data.urls().first()), path) << bytes.toHex().constData();
    }
    // Text names are as Qt reads them; others show U+FFFD for each stray byte.
    EXPECT_EQ(DecodeFileName("a\xc3\xa9\xe3\x81\x82\xf0\x9f\x98\x80"), QString::fromUtf8("aé\u3042\U0001F600"));
    EXPECT_EQ(ShownFileName(DecodeFileName("caf\xe9.png")), QStringLiteral("caf\uFFFD.png"));
    EXPECT_EQ(ShownFileName(DecodeFileName("\x83\x79.png")), QStringLiteral("\uFFFDy.png"));
    EXPECT_EQ(FileUrl(QStringLiteral("/a b/\u3042.png")), QUrl::fromLocalFile(QStringLiteral("/a b/\u3042.png")));
    EXPECT_EQ(LocalFileOf(QUrl(QStringLiteral("https://example.org/a.png"))), QString());
}
