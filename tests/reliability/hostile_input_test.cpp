// Every entry box of every form meets what an operator, a paste or a stuck key may put into it.
// Each input is typed, the box is left (its LostFocus check runs) and the form's action is
// carried out, on the same file every time. After each: no crash, no store error shown, nothing
// written unless every check passed, and what was written reads back exactly as typed (numbers,
// dates and times in their stored form).

#include "base/clock.h"
#include "entry_boxes.h"
#include "form_scenes.h"
#include "hostile_inputs.h"
#include "base/kinds.h"
#include "hours/time_band_preview_form.h"
#include "maintenance/warning_form.h"
#include "records/hours.h"
#include "reliability_report.h"
#include "reservations/time_inquiry_form.h"
#include "store/schema.h"
#include "support/table_contents.h"
#include "ui/form.h"
#include "ui/forms.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <map>
#include <optional>
#include <ostream>

namespace {

using entry_boxes::EntryBox;
using entry_boxes::Place;
using entry_boxes::Rule;

// The inputs a rule refuses, by name; everything else passes and reads back as typed.
QSet<QString> refusedBy(Rule rule)
{
    switch (rule) {
    case Rule::AnyText: return {};
    case Rule::RequiredText: return {"empty", "blanks only"};
    case Rule::Name: return {"empty", "blanks only", "10,000 characters"};
    default: return {};
    }
}

// What a box reads back after the typed text, or nothing when its checks refuse it.
std::optional<QString> expectedFor(const EntryBox& box, const HostileInput& input)
{
    switch (box.rule) {
    case Rule::Listed:
        for (const auto& [typed, readBack] : box.passes) {
            if (typed == input.text)
                return readBack;
        }
        return std::nullopt;
    case Rule::NeverWritten: return box.passes.front().second;
    default:
        if (refusedBy(box.rule).contains(input.name))
            return std::nullopt;
        return input.text;
    }
}

// The inputs a box is tried with: every hostile input, then the box's own samples.
std::vector<HostileInput> inputsFor(const EntryBox& box)
{
    std::vector<HostileInput> inputs = hostileInputs();
    for (const auto& [typed, readBack] : box.passes) {
        const bool known = std::any_of(inputs.begin(), inputs.end(), [&](const HostileInput& i) { return i.text == typed; });
        if (!known && box.rule == Rule::Listed)
            inputs.push_back({QStringLiteral("\"%1\"").arg(typed), typed});
    }
    return inputs;
}

// Records of a table that are in `from` and not in `without`.
std::vector<QStringList> recordsOnlyIn(const std::vector<QStringList>& from, const std::vector<QStringList>& without)
{
    std::vector<QStringList> only;
    for (const QStringList& record : from) {
        if (std::find(without.begin(), without.end(), record) == without.end())
            only.push_back(record);
    }
    return only;
}

std::string shortText(const QString& text)
{
    return (text.size() > 40 ? text.left(40) + QStringLiteral("…") : text).toStdString();
}

class HostileInputTest : public SceneTest, public ::testing::WithParamInterface<QString> {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        msg::setResponder([this](const msg::Shown& shown) {
            shown_.push_back(shown);
            return shown.text != declined_;
        });
    }

    bool wasShown(const QString& text) const
    {
        return std::any_of(shown_.begin(), shown_.end(), [&](const msg::Shown& s) { return s.text == text; });
    }
    bool shownWith(msg::Icon icon) const
    {
        return std::any_of(shown_.begin(), shown_.end(), [&](const msg::Shown& s) { return s.icon == icon; });
    }

    // Types one input into one box, leaves the box and carries out the scene's action, on a file
    // that is put back as it was afterwards. True when the input passed.
    bool tryInput(const EntryBox& box, const HostileInput& input)
    {
        const Scene& s = scene(box.scene);
        const std::optional<QString> expected = expectedFor(box, input);
        SCOPED_TRACE(QStringLiteral("%1 / %2 / %3").arg(box.scene, box.box, input.name).toStdString());
        declined_ = s.declined;

        store::Database held = db();
        store::Transaction putBack(held); // never committed: every input meets the same file
        const Contents before = tableContents(kAllTables);
        Form* form = s.open(desk());
        auto* edit = form->findChild<QLineEdit*>(box.box);
        auto* button = form->findChild<QPushButton*>(s.action);
        EXPECT_TRUE(edit && button) << "no box " << box.box.toStdString() << " or button " << s.action.toStdString();
        if (!edit || !button)
            return false;
        shown_.clear();

        edit->setFocus();
        edit->setText(input.text);
        edit->setModified(true);
        if (edit->maxLength() >= input.text.size()) {
            EXPECT_EQ(edit->text(), input.text) << "the box does not hold what was typed";
        }
        button->setFocus(); // the box loses the focus and checks what it holds
        ModalWatch modal;
        button->click();
        const Contents after = tableContents(kAllTables);

        for (const msg::Shown& shown : shown_)
            EXPECT_NE(shown.icon, msg::Icon::Critical) << "store error shown: " << shown.text.toStdString();
        if (expected)
            expectPassed(box, s, *expected, form, modal, before, after);
        else
            expectRefused(s, modal, before, after);

        form->close();
        flushDeletes();
        return expected.has_value();
    }

