// Opening forms once, modal windows that nothing answers, and the field-check helper every form uses.

#include "support/fixture.h"
#include "ui/field_check.h"
#include "ui/form.h"
#include "ui/forms.h"
#include "ui/message_box.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

class SampleForm : public Form {
public:
    SampleForm() : Form("SampleForm", "見本")
    {
        first = textBox("first");
        second = textBox("second");
        third = textBox("third");
    }
    void Form_Load() override { ++loads; }

    QLineEdit* first;
    QLineEdit* second;
    QLineEdit* third;
    int loads = 0;
};

TEST_F(DatabaseTest, AModelessFormExistsOnceUntilItIsClosed)
{
    SampleForm* opened = forms::showModeless<SampleForm>(desk());
    EXPECT_EQ(opened->loads, 1);
    EXPECT_EQ(opened->objectName(), "SampleForm");
    EXPECT_EQ(opened->windowTitle(), "見本");
    EXPECT_EQ(forms::showModeless<SampleForm>(desk()), opened);
    EXPECT_EQ(opened->loads, 1);

    opened->close();
    flushDeletes();
    EXPECT_EQ(forms::find<SampleForm>(), nullptr);
    SampleForm* again = forms::showModeless<SampleForm>(desk());
    EXPECT_EQ(again->loads, 1);
    again->close();
    flushDeletes();
}

// A test that meets a modal window it did not arrange for fails at once, naming the window, and
// goes on: the window is closed, a question answered No. Windows a test arranges for are left alone.
TEST_F(DatabaseTest, AModalWindowNobodyAnswersIsClosedAndFailsTheTest)
{
    msg::clearResponder(); // real message boxes, as nobody answers them

    EXPECT_NONFATAL_FAILURE(forms::showModal<SampleForm>(desk()), "unexpected modal window SampleForm 「見本」");
    flushDeletes();
    EXPECT_EQ(forms::find<SampleForm>(), nullptr);

    bool answer = true;
    EXPECT_NONFATAL_FAILURE(answer = msg::ask("予約を取り消しますか", "時間表示"),
                            "MessageBox 「時間表示」 saying \"予約を取り消しますか\"");
    EXPECT_FALSE(answer);

    answerNextMessageBox("Yes");
    EXPECT_TRUE(msg::ask("予約を取り消しますか", "時間表示"));
}

// A question about a record names it under its text, and Enter answers No.
TEST(Forms, AQuestionAboutARecordNamesItAndEnterAnswersNo)
{
    QString detail;
    whenModalShown([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        detail = box->informativeText();
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_FALSE(msg::askAbout("指定予約を取り消します。", "2026/12/08 10:00～11:00 会議室A 山田太郎", "時間表示"));
    EXPECT_EQ(detail, "2026/12/08 10:00～11:00 会議室A 山田太郎");
}

// A box, a group of two exclusive options of which the second is chosen, and a box.
class OptionsForm : public Form {
public:
    OptionsForm() : Form("OptionsForm", "見本")
    {
        before = textBox("before");
        QGroupBox* group = frame("group", "区分");
        yes = option("yes", "可能", group);
        no = option("no", "不可能", group);
        auto* row = new QHBoxLayout(group);
        row->addWidget(yes);
        row->addWidget(no);
        no->setChecked(true);
        after = textBox("after");
    }

    QLineEdit* before;
    QRadioButton* yes;
    QRadioButton* no;
    QLineEdit* after;
};

TEST(Forms, TabGoesOnFromWhicheverOptionOfAGroupWasChosen)
{
    OptionsForm form;
    form.show();
    QApplication::setActiveWindow(&form);
    const auto tab = [](bool forward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, forward ? Qt::NoModifier : Qt::ShiftModifier);
        return QApplication::focusWidget();
    };
    // Once the focus has been in the group, Qt keeps one Tab stop in it: the option last focused.
    form.yes->setFocus();
    EXPECT_EQ(tab(true), form.after);

    // The operator chooses the other option: Tab leaves the group for the next control, and
    // Shift+Tab comes back to the option chosen, then goes on to the box before the group.
    form.no->click();
    form.no->setFocus();
    EXPECT_EQ(tab(true), form.after);
    EXPECT_EQ(tab(false), form.no);
    EXPECT_EQ(tab(false), form.before);
}

TEST(FieldCheck, TheFirstFailureLeadsAndEveryFailingBoxTurnsRed)
{
    SampleForm form;
    form.show();
    ui::FieldCheck check;
    check.clear();
    check.pass(form.first);
    check.fail(form.third, "三番目が違います");
    check.fail(form.second, "二番目が違います");
    EXPECT_TRUE(check.failed());
    EXPECT_EQ(check.message(), "三番目が違います");
    EXPECT_EQ(ui::textColourNumber(form.first), 0);
    EXPECT_EQ(ui::textColourNumber(form.second), 12);
    EXPECT_EQ(ui::textColourNumber(form.third), 12);
    EXPECT_EQ(form.firstInTabOrder(), form.third);

    std::vector<msg::Shown> shown;
    msg::setResponder([&](const msg::Shown& s) {
        shown.push_back(s);
        return true;
    });
    EXPECT_TRUE(check.reportFailure("題名"));
    msg::clearResponder();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "三番目が違います");
    EXPECT_EQ(shown[0].title, "題名");
    EXPECT_EQ(shown[0].icon, msg::Icon::Exclamation);

    check.clear();
    EXPECT_FALSE(check.failed());
    EXPECT_FALSE(check.reportFailure("題名"));
}

} // namespace
