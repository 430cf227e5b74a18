#pragma once

#include "base/settings.h"
#include "support/qt_print.h"
#include "store/database.h"
#include "store/desk_database.h"
#include "ui/forms.h"
#include "ui/message_box.h"

class メニュー;

#include <QDateTime>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <initializer_list>
#include <utility>
#include <vector>

// Every test that touches data runs in its own scratch folder, made the current folder, with a
// fresh Kelvora.mdb built from the schema catalogue (or, for a test on the server, a fresh
// database on the test server that Kelvora.ini names), a fixed clock (2026/12/08 10:00), the
// start-up settings of that database, and a message responder that records every message and
// answers questions from a queue (Yes, or the default button of a question with buttons of its own,
// when the queue is empty).
class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Whether this test's database is on the test server.
    virtual bool onServer() const { return false; }
    // The connection string of the test's database on the server.
    const QString& serverAddress() const { return serverAddress_; }

    // The moment the clock shows from now on; the settings loaded at start-up stay as they are, as
    // on a desk left running.
    void setNow(const QDateTime& moment);

    // The test's database, as the desk opens it (a handle on the connection open already, if any).
    store::Database db() const { return store::openDeskDatabase(where_); }
    // What the desk hands the forms it opens: the database, where it is, and `settings`.
    Desk desk() const { return {db(), where_, settings}; }
    // The database as another desk sees it: a connection of its own.
    store::Database otherDesk() const;

    // The main menu as the program starts it: settings loaded, shown.
    メニュー* openMenu();

    // A form opened as its opener opens it: F(args...) handed `settings`, loaded and shown (or the
    // open one brought to the front); nullptr when its loading failed.
    template <typename F, typename... Args> F* open(Args&&... args) { return forms::showModeless<F>(desk(), std::forward<Args>(args)...); }
    // The settings read from the file again (after a test stored master items or basic records).
    void reloadSettings();

    // The settings the forms a test opens are handed: read from the file at the start, and the
    // test's to change.
    Settings settings;

    // Adds one record; fields left out get the empty text or 0.
    void insert(const QString& table, std::initializer_list<std::pair<QString, store::Value>> fields);
    // Hours bands of a target, open unless `closed` is "1": of every day (営業), of a weekday or a
    // day of the month (日別, `cycle` 1 or 2) and of one date (特定日).
    void addRegular(const QString& target, const QString& start, const QString& end, const QString& closed = "0",
                    const QString& remark = "");
    void addDaily(const QString& target, int cycle, int day, const QString& start, const QString& end, const QString& remark = "");
    void addSpecific(const QString& target, const QDate& date, const QString& start, const QString& end, const QString& remark = "");
    // Meeting rooms 00001 (第一会議室, 会議室A) and, for two, 00002 (第二会議室, 会議室B), with the
    // common record 00000: 30-minute slots, two bookings a slot, the day shown from 9:00 to 18:00.
    void insertMeetingRooms(int count);
    // Runs SQL on the test's database through a connection of its own, as another program would
    // (to break the database on purpose).
    void runSql(const QString& sql);
    // Rebuilds a table with its rows and indexes but without types or NOT NULL, as another tool
    // may write it, so that NULLs and loose values can be stored.
    void loosen(const QString& table);
    // Number of records of a table.
    int count(const QString& table) const;
    // The given fields of every record of a table, in the order of an index, as texts.
    std::vector<QStringList> rows(const QString& table, const QString& index, const QStringList& fields) const;

    // Answers for the next questions, in order.
    void answer(std::initializer_list<bool> answers);
    // The button pressed on the next question with buttons of its own (msg::choose), by caption.
    void answerWith(const QString& button);
    // Messages shown since the test began (or since clearMessages()).
    const std::vector<msg::Shown>& messages() const { return messages_; }
    QStringList messageTexts() const;
    void clearMessages() { messages_.clear(); }

    QString folder() const { return dir_.path(); }
    // The desk works on the database of another folder from now on (made the current one).
    void workIn(const QString& folder) { where_ = store::deskDatabaseIn(folder); }

private:
    QTemporaryDir dir_;
    store::DeskDatabase where_;
    QString previousFolder_;
    QString serverAddress_;
    std::vector<msg::Shown> messages_;
    // Yes, No (empty) or a button's caption.
    std::deque<QString> answers_;
    static inline const QString kYes = QStringLiteral("はい");
};

// A DatabaseTest run on both stores: TEST_P, then ON_BOTH_STORES(Suite).
enum class StoreKind { File, Server };
class BothStoresTest : public DatabaseTest, public ::testing::WithParamInterface<StoreKind> {
protected:
    bool onServer() const override { return GetParam() == StoreKind::Server; }
};
std::string storeKindName(const ::testing::TestParamInfo<StoreKind>& info);
#define ON_BOTH_STORES(Suite) INSTANTIATE_TEST_SUITE_P(Store, Suite, ::testing::Values(StoreKind::File, StoreKind::Server), storeKindName)

// Runs `action` on the next modal window as soon as it is shown (for forms opened with exec()
// inside a handler, and for real message boxes).
void whenModalShown(std::function<void(QWidget*)> action);
// Clicks the button with this objectName ("Yes", "No", "OK") on the next real message box and
// records its text.
void answerNextMessageBox(const QString& buttonName, QString* textSeen = nullptr);
// Lets Qt delete the windows that were closed (deleteLater needs a turn of the event loop).
void flushDeletes();
