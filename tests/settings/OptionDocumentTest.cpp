#include <gtest/gtest.h>

#include "settings/OptionDocument.h"
#include "settings/OptionProfile.h"

TEST(OptionDocument, LookupsAreCaseInsensitiveAndFindTheFirst)
{
    CSectionArray doc;
    EXPECT_EQ(FindSection(doc, "OptionInfo", 0), nullptr);
    CSection* section = FindSection(doc, "OptionInfo", 1);
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(doc.size(), 1);
    FindEntry(*section, "TextPage", 1)->m_strValue = "first";
    section->m_entries.append(CEntry{"textpage", "second"});
    doc.append(CSection{"optioninfo", {}});

    CSection* found = FindSection(doc, "OPTIONINFO", 0);
    EXPECT_EQ(found, &doc[0]);
    EXPECT_EQ(FindEntry(*found, "TEXTPAGE", 0)->m_strValue, "first");
    EXPECT_EQ(FindEntry(*found, "Missing", 0), nullptr);
    EXPECT_EQ(FindEntry(*found, "Missing", 1)->m_strValue, "");
    EXPECT_EQ(found->m_entries.size(), 3);
}

TEST(OptionDocument, EscapingAndItsExactInverse)
{
    const QString folder = "C:\\out\\new\r\nline\\n";
    EXPECT_EQ(EscapeOptionValue(folder), "C:\\\\out\\\\new\\r\\nline\\\\n");
    CSectionArray doc;
    SetOptionString(doc, "S", "k", folder);
    EXPECT_EQ(GetOptionString(doc, "s", "K", "def"), folder);
    EXPECT_EQ(GetOptionString(doc, "S", "other", "def"), "def");
    EXPECT_EQ(GetOptionString(doc, "T", "k", "def"), "def");

    EXPECT_EQ(UnescapeOptionValue("\\\\\\\\"), "\\\\");
    EXPECT_EQ(UnescapeOptionValue("\\\\n"), "\\n");
    EXPECT_EQ(UnescapeOptionValue("\\a\\x"), "\\a\\x");
    EXPECT_EQ(UnescapeOptionValue("\\"), "\\");
    EXPECT_EQ(UnescapeOptionValue("ab\\"), "ab\\");
    EXPECT_EQ(UnescapeOptionValue("\\\\\\"), "\\\\");
    EXPECT_EQ(UnescapeOptionValue("\\r\\n"), "\r\n");
}

TEST(OptionDocument, BinariesAsHexPairs)
{
    CSectionArray doc;
    SetOptionBinary(doc, "S", "k", QByteArray("\x00\x0f\xa0\xff", 4));
    EXPECT_EQ(FindEntry(*FindSection(doc, "S", 0), "k", 0)->m_strValue, "000fa0ff");
    QByteArray data;
    EXPECT_TRUE(GetOptionBinary(doc, "S", "k", data));
    EXPECT_EQ(data, QByteArray("\x00\x0f\xa0\xff", 4));

    FindEntry(doc[0], "odd", 1)->m_strValue = QString(32, u'F') + u'1';
    GetOptionBinary(doc, "S", "odd", data);
    EXPECT_EQ(data, QByteArray(16, '\xff'));

    SetOptionBinary(doc, "S", "empty", QByteArray());
    EXPECT_TRUE(GetOptionBinary(doc, "S", "empty", data));
    EXPECT_TRUE(data.isEmpty());
    EXPECT_TRUE(GetOptionBinary(doc, "S", "missing", data));
    EXPECT_TRUE(data.isEmpty());
}

TEST(OptionProfileInt, ReadLikeDecimalText)
{
    EXPECT_EQ(DecimalTextToInt(u"12abc"), 12);
    EXPECT_EQ(DecimalTextToInt(u" \t-7"), -7);
    EXPECT_EQ(DecimalTextToInt(u"+3"), 3);
    EXPECT_EQ(DecimalTextToInt(u"abc"), 0);
    EXPECT_EQ(DecimalTextToInt(u""), 0);
    EXPECT_EQ(DecimalTextToInt(u"- 5"), 0);
    EXPECT_EQ(DecimalTextToInt(u"99999999999999999999"), 2147483647);
    EXPECT_EQ(DecimalTextToInt(u"-2147483648"), -2147483648LL);
    EXPECT_EQ(DecimalTextToInt(u"-99999999999"), -2147483648LL);
}

TEST(OptionProfileInt, MissingGivesTheDefaultAndWritingCreates)
{
    CSectionArray doc;
    COptionProfile profile(doc);
    EXPECT_EQ(profile.GetInt("OptionInfo", "SpotDot0", 5), 5);
    EXPECT_TRUE(profile.WriteInt("OptionInfo", "SpotDot0", -12));
    ASSERT_EQ(doc.size(), 1);
    EXPECT_EQ(doc[0].m_strName, "OptionInfo");
    EXPECT_EQ(doc[0].m_entries[0].m_strValue, "-12");
    EXPECT_EQ(profile.GetInt("optioninfo", "spotdot0", 5), -12);
    EXPECT_EQ(profile.GetInt("OptionInfo", "Other", 5), 5);
}
