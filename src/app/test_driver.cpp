#include "app/test_driver.h"

#include "ui/flex_grid.h"
#include "ui/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QHash>
#include <QLineEdit>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

namespace test_driver {

namespace {

void reply(const QString& line)
{
    std::fputs(line.toUtf8().append('\n').constData(), stdout);
    std::fflush(stdout);
}

QWidget* window(const QString& form)
{
    for (QWidget* shown : QApplication::topLevelWidgets()) {
        if (shown->objectName() == form && shown->isVisible())
            return shown;
    }
    return nullptr;
}

template <typename Control> Control* find(const QString& form, const QString& name)
{
    QWidget* shown = window(form);
    return shown ? shown->findChild<Control*>(name) : nullptr;
}

class Driver {
public:
    Driver() : notifier_(STDIN_FILENO, QSocketNotifier::Read)
    {
        msg::setResponder([this](const msg::Shown& shown) {
            reply(QStringLiteral("msg\t") + shown.text);
            return answers_.value(shown.text, false);
        });
        QObject::connect(&notifier_, &QSocketNotifier::activated, [this] { readCommands(); });
    }

private:
    void readCommands()
    {
        char buffer[4096];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) { // the test went away: ended as a crash would end it, windows and all
            notifier_.setEnabled(false);
            QApplication::exit(0);
            return;
        }
        pending_.append(buffer, int(got));
        for (qsizetype end; (end = pending_.indexOf('\n')) >= 0; pending_.remove(0, end + 1))
            run(QString::fromUtf8(pending_.left(end)).split(QLatin1Char('\t')));
    }

    void run(const QStringList& f)
    {
        const QString command = f.value(0);
        if (command == QLatin1String("shown") && f.size() == 2) {
            if (!window(f[1]))
                return reply(QStringLiteral("missing"));
        } else if (command == QLatin1String("answer") && f.size() == 3) {
            answers_[f[1]] = f[2] == QLatin1String("yes");
        } else if (command == QLatin1String("set") && f.size() == 4) {
            if (auto* box = find<QLineEdit>(f[1], f[2])) {
                box->setText(f[3]);
            } else if (auto* combo = find<QComboBox>(f[1], f[2]); combo && combo->findText(f[3]) >= 0) {
                combo->setCurrentIndex(combo->findText(f[3]));
                emit combo->activated(combo->currentIndex());
            } else {
                return reply(QStringLiteral("missing"));
            }
        } else if (command == QLatin1String("click") && f.size() == 3) {
            auto* button = find<QAbstractButton>(f[1], f[2]);
            if (!button)
                return reply(QStringLiteral("missing"));
            QTimer::singleShot(0, button, &QAbstractButton::click);
        } else if ((command == QLatin1String("cell") || command == QLatin1String("text")) && f.size() == 5) {
            auto* grid = find<FlexGrid>(f[1], f[2]);
            const int row = f[3].toInt();
            const int col = f[4].toInt();
            if (!grid)
                return reply(QStringLiteral("missing"));
            if (command == QLatin1String("text"))
                return reply(QStringLiteral("text\t") + grid->text(row, col));
            QTimer::singleShot(0, grid, [grid, row, col] { grid->clickCell(row, col); });
        } else {
            return reply(QStringLiteral("unknown"));
        }
        reply(QStringLiteral("ok"));
    }

    QSocketNotifier notifier_;
    QByteArray pending_;
    QHash<QString, bool> answers_;
};

} // namespace

void startWhenAsked()
{
    if (qEnvironmentVariableIsSet("KELVORA_TEST_DRIVER"))
        new Driver; // lives as long as the program
}

} // namespace test_driver
