// Qt's own windows speak the program's language: test_main starts every test program with the
// same ui::applyAppearance as main().

#include "support/qt_print.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

TEST(Appearance, QtsOwnButtonsAndDialogsAreInJapaneseWhateverTheDesktopLanguage)
{
    const QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Save);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), "キャンセル");
    EXPECT_EQ(buttons.button(QDialogButtonBox::Save)->text(), "保存");
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    EXPECT_EQ(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text(), "キャンセル");
}

} // namespace
