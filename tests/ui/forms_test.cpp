// Opening forms once, and the field-check helper every form uses.

#include "support/fixture.h"
#include "ui/field_check.h"
#include "ui/form.h"
#include "ui/forms.h"
#include "ui/message_box.h"

#include <QApplication>
#include <QLineEdit>
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

TEST(Forms, AModelessFormExistsOnceUntilItIsClosed)
{
    SampleForm* opened = forms::showModeless<SampleForm>();
    EXPECT_EQ(opened->loads, 1);
    EXPECT_EQ(opened->objectName(), "SampleForm");
    EXPECT_EQ(opened->windowTitle(), "見本");
    EXPECT_EQ(forms::showModeless<SampleForm>(), opened);
    EXPECT_EQ(opened->loads, 1);

    opened->close();
    flushDeletes();
    EXPECT_EQ(forms::find<SampleForm>(), nullptr);
    SampleForm* again = forms::showModeless<SampleForm>();
    EXPECT_EQ(again->loads, 1);
    again->close();
    flushDeletes();
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
