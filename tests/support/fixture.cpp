#include "fixture.h"

#include "app/menu.h"
#include "app/startup.h"
#include "base/clock.h"
#include "records/reservers.h"
#include "store/desk_database.h"
#include "store/file_tools.h"
#include "store/schema.h"
#include "test_server.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>
#include <sqlite3.h>

void DatabaseTest::SetUp()
{
    ASSERT_TRUE(dir_.isValid());
    previousFolder_ = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir_.path()));
    if (onServer()) {
        serverAddress_ = test_server::freshDatabase();
        store::createServerTables(serverAddress_);
        store::writeDeskSettings(dir_.path(), serverAddress_);
    } else {
        store::createDatabaseFile(store::kMainFile);
    }
    where_ = store::deskDatabaseIn(dir_.path());
    msg::setResponder([this](const msg::Shown& shown) {
        messages_.push_back(shown);
        if (!shown.question || answers_.empty())
            return shown.choices.isEmpty() ? 1 : shown.defaultChoice + 1;
        const QString answer = answers_.front();
        answers_.pop_front();
        if (shown.choices.isEmpty())
            return int(answer == kYes);
        EXPECT_TRUE(shown.choices.contains(answer)) << answer.toStdString() << " is no button of " << shown.text.toStdString();
        return int(shown.choices.indexOf(answer)) + 1;
    });
    appclock::setFixedNow(QDateTime(QDate(2026, 12, 8), QTime(10, 0)));
    reloadSettings();
}

void DatabaseTest::reloadSettings()
{
    settings = 初期処理::LoadStartupSettings(db());
}

void DatabaseTest::TearDown()
{
    // A window that is a child of another (a tooltip) goes with its parent: each is deleted only
    // while it still exists.
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        windows << window;
    for (const QPointer<QWidget>& window : windows)
        delete window.data();
    msg::clearResponder();
    appclock::setFixedNow(QDateTime());
    QDir::setCurrent(previousFolder_);
    if (!serverAddress_.isEmpty())
        test_server::dropDatabase(serverAddress_);
}

std::string storeKindName(const ::testing::TestParamInfo<StoreKind>& info)
{
    return info.param == StoreKind::File ? "File" : "Server";
}

メニュー* DatabaseTest::openMenu()
{
    auto* menu = new メニュー(db(), where_);
    menu->Form_Load();
    menu->show();
    return menu;
}

store::Database DatabaseTest::otherDesk() const
{
    return where_.onServer() ? store::Database::openServer(where_.address, store::Database::Sharing::Separately)
                             : store::Database::openSeparately(where_.mainFile());
}

void DatabaseTest::setNow(const QDateTime& moment)
{
    appclock::setFixedNow(moment);
}

void DatabaseTest::insertMeetingRooms(int count)
{
    insert("マスタ", {{"マス_番号", 4}, {"マス_内容", "9"}});
    insert("マスタ", {{"マス_番号", 5}, {"マス_内容", "18"}});
    const std::array<std::array<const char*, 3>, 3> targets = {
        {{"00000", "", ""}, {"00001", "第一会議室", "会議室A"}, {"00002", "第二会議室", "会議室B"}}};
    for (int i = 0; i <= count; ++i) {
        const auto& [number, name, abbrev] = targets.at(size_t(i));
        insert("基本", {{"基本_番号", number}, {"基本_単位", "1"}, {"基本_設定", 30}, {"基本_重複", 1}, {"基本_重複数", 2}});
        if (i > 0)
            insert("設定", {{"設定_番号", number}, {"設定_名称", name}, {"設定_略称", abbrev}});
    }
}

void DatabaseTest::insert(const QString& table, std::initializer_list<std::pair<QString, store::Value>> fields)
{
    store::Table cursor = db().table(table);
    cursor.addNew();
    for (const auto& [name, value] : fields)
        cursor.set(name, value);
    cursor.update();
    // A reserver gets its look-up keys, as every save of the program gives them (a file of a
    // former version has none to keep).
    if (table == QStringLiteral("予約者") && (onServer() || store::databaseFileVersion("Kelvora.mdb") >= 3)) {
        QString number;
        for (const auto& [name, value] : fields) {
            if (name == QStringLiteral("予約者_予約者NO"))
                number = value.text();
        }
        records::keepReserverKeys(db(), *records::findReserver(db(), number));
    }
}

