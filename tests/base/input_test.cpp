// Reading numbers, dates and times from what the operator typed.

#include "base/input.h"

#include <gtest/gtest.h>

namespace {

TEST(Input, NumbersAcceptSignDigitsAndDecimalsOnly)
{
    for (const char* yes : {"12", "-1", "+3", "1.5", " 7 ", "０９", "－２", "3.", ".5", "99999"})
        EXPECT_TRUE(input::isNumeric(QString::fromUtf8(yes))) << yes;
    for (const char* no : {"", "  ", "1e3", "0x10", "1,000", "12a", "--1", "。", "١٢"})
        EXPECT_FALSE(input::isNumeric(QString::fromUtf8(no))) << no;
    EXPECT_EQ(input::wholeNumber16("３０"), 30);
    EXPECT_EQ(input::wholeNumber16("-32768"), -32768);
    EXPECT_FALSE(input::wholeNumber16("32768"));
    EXPECT_FALSE(input::wholeNumber16("1.5"));
    EXPECT_EQ(input::wholeNumber16("2.0"), 2);
}

TEST(Input, SearchKeysMakeEveryWayOfTypingAPhoneOrAKanaAlike)
{
    for (const char* phone : {"03-1234-5678", "０３－１２３４－５６７８", "(03) 1234 5678", "（０３）１２３４　５６７８", "03ｰ1234ｰ5678"})
        EXPECT_EQ(input::searchKey(QString::fromUtf8(phone)), "0312345678") << phone;
    for (const char* kana : {"ヤマダ　ハナコ", "やまだはなこ", "ﾔﾏﾀﾞ ﾊﾅｺ", "ﾔﾏﾀﾞﾊﾅｺ\t"})
        EXPECT_EQ(input::searchKey(QString::fromUtf8(kana)), QString::fromUtf8("ヤマダハナコ")) << kana;
    EXPECT_EQ(input::searchKey(QString::fromUtf8("ゆーこ")), QString::fromUtf8("ユーコ")); // the long vowel stays
    EXPECT_TRUE(input::isDigitsOnly("0312345678"));
    EXPECT_FALSE(input::isDigitsOnly(""));
    EXPECT_FALSE(input::isDigitsOnly(QString::fromUtf8("03ヤ")));
}

TEST(Input, DatesNeedAFourDigitYearAndADayThatExists)
{
    EXPECT_EQ(input::date("2024/2/29"), QDate(2024, 2, 29));
    EXPECT_EQ(input::date("2024-02-09"), QDate(2024, 2, 9));
    EXPECT_EQ(input::date(QString::fromUtf8("２０２４／０４／０１")), QDate(2024, 4, 1));
    EXPECT_EQ(input::date(" 1999/5/3 "), QDate(1999, 5, 3));
    for (const char* no : {"2023/02/29", "2024/02/30", "1999/13/01", "24/4/1", "2024/4-1", "2024/04/01 10:00", "", "abc"})
        EXPECT_FALSE(input::date(QString::fromUtf8(no))) << no;
    EXPECT_EQ(input::dateText(QDate(2024, 4, 1)), "2024/04/01");
    EXPECT_EQ(input::dateText(QDate(1999, 12, 31)), "1999/12/31");
    // A month is read the same way, without its day.
    EXPECT_EQ(input::month(QString::fromUtf8("２０２６／４")), QDate(2026, 4, 1));
    EXPECT_EQ(input::month("2026-12"), QDate(2026, 12, 1));
    for (const char* no : {"2026/13", "2026/0", "2026/04/01", "26/4", "2026/4-", ""})
        EXPECT_FALSE(input::month(QString::fromUtf8(no))) << no;
    EXPECT_EQ(input::monthText(QDate(2026, 4, 30)), "2026/04");
}

TEST(Input, DatesPutTogetherFromPartsReadEachPartOnItsOwn)
{
    EXPECT_EQ(input::dateOfParts({" 2026 ", QString::fromUtf8("４／１")}), QDate(2026, 4, 1));
    EXPECT_EQ(input::dateOfParts({QString::fromUtf8("２０２７"), " 3", "01 "}), QDate(2027, 3, 1));
    EXPECT_FALSE(input::dateOfParts({"2026", "2/30"}));
    EXPECT_FALSE(input::dateOfParts({"2026 1", "01/01"}));
    EXPECT_FALSE(input::dateOfParts({"", "04/01"}));
    EXPECT_FALSE(input::dateOfParts({"2026", "", "1"}));
}

TEST(Input, TimesOfDayAndTheEndOfTheDay)
{
    const auto t = input::timeOfDay("9", "0");
    ASSERT_TRUE(t);
    EXPECT_EQ(input::timeText(*t), "09:00");
    EXPECT_FALSE(input::timeOfDay("25", "00"));
    EXPECT_FALSE(input::timeOfDay("23", "60"));
    EXPECT_FALSE(input::timeOfDay("24", "00"));
    EXPECT_TRUE(input::timeOfDay("24", "00", true));
    EXPECT_FALSE(input::timeOfDay("24", "10", true));
    EXPECT_FALSE(input::timeOfDay("9.5", "00"));
    EXPECT_EQ(input::timeText(*input::timeFromText(QString::fromUtf8("１０：３０"))), "10:30");
    EXPECT_EQ(input::timeFromText("09:05")->minutes(), 9 * 60 + 5);
    EXPECT_EQ(input::timeFromText("9:05")->minutes(), 9 * 60 + 5);
    EXPECT_EQ(input::timeFromText("24:00", true)->minutes(), 24 * 60);
    for (const char* no : {"24:00", "25:00", "09:60", "0a:00", "", "12:"})
        EXPECT_FALSE(input::timeFromText(no)) << no;
}

} // namespace
