// The keys an operator reaches for on every form opened from the menu: Enter runs the form's
// main action, Esc closes a form where closing loses nothing, and the warning before the
// reorganisation takes the safe way out on Enter.

#include "support/fixture.h"
#include "support/modal_script.h"
#include "app/menu.h"
#include "master/basic_info_form.h"
#include "master/master_settings_form.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

class KeyboardTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        menu = openMenu();
    }

    // The form the menu button opens (modeless), now the active window.
    QWidget* open(const QString& menuButton)
    {
        const QWidgetList before = QApplication::topLevelWidgets();
        menu->findChild<QPushButton*>(menuButton)->click();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!before.contains(w) && w->isVisible()) {
                QApplication::setActiveWindow(w);
                return w;
            }
        }
        return nullptr;
    }

    // Enter in the first box the operator can type into; true when it pressed the form's 確定.
    static bool enterSaves(QWidget* form)
    {
        QPushButton* save = form->findChild<QPushButton*>("確定");
        QLineEdit* box = nullptr;
        for (QLineEdit* candidate : form->findChildren<QLineEdit*>()) {
            if (!box && candidate->isVisible() && !candidate->isReadOnly())
                box = candidate;
        }
        if (!save || !box)
            return false;
        QSignalSpy clicks(save, &QPushButton::clicked);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Return);
        return clicks.count() == 1;
    }

    メニュー* menu = nullptr;
};

TEST_F(KeyboardTest, EnterInABoxSavesOnEveryFormWhoseMainActionIsASave)
{
    answer({false, false, false, false, false, false, false, false, false}); // No to every save question
    for (const char* button :
         {"予約設定登録", "営業時間登録", "日別営業時間登録", "特定日営業時間登録", "予約者登録", "定休日登", "個別休業日登録"}) {
        QWidget* form = open(button);
        ASSERT_NE(form, nullptr) << button;
        EXPECT_TRUE(enterSaves(form)) << button;
        form->close();
        flushDeletes();
    }

    // The two forms the menu shows modal.
    bool masterSaved = false;
    bool basicSaved = false;
    ModalScript script;
    script
        .form<マスター登>([&](マスター登* form) {
            QApplication::setActiveWindow(form);
            masterSaved = enterSaves(form);
            form->close();
        })
        .form<基本登>([&](基本登* form) {
            QApplication::setActiveWindow(form);
            basicSaved = enterSaves(form);
            form->close();
        });
    menu->findChild<QPushButton*>("マスター登録")->click();
    menu->findChild<QPushButton*>("基本情報")->click();
    EXPECT_TRUE(script.finished());
    EXPECT_TRUE(masterSaved);
    EXPECT_TRUE(basicSaved);
}

TEST_F(KeyboardTest, EscClosesTheFormsThatLoseNothingByClosing)
{
    for (const char* button : {"予約設定登録", "営業時間登録", "特定日営業時間登録", "対象照会", "予約者登録", "予約者照会", "予約一括削除",
                               "期末削除", "再編成", "定休日登", "個別休業日登録", "祝日登録", "稼働状況"}) {
        QPointer<QWidget> form = open(button);
        ASSERT_NE(form, nullptr) << button;
        clearMessages(); // what a form says as it opens on an empty database
        QTest::keyClick(form, Qt::Key_Escape);
        flushDeletes();
        EXPECT_TRUE(form.isNull()) << button << " is still open";
        EXPECT_TRUE(messages().empty()) << button << " said " << messageTexts().join(" / ").toStdString();
    }
}

TEST_F(KeyboardTest, EnterOnTheReorganisationWarningCancelsWithoutAQuestion)
{
    QPointer<QWidget> warning = open("再編成");
    ASSERT_NE(warning, nullptr);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : warning.data(), Qt::Key_Return);
    flushDeletes();
    EXPECT_TRUE(warning.isNull());
    EXPECT_TRUE(messages().empty());
}

} // namespace
