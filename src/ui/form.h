#pragma once

#include "base/settings.h"
#include "ui/desk.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QSize>
#include <QString>
#include <initializer_list>
#include <optional>

class FlexGrid;
class QBoxLayout;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

// Base of every form but the menu: a window with the form's name as objectName and its caption
// as title, a Form_Load run once before it is first shown, and helpers that make controls
// carrying their names. Esc runs escape(), which closes the form unless the form says otherwise.
//
// Tab and Shift+Tab follow the form's own tab order: the controls in the order they were made,
// where an entry check can move a failing box to the front.
class Form : public QDialog {
public:
    Form(const QString& formName, const QString& caption);

    // Runs once, through the error guard, before the form is first shown.
    virtual void Form_Load() {}

    // The desk the opener handed: its open database and its settings. The menu hands new
    // settings when it reads them again.
    void takeDesk(const Desk& desk);
    Desk desk() const;
    const store::Database& database() const;
    const Settings& settings() const { return settings_; }
    void takeSettings(const Settings& settings) { settings_ = settings; }
    // Closed, and to be deleted: no longer one of the open forms.
    bool isClosing() const { return closing_; }

    void moveToFrontOfTabOrder(QWidget* control);
    QWidget* firstInTabOrder();

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    virtual void escape();
    bool focusNextPrevChild(bool next) override;

    QPushButton* button(const QString& name, const QString& caption, QWidget* parent = nullptr);
    // The form's command buttons, right-aligned in a row, all of one comfortable size.
    QBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons);
    static constexpr QSize kCommandButton{100, 34};
    QLineEdit* textBox(const QString& name, QWidget* parent = nullptr);
    // A box that only shows a value the form was given: not typed into, skipped by Tab, and
    // coloured like the window so it does not invite typing.
    QLineEdit* displayBox(const QString& name, QWidget* parent = nullptr);
    // Makes a text box such a box.
    static void showOnly(QLineEdit* box);
    QLabel* label(const QString& caption, QWidget* parent = nullptr, const QString& name = QString());
    QRadioButton* option(const QString& name, const QString& caption, QWidget* parent = nullptr);
    QCheckBox* checkBox(const QString& name, const QString& caption, QWidget* parent = nullptr);
    QGroupBox* frame(const QString& name, const QString& caption, QWidget* parent = nullptr);
    QComboBox* comboBox(const QString& name, QWidget* parent = nullptr);
    QListWidget* listBox(const QString& name, QWidget* parent = nullptr);
    FlexGrid* grid(const QString& name, QWidget* parent = nullptr);

private:
    QList<QPointer<QWidget>>& tabOrder();
    QList<QPointer<QWidget>> tabOrder_;
    std::optional<store::Database> database_;
    store::DeskDatabase where_;
    Settings settings_;
    bool closing_ = false;
};
