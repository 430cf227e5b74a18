// The table cursor as the forms use it: seeks, scans, upserts and deletions inside a scan.

#include "support/fixture.h"
#include "store/store_error.h"

using store::Value;

namespace {

class CursorTest : public BothStoresTest {
protected:
    void addTarget(const QString& number, const QString& abbrev = QString())
    {
        insert("設定", {{"設定_番号", number}, {"設定_名称", "名" + number}, {"設定_略称", abbrev.isEmpty() ? number : abbrev}});
    }
    void addReservation(const QString& target, const QString& date, const QString& start, const QString& who = "-000001")
    {
        insert("予約", {{"予約_設定番号", target},
                        {"予約_年月日", date},
                        {"予約_開始時間", start},
                        {"予約_予約者NO", who},
                        {"予約_終了時間", "23:00"}});
    }
};

TEST_P(CursorTest, FiveBlanksLandOnTheCommonRecordOrTheLowestTarget)
{
    addTarget("00002");
    addTarget("00010");
    store::Table targets = db().table("設定");
    targets.setIndex("Key_設定");
    targets.seek(">=", {"     "});
    ASSERT_FALSE(targets.eof());
    EXPECT_EQ(targets.text("設定_番号"), "00002");

    addTarget("00000", "共通基本情報");
    targets.seek(">=", {"     "});
    EXPECT_EQ(targets.text("設定_番号"), "00000");
    targets.moveNext();
    EXPECT_EQ(targets.text("設定_番号"), "00002");
    targets.moveNext();
    EXPECT_EQ(targets.text("設定_番号"), "00010");
    targets.moveNext();
    EXPECT_TRUE(targets.eof());
}

TEST_P(CursorTest, SeekEqualFindsTheRecordOrReportsNoMatchAndEof)
{
    insert("基本", {{"基本_番号", "00000"}, {"基本_単位", 1}, {"基本_設定", 30}, {"基本_重複", 1}, {"基本_重複数", 2}});
    store::Table basic = db().table("基本");
    basic.setIndex("Key_基本");
    basic.seek("=", {"00000"});
    ASSERT_FALSE(basic.noMatch());
    EXPECT_EQ(basic.integer("基本_設定"), 30);
    // Integers written to a text field and to a flag read back as text.
    EXPECT_EQ(basic.field("基本_単位"), Value("1"));
    EXPECT_EQ(basic.field("基本_重複"), Value("1"));

    basic.seek("=", {"00001"});
    EXPECT_TRUE(basic.noMatch());
    EXPECT_TRUE(basic.eof());
    EXPECT_THROW(basic.field("基本_設定"), store::StoreError);
}

TEST_P(CursorTest, SeekGreaterSkipsEqualKeys)
{
    addTarget("00000");
    addTarget("00001");
    store::Table targets = db().table("設定");
    targets.setIndex("Key_設定");
    targets.seek(">", {"00000"});
    EXPECT_EQ(targets.text("設定_番号"), "00001");
    targets.seek(">", {"00001"});
    EXPECT_TRUE(targets.eof());
    EXPECT_TRUE(targets.noMatch());
}

TEST_P(CursorTest, IndexNamesIgnoreLatinCaseAndBelongToTheirTable)
{
    insert("カレンダー", {{"カレ_番号", "00000"}, {"カレ_年月日", "2026/12/08"}, {"カレ_休日FLG", 1}});
    store::Table calendar = db().table("カレンダー");
    calendar.setIndex("key_カレンダー");
    calendar.seek("=", {"00000", QDate(2026, 12, 8)});
    EXPECT_FALSE(calendar.noMatch());
    calendar.setIndex("KEY_カレンダー");
    calendar.seek("=", {"00000", "2026/12/08"});
    EXPECT_FALSE(calendar.noMatch());

    // Idx_日付 of 予約 orders by the reservation date, of 予約者 by the latest reservation date.
    addReservation("00001", "2026/12/09", "09:00");
    insert("予約者", {{"予約者_予約者NO", "-000001"}, {"予約者_最新予約日", "2026/12/01"}});
    store::Table reservations = db().table("予約");
    reservations.setIndex("idx_日付");
    reservations.seek("=", {"2026/12/09"});
    EXPECT_FALSE(reservations.noMatch());
    store::Table reservers = db().table("予約者");
    reservers.setIndex("Idx_日付");
    reservers.seek("=", {"2026/12/01"});
    EXPECT_FALSE(reservers.noMatch());

    EXPECT_THROW(reservations.setIndex("Key_設定"), store::StoreError);
}

// The range is longer than the first batch a server hands over, so the scan reads on after removals.
TEST_P(CursorTest, DeletingInsideAScanRemovesExactlyTheRange)
{
    for (int day = 1; day <= 28; ++day) {
        addReservation("00001", QString("2026/11/%1").arg(day, 2, 10, QChar('0')), "09:00");
        addReservation("00001", QString("2026/11/%1").arg(day, 2, 10, QChar('0')), "10:00");
    }
    addReservation("00002", "2026/11/03", "09:00");

    store::Table reservations = db().table("予約");
    reservations.setIndex("Idx_期限");
    reservations.seek(">=", {"00001", ""});
    int deleted = 0;
    while (!reservations.eof()) {
        if (reservations.text("予約_設定番号") != "00001" || reservations.text("予約_年月日") > "2026/11/20")
            break;
        reservations.remove();
        ++deleted;
        reservations.moveNext();
    }
    EXPECT_EQ(deleted, 40);
    EXPECT_EQ(count("予約"), 17);
    const auto left = rows("予約", "Key_予約", {"予約_設定番号", "予約_年月日"});
    EXPECT_EQ(left.front(), (QStringList{"00001", "2026/11/21"}));
    EXPECT_EQ(left.back(), (QStringList{"00002", "2026/11/03"}));
}

// The range is longer than one statement deletes on either store: the progress hears each batch,
// and stopping after the first rolls every deletion back.
TEST_P(CursorTest, ARangedDeletionRemovesFromTheFirstKeyThroughTheLastAndCanBeStopped)
{
    constexpr int kRows = 5100;
    const store::Database database = db();
    {
        store::Transaction transaction(database);
        for (int i = 0; i < kRows; ++i)
            addReservation("00001", "2026/11/01", "09:00", QString("-%1").arg(i, 6, 10, QChar('0')));
        addReservation("00001", "", "09:00");
        addReservation("00001", "2026/11/02", "09:00");
        addReservation("00002", "2026/10/01", "09:00");
        transaction.commit();
    }
    std::vector<qint64> heard;
    const auto removeThrough = [&](const Value& last, bool stop) {
        store::Transaction transaction(database);
        const int removed = database.table("予約", "Idx_期限").removeRange({"00001", ""}, {"00001", last}, [&](qint64 done, qint64) {
            heard.push_back(done);
            return !stop;
        });
        transaction.commit();
        return removed;
    };
    EXPECT_THROW(removeThrough(QDate(2026, 11, 1), true), store::Cancelled);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_LT(heard.front(), kRows);
    EXPECT_EQ(count("予約"), kRows + 3);

    // An empty last key reaches only the records whose key is empty.
    EXPECT_EQ(removeThrough("", false), 1);
    heard.clear();
    EXPECT_EQ(removeThrough(QDate(2026, 11, 1), false), kRows);
    EXPECT_GT(heard.size(), 1u);
    EXPECT_EQ(heard.back(), kRows);
    const auto left = rows("予約", "Key_予約", {"予約_設定番号", "予約_年月日"});
    EXPECT_EQ(left, (std::vector<QStringList>{{"00001", "2026/11/02"}, {"00002", "2026/10/01"}}));
}

TEST_P(CursorTest, UpsertEditsAnExistingKeyAndAddsANewOne)
{
    const auto upsert = [this](const QString& number, const QString& name) {
        store::Table targets = db().table("設定");
        targets.setIndex("Key_設定");
        targets.seek("=", {number});
        if (targets.noMatch())
            targets.addNew();
        else
            targets.edit();
        targets.set("設定_番号", number);
        targets.set("設定_名称", name);
        targets.update();
    };
    upsert("00001", "会議室");
    upsert("00001", "大会議室");
    EXPECT_EQ(count("設定"), 1);
    upsert("00002", "和室");
    EXPECT_EQ(count("設定"), 2);
    EXPECT_EQ(rows("設定", "Key_設定", {"設定_名称", "設定_略称"}).front(), (QStringList{"大会議室", ""}));
}

TEST_P(CursorTest, DateFieldsTakeDatesOrDateTextAndCompareEqual)
{
    insert("特定日", {{"特定_番号", "00001"}, {"特定_日付", QDate(2024, 2, 29)}, {"特定_開始時間", "09:00"}});
    insert("特定日", {{"特定_番号", "00001"}, {"特定_日付", "2024/2/29"}, {"特定_開始時間", "10:00"}});
    store::Table specific = db().table("特定日");
    specific.setIndex("Key_特定日");
    specific.seek(">=", {"00001", "2024/02/29", "00:00"});
    EXPECT_EQ(specific.text("特定_日付"), "2024/02/29");
    specific.moveNext();
    EXPECT_EQ(specific.text("特定_日付"), "2024/02/29");
    EXPECT_EQ(specific.text("特定_開始時間"), "10:00");

    // A date that does not exist cannot be stored nor sought.
    specific.addNew();
    EXPECT_THROW(specific.set("特定_日付", "2023/02/29"), store::StoreError);
    EXPECT_THROW(specific.seek("=", {"00001", "2023/02/29", "09:00"}), store::StoreError);
}

TEST_P(CursorTest, EmptyTextSortsBelowEveryValueOfAnyType)
{
    insert("マスタ", {{"マス_番号", -5}, {"マス_内容", "a"}});
    insert("マスタ", {{"マス_番号", 3}, {"マス_内容", "b"}});
    store::Table master = db().table("マスタ");
    master.setIndex("idx_マスタ");
    master.seek(">=", {""});
    EXPECT_EQ(master.integer("マス_番号"), -5);

    insert("日別", {{"日別_番号", "00001"}, {"日別_区分", 1}, {"日別_日付", 1}, {"日別_開始時間", "09:00"}});
    store::Table daily = db().table("日別");
    daily.setIndex("Key_日別");
    daily.seek(">=", {"", 0, 0, ""});
    EXPECT_EQ(daily.text("日別_番号"), "00001");
}

TEST_P(CursorTest, IntegerFieldsRefuseWhatIsNotAWholeSixteenBitNumber)
{
    store::Table basic = db().table("基本");
    basic.addNew();
    basic.set("基本_設定", "30");
    EXPECT_THROW(basic.set("基本_設定", "1.5"), store::StoreError);
    EXPECT_THROW(basic.set("基本_設定", "abc"), store::StoreError);
    EXPECT_THROW(basic.set("基本_設定", 40000), store::StoreError);
    try {
        basic.set("基本_重複数", "x");
        FAIL() << "no error for a text in an integer field";
    } catch (const store::StoreError& error) {
        EXPECT_TRUE(error.message().contains("基本_重複数"));
        EXPECT_TRUE(error.message().contains("基本"));
    }
    EXPECT_THROW(basic.set("基本_無い項目", "1"), store::StoreError);
}

TEST_P(CursorTest, FieldsLeftUnsetHoldEmptyTextOrZero)
{
    insert("予約者", {{"予約者_予約者NO", "-000001"}});
    store::Table reservers = db().table("予約者");
    reservers.setIndex("Key_予約者");
    reservers.seek("=", {"-000001"});
    EXPECT_EQ(reservers.field("予約者_住所"), Value(""));
    EXPECT_EQ(reservers.field("予約者_性別"), Value(0));
}

TEST_P(CursorTest, AScanGoesOnCorrectlyWhileAnotherCursorWrites)
{
    for (int hour = 9; hour <= 14; ++hour)
        addReservation("00001", "2026/12/08", QString("%1:00").arg(hour, 2, 10, QChar('0')));

    store::Database database = db();
    store::Table scan = database.table("予約");
    scan.setIndex("Key_予約");
    store::Table writer = database.table("予約者");
    QStringList seen;
    for (scan.seek(">=", {"00001", "2026/12/08", "00:00", ""}); !scan.eof(); scan.moveNext()) {
        seen << scan.text("予約_開始時間");
        writer.addNew();
        writer.set("予約者_予約者NO", scan.text("予約_開始時間"));
        writer.update();
    }
    EXPECT_EQ(seen, (QStringList{"09:00", "10:00", "11:00", "12:00", "13:00", "14:00"}));
    EXPECT_EQ(count("予約者"), 6);
}

TEST_P(CursorTest, HandlesOnOneFileSeeEachOthersWrites)
{
    store::Database first = db();
    store::Database second = db();
    store::Table reader = first.table("設定");
    reader.setIndex("Key_設定");
    {
        store::Table writer = second.table("設定");
        writer.addNew();
        writer.set("設定_番号", "00007");
        writer.update();
    }
    reader.seek("=", {"00007"});
    EXPECT_FALSE(reader.noMatch());
}

TEST_P(CursorTest, AScanLongerThanOneReadingGoesOnToTheEndInOrder)
{
    {
        store::Database database = db();
        store::Transaction transaction(database);
        for (int i = 1200; i > 0; --i)
            addTarget(QString("%1").arg(i, 5, 10, QChar('0')));
        transaction.commit();
    }
    store::Table targets = db().table("設定", "Key_設定");
    int seen = 0;
    QString previous;
    for (targets.seek(">", {"00000"}); !targets.eof(); targets.moveNext()) {
        ASSERT_LT(previous, targets.text("設定_番号"));
        previous = targets.text("設定_番号");
        ++seen;
    }
    EXPECT_EQ(seen, 1200);
}

ON_BOTH_STORES(CursorTest);

} // namespace
