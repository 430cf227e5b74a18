#pragma once

#include "support/fixture.h"

#include <QString>
#include <QTimer>
#include <functional>
#include <map>
#include <optional>
#include <vector>

class Form;

// The forms as an operator meets them, ready for one action: each scene opens its form on a
// small data set, puts valid text in every entry box, and names the button that carries the
// action out and the message that says it was done.
struct Scene {
    QString name;
    // Shows the form handed these settings (as its opener would hand them), active, with every
    // entry box valid.
    std::function<Form*(const Desk&)> open;
    // The objectName of the button pressed.
    QString action;
    // The message of an action carried out; empty for an action that shows nothing when it works.
    QString done;
    // A question the operator answers No (every other question is answered Yes).
    QString declined;
};

// Closes every modal window an action opens (the time inquiry opened by 照会, the master
// settings opened from the menu), noting what its boxes showed.
class ModalWatch {
public:
    ModalWatch();

    std::optional<QString> boxText(const QString& window, const QString& box) const;
    bool opened() const { return !shown_.empty(); }
    bool opened(const QString& window) const { return shown_.count(window) > 0; }

private:
    QTimer timer_;
    std::map<QString, std::map<QString, QString>> shown_;
};

const std::vector<Scene>& scenes();
const Scene& scene(const QString& name);

// A database test whose file holds what the scenes need: two targets, the common basic record,
// the first hour shown, business hours, a closure day, a reserver with an old and a recent
// reservation.
class SceneTest : public DatabaseTest {
protected:
    void SetUp() override;
};
