// Master items are kept exactly as typed; full-width digits and blanks around the value must not
// change what the forms that read them do.

#include "closures/regular_holidays_form.h"
#include "maintenance/period_end_form.h"
#include "master/master_settings_form.h"
#include "support/fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class TypedSettingsTest : public DatabaseTest {
protected:
    // Saves one item through the master settings form, as typed, and reloads the settings as the
    // menu does when the form closes.
    void save(const char* label, const QString& typed)
    {
        auto* form = open<マスター登>();
        QTest::mouseClick(form->findChild<QLabel*>(label), Qt::LeftButton);
        form->findChild<QLineEdit*>("登録内容")->setText(typed);
        form->findChild<QPushButton*>("確定")->click();
        form->close();
        flushDeletes();
        reloadSettings();
    }
};

TEST_F(TypedSettingsTest, AYearStartTypedWithFullWidthDigitsAndBlanksIsTheYearTheFormsUse)
{
    save("年度開始日", QStringLiteral(" １０／１　"));
    save("保持年数", QStringLiteral(" １８ "));
    EXPECT_EQ(rows("マスタ", "idx_マスタ", {"マス_内容"}), (std::vector<QStringList>{{"18"}, {"10/1"}}));

    auto* holidays = open<定休日登録>();
    EXPECT_EQ(holidays->findChild<QLineEdit*>("開始日")->text(), "2026/10/01");
    EXPECT_EQ(holidays->findChild<QLineEdit*>("終了日")->text(), "2027/09/30");
    EXPECT_EQ(holidays->findChild<QLineEdit*>("年度")->palette().color(QPalette::Text), QColor(Qt::black));

    // The business year holding 2026/12/08 began on 2026/10/01; 18 months before it.
    auto* purge = open<期末処理>();
    EXPECT_EQ(purge->findChild<QLineEdit*>("取消日")->text(), "2025/04/01");
    EXPECT_EQ(messageTexts().count("登録･更新しました。"), 2);
}

TEST_F(TypedSettingsTest, ANegativeRetentionIsRefusedAndNothingIsStored)
{
    save("保持年数", "-1");
    EXPECT_EQ(messageTexts(), QStringList{"登録内容に正しく入力してください"}); // and no question
    EXPECT_EQ(count("マスタ"), 0);
    EXPECT_EQ(settings.RetentionMonths, 12);
}

} // namespace
