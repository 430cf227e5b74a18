#include "ui/form.h"

#include "ui/flex_grid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
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

void Form::reject()
{
    escape();
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

QLineEdit* Form::textBox(const QString& name, QWidget* parent)
{
    return named(new QLineEdit(parent ? parent : this), name);
}

QLabel* Form::label(const QString& caption, QWidget* parent, const QString& name)
{
    auto* l = new QLabel(caption, parent ? parent : this);
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
