// The menu buttons of the bulk deletion, the period-end purge and the reorganisation.

#include "support/fixture.h"
#include "app/menu.h"
#include "maintenance/period_end_form.h"
#include "maintenance/warning_form.h"
#include "reservations/bulk_delete_form.h"
#include "ui/forms.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

using MaintenanceMenuTest = DatabaseTest;

TEST_F(MaintenanceMenuTest, EachButtonOpensItsFormOnceAndModeless)
{
    insert("設定", {{"設定_番号", "00001"}});
    auto* menu = openMenu();
    menu->findChild<QPushButton*>("予約一括削除")->click();
    menu->findChild<QPushButton*>("期末削除")->click();
    menu->findChild<QPushButton*>("再編成")->click();
    menu->findChild<QPushButton*>("予約一括削除")->click();

    ASSERT_NE(forms::find<予約削除>(), nullptr);
    ASSERT_NE(forms::find<期末処理>(), nullptr);
    ASSERT_NE(forms::find<警告>(), nullptr);
    for (QWidget* form : std::initializer_list<QWidget*>{forms::find<予約削除>(), forms::find<期末処理>(), forms::find<警告>()}) {
        EXPECT_TRUE(form->isVisible());
        EXPECT_FALSE(form->isModal());
    }
    EXPECT_EQ(forms::find<予約削除>()->findChild<QLineEdit*>("削除月数")->text(), "12");
    EXPECT_TRUE(messages().empty());
}

} // namespace
