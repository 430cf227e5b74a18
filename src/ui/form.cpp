#include "ui/form.h"

#include "ui/database_watch.h"
#include "ui/flex_grid.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

Form::Form(const QString& formName, const QString& caption) : QDialog(nullptr)
{
    setObjectName(formName);
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
}

void Form::takeDesk(const Desk& desk)
{
    database_ = desk.database;
    where_ = desk.where;
    settings_ = desk.settings;
    for (DatabaseWatch* watch : findChildren<DatabaseWatch*>(Qt::FindDirectChildrenOnly))
        watch->watch(desk.database);
}

Desk Form::desk() const
{
    return {database(), where_, settings_};
}

const store::Database& Form::database() const
{
    // Every opener hands its desk before the form loads.
    Q_ASSERT(database_);
    return *database_;
}

namespace {

// An option button of a group where one choice excludes the others. Once the focus has been in
// such a group, Qt lets Tab stop only at the option that had it last, and moves that stop as the
// operator goes from option to option; so every option of the group has its place in the order,
// and whether it is the stop is asked when Tab is pressed.
bool isExclusiveOption(const QWidget* w)
{
    const auto* option = qobject_cast<const QAbstractButton*>(w);
    return option && option->isCheckable() && option->autoExclusive();
}

bool takesTabNow(const QWidget* w)
{
    return w->focusPolicy() & Qt::TabFocus;
}

} // namespace

QList<QPointer<QWidget>>& Form::tabOrder()
{
    // Taken from Qt's focus chain on first use: the controls in the order they were made.
    if (tabOrder_.isEmpty()) {
        for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
            if ((takesTabNow(w) || isExclusiveOption(w)) && w->window() == this)
                tabOrder_ << w;
        }
    }
    tabOrder_.removeAll(nullptr);
    return tabOrder_;
}

void Form::moveToFrontOfTabOrder(QWidget* control)
{
    QList<QPointer<QWidget>>& order = tabOrder();
    order.removeAll(control);
    order.prepend(control);
}

QWidget* Form::firstInTabOrder()
{
    const QList<QPointer<QWidget>>& order = tabOrder();
    return order.isEmpty() ? nullptr : order.first().data();
}

bool Form::focusNextPrevChild(bool next)
{
    const QList<QPointer<QWidget>>& order = tabOrder();
    if (order.isEmpty())
        return QDialog::focusNextPrevChild(next);
    // Controls inside a compound control (a combo box's line edit) count as the control.
    QWidget* current = focusWidget();
    qsizetype at = -1;
    for (qsizetype i = 0; i < order.size() && at < 0; ++i) {
        if (order[i] == current || (current && order[i]->isAncestorOf(current)))
            at = i;
    }
    for (qsizetype step = 1; step <= order.size(); ++step) {
        const qsizetype i = ((at < 0 ? (next ? -1 : 0) : at) + (next ? step : -step) + order.size()) % order.size();
        QWidget* candidate = order[i];
        if (candidate->isVisibleTo(this) && candidate->isEnabled() && takesTabNow(candidate)) {
            candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

void Form::reject()
{
    escape();
}

void Form::closeEvent(QCloseEvent* event)
{
    // A dialog would turn the close into a rejection, which here means escape(); closing a form
    // is just closing it.
    event->accept();
    closing_ = true;
}

void Form::escape()
{
    close();
}

namespace {
template <typename W> W* named(W* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}
} // namespace

QPushButton* Form::button(const QString& name, const QString& caption, QWidget* parent)
{
    auto* b = named(new QPushButton(caption, parent ? parent : this), name);
    b->setAutoDefault(false);
    return b;
}

QBoxLayout* Form::buttonRow(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* b : buttons) {
        b->setMinimumSize(kCommandButton);
        row->addWidget(b);
    }
    return row;
}

QLineEdit* Form::textBox(const QString& name, QWidget* parent)
{
    return named(new QLineEdit(parent ? parent : this), name);
}

QLineEdit* Form::displayBox(const QString& name, QWidget* parent)
{
    QLineEdit* box = textBox(name, parent);
    showOnly(box);
    return box;
}

void Form::showOnly(QLineEdit* box)
{
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    box->setPalette(palette);
}

QLabel* Form::label(const QString& caption, QWidget* parent, const QString& name)
{
    auto* l = new QLabel(caption, parent ? parent : this);
    // A label may show what the database holds: never taken for markup.
    l->setTextFormat(Qt::PlainText);
    if (!name.isEmpty())
        l->setObjectName(name);
    return l;
}

QRadioButton* Form::option(const QString& name, const QString& caption, QWidget* parent)
{
    return named(new QRadioButton(caption, parent ? parent : this), name);
}

QCheckBox* Form::checkBox(const QString& name, const QString& caption, QWidget* parent)
{
    return named(new QCheckBox(caption, parent ? parent : this), name);
}

QGroupBox* Form::frame(const QString& name, const QString& caption, QWidget* parent)
{
    return named(new QGroupBox(caption, parent ? parent : this), name);
}

QComboBox* Form::comboBox(const QString& name, QWidget* parent)
{
    return named(new QComboBox(parent ? parent : this), name);
}

QListWidget* Form::listBox(const QString& name, QWidget* parent)
{
    return named(new QListWidget(parent ? parent : this), name);
}

FlexGrid* Form::grid(const QString& name, QWidget* parent)
{
    return named(new FlexGrid(parent ? parent : this), name);
}
