// Reserver numbers: found by name, proposed without being taken, taken one after another per key.

#include "app/startup.h"
#include "base/app_state.h"
#include "rules/reserver_numbering.h"
#include "support/fixture.h"

namespace {

using namespace 予約NO発番;

class ReserverNumberingTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        app().settings.NumberPrefix = "K";
        app().targets.CurrentTarget = "00003";
    }

    QString take() { return IssueReserverNumber(2, "").number; }

    std::vector<QStringList> numberingRows() const
    {
        return rows("発番", "Key_発番", {"発番_設備", "発番_番号", "発番_PriFix"});
    }
};

TEST_F(ReserverNumberingTest, TheFirstNumberIsOneAndEachTakeAddsOne)
{
    EXPECT_EQ(take(), "K-000001");
    EXPECT_EQ(take(), "K-000002");
    EXPECT_EQ(numberingRows(), (std::vector<QStringList>{{"00000", "2", "K"}}));
}

TEST_F(ReserverNumberingTest, ProposingANumberStoresNothing)
{
    const IssuedNumber proposed = IssueReserverNumber(1, "山田太郎");
    EXPECT_EQ(proposed.status, ReserverStatus::New);
    EXPECT_EQ(proposed.number, "K-000001");
    EXPECT_EQ(IssueReserverNumber(1, "山田太郎").number, "K-000001");
    EXPECT_EQ(count("発番"), 0);

    take();
    EXPECT_EQ(IssueReserverNumber(1, "山田太郎").number, "K-000002");
    EXPECT_EQ(numberingRows().front()[1], "000001");
}

TEST_F(ReserverNumberingTest, AKnownNameGivesItsOwnNumber)
{
    insert("予約者", {{"予約者_予約者NO", "K-000042"}, {"予約者_予約者名", "山田太郎"}});
    const IssuedNumber found = IssueReserverNumber(1, "山田太郎");
    EXPECT_EQ(found.status, ReserverStatus::Existing);
    EXPECT_EQ(found.number, "K-000042");
    EXPECT_EQ(IssueReserverNumber(1, "山田 太郎").status, ReserverStatus::New);
}

TEST_F(ReserverNumberingTest, KindOneSharesOneSequenceAndOtherKindsKeepOnePerTarget)
{
    take();
    app().targets.CurrentTarget = "00004";
    EXPECT_EQ(take(), "K-000002");

    app().settings.NumberingKind = "2";
    EXPECT_EQ(take(), "K-000001");
    app().targets.CurrentTarget = "00003";
    EXPECT_EQ(take(), "K-000001");
    EXPECT_EQ(take(), "K-000002");
    EXPECT_EQ(numberingRows(), (std::vector<QStringList>{{"00000", "2", "K"}, {"00003", "2", "K"}, {"00004", "000001", "K"}}));
}

TEST_F(ReserverNumberingTest, ANumberAnotherReserverHoldsIsPassedOver)
{
    // One counter per target, both with the same prefix: 00003's has given out 1 and 2.
    app().settings.NumberingKind = "2";
    insert("予約者", {{"予約者_予約者NO", "K-000001"}, {"予約者_予約者名", "山田太郎"}});
    insert("予約者", {{"予約者_予約者NO", "K-000002"}, {"予約者_予約者名", "佐藤花子"}});
    insert("発番", {{"発番_設備", "00003"}, {"発番_番号", "2"}, {"発番_PriFix", "K"}});
    app().targets.CurrentTarget = "00004";
    EXPECT_EQ(IssueReserverNumber(1, "鈴木一郎").number, "K-000003");
    EXPECT_EQ(take(), "K-000003");
    insert("予約者", {{"予約者_予約者NO", "K-000003"}, {"予約者_予約者名", "鈴木一郎"}});
    app().targets.CurrentTarget = "00003";
    EXPECT_EQ(take(), "K-000004");
    EXPECT_EQ(numberingRows(), (std::vector<QStringList>{{"00003", "4", "K"}, {"00004", "000003", "K"}}));
}

TEST_F(ReserverNumberingTest, LongSequencesKeepAllTheirDigitsAndTheLastPrefixIsKept)
{
    insert("発番", {{"発番_設備", "00000"}, {"発番_番号", "999999"}, {"発番_PriFix", "K"}});
    app().settings.NumberPrefix = "";
    EXPECT_EQ(take(), "-1000000");
    EXPECT_EQ(take(), "-1000001");
    EXPECT_EQ(numberingRows(), (std::vector<QStringList>{{"00000", "1000001", ""}}));
    EXPECT_EQ(FormatReserverNumber("P", "12"), "P-000012");
}

TEST_F(ReserverNumberingTest, ThePrefixYYYYIsTheCurrentYear)
{
    insert("マスタ", {{"マス_番号", 6}, {"マス_内容", "YYYY"}});
    初期処理::LoadStartupSettings();
    EXPECT_EQ(take(), "2026-000001");
}

} // namespace
