#include "ui/handlers.h"

#include "store/notices.h"
#include "store/store_error.h"
#include "ui/flex_grid.h"
#include "ui/message_box.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QLineEdit>
#include <QListWidget>

namespace ui {

namespace {

class LostFocusFilter : public QObject {
public:
    LostFocusFilter(QObject* parent, std::function<void()> handler) : QObject(parent), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            auto* widget = qobject_cast<QWidget*>(watched);
            const bool toOtherWindow = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
            if (!toOtherWindow && widget && widget->window()->isVisible())
                guarded(handler_);
        }
        return false;
    }

private:
    std::function<void()> handler_;
};

// A left-button release over the label, as a click on a button would be.
class LabelClickFilter : public QObject {
public:
    LabelClickFilter(QLabel* label, std::function<void()> handler) : QObject(label), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            auto* label = static_cast<QLabel*>(watched);
            if (mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint()))
                guarded(handler_);
        }
        return false;
    }

private:
    std::function<void()> handler_;
};

} // namespace

bool guarded(const std::function<void()>& handler)
{
    bool done = true;
    try {
        handler();
    } catch (const store::StoreError& error) {
        msg::storeFailure(error.message());
        done = false;
    }
    // An action that went through after all (a save whose answer the network lost) says so once
    // it is over.
    for (const QString& note : store::takeNotesForOperator())
        msg::exclaim(note, QStringLiteral("Kelvora"));
    return done;
}

void onClick(QAbstractButton* button, std::function<void()> handler)
{
    QObject::connect(button, &QAbstractButton::clicked, button, [handler = std::move(handler)] { guarded(handler); });
}

void onClick(FlexGrid* grid, std::function<void()> handler)
{
    QObject::connect(grid, &FlexGrid::cellClicked, grid, [handler = std::move(handler)] { guarded(handler); });
}

void onClick(QComboBox* combo, std::function<void()> handler)
{
    QObject::connect(combo, &QComboBox::activated, combo, [handler = std::move(handler)](int) { guarded(handler); });
}

void onClick(QListWidget* list, std::function<void()> handler)
{
    QObject::connect(list, &QListWidget::itemClicked, list, [handler = std::move(handler)](QListWidgetItem*) { guarded(handler); });
}

void onClick(QLabel* label, std::function<void()> handler)
{
    label->setCursor(Qt::PointingHandCursor);
    label->installEventFilter(new LabelClickFilter(label, std::move(handler)));
}

void onChange(QLineEdit* box, std::function<void()> handler)
{
    QObject::connect(box, &QLineEdit::textChanged, box, [handler = std::move(handler)](const QString&) { guarded(handler); });
}

void onLostFocus(QWidget* control, std::function<void()> handler)
{
    control->installEventFilter(new LostFocusFilter(control, std::move(handler)));
}

} // namespace ui
