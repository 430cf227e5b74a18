// 予約一覧表 as the operator works it from the menu.

#include "sheet_fixture.h"
#include "app/menu.h"
#include "sheets/sheet_form.h"
#include "support/modal_script.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>

namespace {

class SheetFormTest : public SheetTest {
protected:
    void SetUp() override
    {
        SheetTest::SetUp();
        addTarget("00001", "コートA");
        addReserver("-000001", "山田太郎", "03-1111-2222", "");
        book("00001", day, 600, "-000001", "山田太郎", "=1+1");
        openMenu()->findChild<QPushButton*>("予約一覧表")->click();
        form = forms::find<予約一覧表>();
        ASSERT_NE(form, nullptr);
    }
    void press(const QString& name) { form->findChild<QPushButton*>(name)->click(); }
    QLineEdit* date() const { return form->findChild<QLineEdit*>("照会日"); }
    QComboBox* target() const { return form->findChild<QComboBox*>("対象略称"); }
    // Names the file in the save dialog the next command opens.
    static void saveAs(ModalScript& script, const QString& name)
    {
        script.form<QFileDialog>([name](QFileDialog* dialog) {
            dialog->selectFile(name);
            static_cast<QDialog*>(dialog)->accept();
        });
    }

    予約一覧表* form = nullptr;
};

TEST_F(SheetFormTest, OpensOnTodayForEveryTargetAndRefusesWhatNoSheetCanShow)
{
    EXPECT_EQ(form->windowTitle(), "予約一覧表");
    EXPECT_EQ(date()->text(), "2026/12/08");
    EXPECT_EQ(target()->itemText(0), "全対象");
    EXPECT_NE(target()->findText("コートA"), -1);
    EXPECT_TRUE(form->findChild<QRadioButton*>("日別")->isChecked());

    date()->setText("2026/02/30");
    press("PDF出力");
    form->findChild<QRadioButton*>("週間")->setChecked(true);
    date()->setText("2026/12/08");
    press("CSV出力");
    EXPECT_EQ(messageTexts(), (QStringList{"照会日に正しく入力してください", "週間一覧の予約対象を選択して下さい。"}));
    EXPECT_EQ(messages()[0].title, "予約一覧表");
}

TEST_F(SheetFormTest, CsvAndPdfGoWhereTheOperatorSaysAndThePreviewShowsThePages)
{
    ModalScript script;
    saveAs(script, folder() + "/day.csv");
    press("CSV出力");
    saveAs(script, folder() + "/day.pdf");
    press("PDF出力");
    int previewPages = 0;
    script.form<QPrintPreviewDialog>([&](QPrintPreviewDialog* preview) {
        previewPages = preview->findChild<QPrintPreviewWidget*>()->pageCount();
        preview->close();
    });
    press("プレビュー");
    EXPECT_TRUE(script.finished());

    QFile csv(folder() + "/day.csv");
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(csv.readAll().mid(3)), "予約日,対象番号,対象略称,開始,終了,予約者NO,氏名,カナ,電話番号,備考\r\n"
                                                       "2026/12/08,00001,コートA,10:00,10:30,-000001,山田太郎,ｶﾅ,03-1111-2222,'=1+1\r\n");
    EXPECT_TRUE(pdfText(folder() + "/day.pdf").contains("山田太郎"));
    EXPECT_EQ(previewPages, 1);
    EXPECT_EQ(messageTexts(), (QStringList{folder() + "/day.csv に出力しました。", folder() + "/day.pdf に出力しました。"}));
}

} // namespace