void DatabaseTest::addRegular(const QString& target, const QString& start, const QString& end, const QString& closed, const QString& remark)
{
    insert("営業",
           {{"営業_番号", target}, {"営業_開始時間", start}, {"営業_終了時間", end}, {"営業_営業フラグ", closed}, {"営業_備考", remark}});
}

void DatabaseTest::addDaily(const QString& target, int cycle, int day, const QString& start, const QString& end, const QString& remark)
{
    insert("日別", {{"日別_番号", target},
                    {"日別_区分", cycle},
                    {"日別_日付", day},
                    {"日別_開始時間", start},
                    {"日別_終了時間", end},
                    {"日別_営業フラグ", "0"},
                    {"日別_備考", remark}});
}

void DatabaseTest::addSpecific(const QString& target, const QDate& date, const QString& start, const QString& end, const QString& remark)
{
    insert("特定日", {{"特定_番号", target},
                      {"特定_日付", date},
                      {"特定_開始時間", start},
                      {"特定_終了時間", end},
                      {"特定_営業フラグ", "0"},
                      {"特定_備考", remark}});
}

void DatabaseTest::runSql(const QString& sql)
{
    if (onServer())
        return test_server::runSql(sql, serverAddress_);
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open_v2("Kelvora.mdb", &raw, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    const int rc = sqlite3_exec(raw, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    sqlite3_close(raw);
    ASSERT_EQ(rc, SQLITE_OK) << sql.toStdString();
}

void DatabaseTest::loosen(const QString& table)
{
    const QString name = store::schema::quoted(table);
    runSql(QString("CREATE TABLE loose AS SELECT * FROM %1; DROP TABLE %1; ALTER TABLE loose RENAME TO %1;").arg(name));
    for (const QString& statement : store::schema::createStatements()) {
        if (statement.startsWith("CREATE INDEX") && statement.contains(" ON " + name + " ("))
            runSql(statement);
    }
}

int DatabaseTest::count(const QString& table) const
{
    const store::schema::IndexDef* first = nullptr;
    for (const auto& index : store::schema::indexes()) {
        if (index.table == table) {
            first = &index;
            break;
        }
    }
    store::Table cursor = db().table(table);
    cursor.setIndex(first->name);
    std::vector<store::Value> lowest(size_t(first->keys.size()));
    int n = 0;
    for (cursor.seek(">=", lowest); !cursor.eof(); cursor.moveNext())
        ++n;
    return n;
}

std::vector<QStringList> DatabaseTest::rows(const QString& table, const QString& index, const QStringList& fields) const
{
    store::Table cursor = db().table(table);
    cursor.setIndex(index);
    std::vector<QStringList> result;
    for (cursor.seek(">=", {store::Value()}); !cursor.eof(); cursor.moveNext()) {
        QStringList row;
        for (const QString& field : fields)
            row << cursor.text(field);
        result.push_back(row);
    }
    return result;
}

void DatabaseTest::answer(std::initializer_list<bool> answers)
{
    for (bool yes : answers)
        answers_.push_back(yes ? kYes : QString());
}

void DatabaseTest::answerWith(const QString& button)
{
    answers_.push_back(button);
}

QStringList DatabaseTest::messageTexts() const
{
    QStringList texts;
    for (const msg::Shown& shown : messages_)
        texts << shown.text;
    return texts;
}

void whenModalShown(std::function<void(QWidget*)> action)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action = std::move(action)] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        }
    });
    timer->start();
}

void answerNextMessageBox(const QString& buttonName, QString* textSeen)
{
    whenModalShown([buttonName, textSeen](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr) << "the next modal window is not a message box";
        if (textSeen)
            *textSeen = box->text();
        auto* button = box->findChild<QAbstractButton*>(buttonName);
        ASSERT_NE(button, nullptr) << "no button " << buttonName.toStdString();
        button->click();
    });
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
}
