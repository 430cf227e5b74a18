// Reserver numbers: found by name, proposed without being taken, taken one after another per key.

#include "base/clock.h"
#include "rules/reserver_numbering.h"
#include "support/fixture.h"

namespace {

using namespace 予約NO発番;

class ReserverNumberingTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        settings.NumberPrefix = "K";
    }

    // The numbering of a booking for the target today, under the test's settings.
    IssuedNumber issue(int step, const QString& name)
    {
        return IssueReserverNumber(db(), step, name, SourceFor(settings, target, appclock::today()));
    }
    QString take() { return issue(2, "").number; }

    std::vector<QStringList> numberingRows() const { return rows("発番", "Key_発番", {"発番_設備", "発番_番号", "発番_PriFix"}); }

    QString target = "00003";
};

TEST_F(ReserverNumberingTest, TheFirstNumberIsOneAndEachTakeAddsOne)
{
    EXPECT_EQ(take(), "K-000001");
    EXPECT_EQ(take(), "K-000002");
    EXPECT_EQ(numberingRows(), (std::vector<QStringList>{{"00000", "2", "K"}}));
}

TEST_F(ReserverNumberingTest, ProposingANumberStoresNothing)
{
    const IssuedNumber proposed = issue(1, "山田太郎");
    EXPECT_EQ(proposed.status, ReserverStatus::New);
    EXPECT_EQ(proposed.number, "K-000001");
    EXPECT_EQ(issue(1, "山田太郎").number, "K-000001");
    EXPECT_EQ(count("発番"), 0);

    take();
    EXPECT_EQ(issue(1, "山田太郎").number, "K-000002");
    EXPECT_EQ(numberingRows().front()[1], "000001");
}

TEST_F(ReserverNumberingTest, AKnownNameGivesItsOwnNumber)
{
    insert("予約者", {{"予約者_予約者NO", "K-000042"}, {"予約者_予約者名", "山田太郎"}});
    const IssuedNumber found = issue(1, "山田太郎");
    EXPECT_EQ(found.status, ReserverStatus::Existing);
    EXPECT_EQ(found.number, "K-000042");
    EXPECT_EQ(issue(1, "山田 太郎").status, ReserverStatus::New);
}

TEST_F(ReserverNumberingTest, KindOneSharesOneSequenceAndOtherKindsKeepOnePerTarget)
{
    take();
    target = "00004";
    EXPECT_EQ(take(), "K-000002");

    settings.NumberingKind = "2";
    EXPECT_EQ(take(), "K-000001");
    target = "00003";
    EXPECT_EQ(take(), "K-000001");
    EXPECT_EQ(take(), "K-000002");
    EXPECT_EQ(numberingRows(), (std::vector<QStringList>{{"00000", "2", "K"}, {"00003", "2", "K"}, {"00004", "000001", "K"}}));
}

TEST_F(ReserverNumberingTest, ANumberAnotherReserverHoldsIsPassedOver)
{
    // One counter per target, both with the same prefix: 00003's has given out 1 and 2.
    settings.NumberingKind = "2";
    insert("予約者", {{"予約者_予約者NO", "K-000001"}, {"予約者_予約者名", "山田太郎"}});
    insert("予約者", {{"予約者_予約者NO", "K-000002"}, {"予約者_予約者名", "佐藤花子"}});
    insert("発番", {{"発番_設備", "00003"}, {"発番_番号", "2"}, {"発番_PriFix", "K"}});
    target = "00004";
    EXPECT_EQ(issue(1, "鈴木一郎").number, "K-000003");
    EXPECT_EQ(take(), "K-000003");
    insert("予約者", {{"予約者_予約者NO", "K-000003"}, {"予約者_予約者名", "鈴木一郎"}});
    target = "00003";
    EXPECT_EQ(take(), "K-000004");
    EXPECT_EQ(numberingRows(), (std::vector<QStringList>{{"00003", "4", "K"}, {"00004", "000003", "K"}}));
}

TEST_F(ReserverNumberingTest, LongSequencesKeepAllTheirDigitsAndTheLastPrefixIsKept)
{
    insert("発番", {{"発番_設備", "00000"}, {"発番_番号", "999999"}, {"発番_PriFix", "K"}});
    settings.NumberPrefix = "";
    EXPECT_EQ(take(), "-1000000");
    EXPECT_EQ(take(), "-1000001");
    EXPECT_EQ(numberingRows(), (std::vector<QStringList>{{"00000", "1000001", ""}}));
    EXPECT_EQ(FormatReserverNumber("P", "12"), "P-000012");
}

TEST_F(ReserverNumberingTest, ThePrefixYYYYIsTheCurrentYear)
{
    insert("マスタ", {{"マス_番号", 6}, {"マス_内容", "YYYY"}});
    reloadSettings();
    EXPECT_EQ(take(), "2026-000001");
    // The desk left running into the new year.
    setNow(QDateTime(QDate(2027, 1, 1), QTime(9, 0)));
    EXPECT_TRUE(take().startsWith("2027-"));
}

} // namespace
