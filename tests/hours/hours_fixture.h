#pragma once

#include "app/menu.h"
#include "hours/hours_entry_form.h"
#include "records/master_items.h"
#include "support/fixture.h"
#include "ui/field_check.h"
#include "ui/flex_grid.h"
#include "ui/forms.h"
#include "ui/palette.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

// Targets, stored bands and the hours forms opened from the menu, for the hours tests. The desk
// shows the hours from 8 to 20.
class HoursTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        storeMasterItem(4, "8");
        storeMasterItem(5, "20");
        menu = openMenu();
    }

    // A master item as the master settings form stores it; the settings are read again and, as
    // the menu does after that form closes, handed to the open forms.
    void storeMasterItem(int number, const QString& content)
    {
        records::saveMasterItem(db(), {number, content, QString()});
        reloadSettings();
        if (menu)
            menu->Form_Load();
        forms::handSettings(settings);
    }

    void addTarget(const QString& number, const QString& abbrev)
    {
        insert("設定", {{"設定_番号", number}, {"設定_名称", abbrev + "の名称"}, {"設定_略称", abbrev}});
    }
    // The form's controls by name.
    template <typename W> W* control(const QString& name) const { return form->findChild<W*>(name); }
    QLineEdit* box(const QString& name) const { return control<QLineEdit>(name); }
    FlexGrid* bandGrid() const { return control<FlexGrid>("時間帯"); }
    void press(const QString& name) const { control<QPushButton>(name)->click(); }
    // Chooses a target by its short name in the combo of the specific-day hours form (`in`, or
    // the form under test), as the operator does.
    void pickTarget(const QString& abbrev, QWidget* in = nullptr) const
    {
        auto* combo = (in ? in : form)->findChild<QComboBox*>("対象略称");
        const int index = combo->findText(abbrev);
        ASSERT_GE(index, 0) << abbrev.toStdString();
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    void choose(const QString& option) const { control<QRadioButton>(option)->click(); }

    // Types a band into the four time boxes.
    void typeBand(const QString& startHour, const QString& startMinute, const QString& endHour, const QString& endMinute) const
    {
        box("開始時")->setText(startHour);
        box("開始分")->setText(startMinute);
        box("終了時")->setText(endHour);
        box("終了分")->setText(endMinute);
    }
    // Presses 確定 and answers its question.
    void save(bool yes = true)
    {
        clearMessages();
        answer({yes});
        press("確定");
    }
    void remove(bool yes = true)
    {
        clearMessages();
        answer({yes});
        press("削除");
    }

    // Start, end and mark of every row the band grid shows.
    QStringList shownBands() const
    {
        QStringList bands;
        for (int row = 1; row < bandGrid()->rows() && !bandGrid()->text(row, 0).isEmpty(); ++row)
            bands << bandGrid()->text(row, 1) + "-" + bandGrid()->text(row, 2) + bandGrid()->text(row, 3);
        return bands;
    }
    // Text colours of the four time boxes: 12 red, 0 black.
    QList<int> boxColours() const
    {
        QList<int> colours;
        for (const char* name : {"開始時", "開始分", "終了時", "終了分"})
            colours << ui::textColourNumber(box(name));
        return colours;
    }
    bool rowPainted(FlexGrid* grid, int row, int lastCol, int qbColour) const
    {
        for (int col = 0; col <= lastCol; ++col) {
            if (grid->cellBackColor(row, col) != ui::qbColor(qbColour))
                return false;
        }
        return true;
    }

    メニュー* menu = nullptr;
    HoursEntryForm* form = nullptr;
};