    void expectPassed(const EntryBox& box, const Scene& s, const QString& expected, Form* form, const ModalWatch& modal,
                      const Contents& before, const Contents& after)
    {
        if (!s.done.isEmpty())
            EXPECT_TRUE(wasShown(s.done)) << "the action was not carried out; shown: " << shownTexts();
        else
            EXPECT_FALSE(shownWith(msg::Icon::Exclamation)) << "the input was refused: " << shownTexts();
        for (const Place& place : box.places) {
            const store::schema::TableDef* table = store::schema::findTable(place.where);
            if (!table) {
                const std::optional<QString> text = place.where == form->objectName()
                                                        ? std::optional<QString>(form->findChild<QLineEdit*>(place.field)->text())
                                                        : modal.boxText(place.where, place.field);
                EXPECT_EQ(text, std::optional<QString>(expected)) << place.where.toStdString() << " " << place.field.toStdString();
                continue;
            }
            const int field = table->fieldIndex(place.field);
            const auto touched = place.removed ? recordsOnlyIn(before.at(place.where), after.at(place.where))
                                               : recordsOnlyIn(after.at(place.where), before.at(place.where));
            const bool found = std::any_of(touched.begin(), touched.end(), [&](const QStringList& r) { return r[field] == expected; });
            EXPECT_TRUE(found) << place.field.toStdString() << " does not read back \"" << shortText(expected) << "\" (" << touched.size()
                               << " records " << (place.removed ? "removed" : "written") << ")";
        }
    }

    void expectRefused(const Scene& s, const ModalWatch& modal, const Contents& before, const Contents& after)
    {
        EXPECT_TRUE(before == after) << "something was written although a check failed";
        EXPECT_FALSE(modal.opened()) << "the action went ahead although a check failed";
        if (!s.done.isEmpty()) {
            EXPECT_FALSE(wasShown(s.done)) << "the action was carried out although a check failed";
        }
        EXPECT_TRUE(shownWith(msg::Icon::Exclamation)) << "nothing told the operator; shown: " << shownTexts();
    }

    std::string shownTexts() const
    {
        QStringList texts;
        for (const msg::Shown& shown : shown_)
            texts << shown.text;
        return texts.join(" / ").toStdString();
    }

    std::vector<msg::Shown> shown_;
    QString declined_;
};

TEST_P(HostileInputTest, EveryInputInEveryBoxIsRefusedOrWrittenExactly)
{
    int tried = 0;
    int passed = 0;
    int neverWritten = 0;
    QStringList boxes;
    for (const EntryBox& box : entry_boxes::all()) {
        if (box.scene != GetParam())
            continue;
        boxes << box.box;
        for (const HostileInput& input : inputsFor(box)) {
            ++tried;
            if (tryInput(box, input))
                ++(box.rule == Rule::NeverWritten ? neverWritten : passed);
        }
    }
    ASSERT_GT(tried, 0) << "no box of this scene is listed";
    QString held = QStringLiteral("no crash, no store error; %1 refused with nothing written, %2 passed and read back exactly")
                       .arg(tried - passed - neverWritten)
                       .arg(passed);
    if (neverWritten > 0)
        held += QStringLiteral("; %1 typed reserver numbers never reached the file (the number issued did)").arg(neverWritten);
    QString what = QStringLiteral("%1: %2").arg(GetParam(), boxes.join(QStringLiteral(", ")));
    if (const QString declined = scene(GetParam()).declined; !declined.isEmpty())
        what += QStringLiteral(" (「%1」 answered No)").arg(declined);
    reliability_report::note(reliability_report::Section::HostileInput, what, tried, held);
}

std::vector<QString> sceneNames()
{
    std::vector<QString> names;
    for (const Scene& s : scenes())
        names.push_back(s.name);
    return names;
}

INSTANTIATE_TEST_SUITE_P(Forms, HostileInputTest, ::testing::ValuesIn(sceneNames()),
                         [](const ::testing::TestParamInfo<QString>& info) { return "scene" + std::to_string(info.index); });

// Every box that can be typed into, in the forms of the scenes and in the forms that only show
// what they were given, is in the table.
class EntryBoxTableTest : public SceneTest {};

TEST_F(EntryBoxTableTest, ListsEveryBoxAnOperatorCanTypeInto)
{
    QSet<QPair<QString, QString>> listed;
    std::map<QString, QString> formOfScene;
    for (const Scene& s : scenes()) {
        Form* form = s.open(desk());
        formOfScene[s.name] = form->objectName();
        form->close();
        flushDeletes();
    }
    for (const EntryBox& box : entry_boxes::all())
        listed.insert({formOfScene.at(box.scene), box.box});
    for (const auto& [form, box] : entry_boxes::untyped())
        listed.insert({form, box});

    InquiryRequest inquiry;
    inquiry.firstDate = QDate(2026, 12, 8);
    inquiry.lastDate = QDate(2026, 12, 14);
    inquiry.target = {"00001", "第一会議室", "会議室A", ""};
    時間TBL::TimeTableRequest preview;
    preview.TimeTableMode = int(TimeTableMode::HoursEntry);
    preview.HoursFormKind = int(records::HoursKind::Regular);
    preview.CurrentTarget = inquiry.target.number;
    preview.CurrentTargetAbbrev = inquiry.target.abbrev;
    preview.WorkingDate = preview.SystemDate = appclock::today();
    std::vector<Form*> forms;
    for (const Scene& s : scenes())
        forms.push_back(s.open(desk()));
    forms.push_back(open<時間照会>(inquiry));
    forms.push_back(open<時間帯表示>(preview));
    forms.push_back(open<警告>());
    int boxes = 0;
    for (Form* form : forms) {
        for (const QLineEdit* box : form->findChildren<QLineEdit*>()) {
            if (box->isReadOnly())
                continue;
            ++boxes;
            EXPECT_TRUE(listed.contains({form->objectName(), box->objectName()}))
                << form->objectName().toStdString() << " " << box->objectName().toStdString() << " is not in the table";
        }
    }
    EXPECT_GT(boxes, 40);
}

} // namespace
