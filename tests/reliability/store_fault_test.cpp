// Faults of the database file met through the real forms: the file missing, a table or an index
// missing, the file read-only, locked by another program, a disk that fills up in the middle of a
// save, and a file that is not a database. Each time: one clear Japanese message, the program
// keeps running (the same action works once the fault is gone), the file is unchanged or holds
// exactly the records stored before the fault, and the database check passes. A statement that
// fails part-way through the loading of a form leaves no half-loaded form on the screen.

#include "app/first_start.h"
#include "app/menu.h"
#include "app/program.h"
#include "form_scenes.h"
#include "master/basic_info_form.h"
#include "master/master_settings_form.h"
#include "reliability_report.h"
#include "reservations/entry_form.h"
#include "reservations/status_inquiry_form.h"
#include "store/file_tools.h"
#include "store/sqlite_handle.h"
#include "store/schema.h"
#include "support/file_faults.h"
#include "support/modal_script.h"
#include "support/table_contents.h"
#include "ui/form.h"
#include "ui/forms.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <algorithm>
#include <fcntl.h>
#include <memory>
#include <sqlite3.h>
#include <unistd.h>

namespace {

using reliability_report::Section;

QByteArray fileBytes(const QString& path = store::kMainFile)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writable(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY);
    if (fd >= 0)
        ::close(fd);
    return fd >= 0;
}

// Makes the main file unwritable for as long as it lives: read-only permissions, and where they
// do not stop this process (it runs as root), the immutable attribute.
class UnwritableFile {
public:
    UnwritableFile()
    {
        QFile::setPermissions(store::kMainFile, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        how_ = QStringLiteral("chmod 0444");
        if (writable(store::kMainFile)) {
            immutable_ = setImmutable(store::kMainFile, true);
            how_ = QStringLiteral("chmod 0444 and the immutable attribute, as the tests run as root");
        }
    }
    ~UnwritableFile() { makeWritable(); }

    bool holds() const { return !writable(store::kMainFile); }
    const QString& how() const { return how_; }
    void makeWritable()
    {
        if (immutable_)
            setImmutable(store::kMainFile, false);
        immutable_ = false;
        QFile::setPermissions(store::kMainFile, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }

private:
    bool immutable_ = false;
    QString how_;
};

// Makes one statement of a connection fail part-way, as a file held by another program or a
// value the program cannot read would: the statement running when SQLite has taken `step`
// steps of its programs since arm() is interrupted. Armed with 0 it only counts the steps.
class StepFault {
public:
    explicit StepFault(sqlite3* connection) : connection_(connection) {}
    ~StepFault() { disarm(); }

    void arm(long step)
    {
        steps_ = 0;
        failAt_ = step;
        sqlite3_progress_handler(connection_, 1, &StepFault::onStep, this);
    }
    // The steps taken since arm().
    long disarm()
    {
        sqlite3_progress_handler(connection_, 0, nullptr, nullptr);
        return steps_;
    }

private:
    static int onStep(void* self)
    {
        auto* fault = static_cast<StepFault*>(self);
        return ++fault->steps_ == fault->failAt_ ? 1 : 0;
    }

    sqlite3* connection_;
    long steps_ = 0;
    long failAt_ = 0;
};

// The scene holds three bookings; the entry form's save adds one.
constexpr int kBookingsAfterOneSave = 4;

class StoreFaultTest : public SceneTest {
protected:
    void TearDown() override
    {
        delete menu_;
        SceneTest::TearDown();
    }

    メニュー* menu()
    {
        if (!menu_) {
            menu_ = openMenu();
        }
        return menu_;
    }
    void press(QWidget* window, const QString& button) { window->findChild<QPushButton*>(button)->click(); }
    // Presses a menu button, then closes the form it opened, so that the next press opens it again.
    void pressMenu(const QString& button)
    {
        press(menu(), button);
        closeForms();
    }

    void closeForms()
    {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (dynamic_cast<Form*>(window))
                window->close();
        }
        flushDeletes();
    }
    // Whether a window of this name is on the screen.
    static bool showing(const QString& window)
    {
        const QWidgetList windows = QApplication::topLevelWidgets();
        return std::any_of(windows.begin(), windows.end(), [&](const QWidget* w) { return w->objectName() == window && w->isVisible(); });
    }

    // The reservation entry form with a new reserver typed in; saving books 2026/12/10 10:00.
    Form* booking() { return scene("予約者登").open(desk()); }

    // The messages with the critical icon since the last clearMessages(): store errors.
    QStringList storeErrors() const
    {
        QStringList texts;
        for (const msg::Shown& shown : messages()) {
            if (shown.icon == msg::Icon::Critical)
                texts << shown.text;
        }
        return texts;
    }

    // Exactly one store error since the last clearMessages(), beginning with `start`; returns it.
    QString expectOneStoreError(const QString& start)
    {
        const QStringList errors = storeErrors();
        EXPECT_EQ(errors.size(), 1) << errors.join(" / ").toStdString();
        const QString text = errors.value(0);
        EXPECT_TRUE(text.startsWith(start)) << text.toStdString();
        return text;
    }

    // kelvora-db check, run as the operator would.
    void expectCheckPasses()
    {
        QProcess tool;
        tool.start(QStringLiteral(KELVORA_DB_TOOL), {"check", store::kMainFile});
        ASSERT_TRUE(tool.waitForFinished(30000));
        EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardOutput().toStdString() << tool.readAllStandardError().toStdString();
    }

    static QString whatHeld(const QString& message, const QString& file)
    {
        return QStringLiteral("one message: 「%1」; the program kept running and the action worked once the fault was gone; %2")
            .arg(message, file);
    }

    メニュー* menu_ = nullptr;
};

TEST_F(StoreFaultTest, AMissingFileIsReportedAndNoEmptyFileTakesItsPlace)
{
    const QByteArray original = fileBytes();
    ASSERT_TRUE(QFile::rename(store::kMainFile, "elsewhere.mdb"));
    const QString missing = QStringLiteral("データベースファイル「Kelvora.mdb」が見つかりません");

    // Starting the program: the first start asks, and 終了 makes nothing and shows no menu.
    ModalScript script;
    script.form<初回起動>([](初回起動* start) { start->findChild<QPushButton*>("終了")->click(); });
    EXPECT_EQ(startProgram(), 0);
    EXPECT_TRUE(script.finished());
    for (const QWidget* window : QApplication::topLevelWidgets())
        EXPECT_FALSE(window->isVisible() && window->objectName() == "メニュー");
    EXPECT_FALSE(QFile::exists(store::kMainFile)) << "a database was made unasked";

    // While it runs: a menu button, then a save.
    ASSERT_TRUE(QFile::rename("elsewhere.mdb", store::kMainFile));
    menu();
    ASSERT_TRUE(QFile::rename(store::kMainFile, "elsewhere.mdb"));
    clearMessages();
    pressMenu("予約者登録");
    const QString message = expectOneStoreError(missing);
    Form* form = booking();
    clearMessages();
    press(form, "確定");
    expectOneStoreError(missing);
    EXPECT_FALSE(QFile::exists(store::kMainFile)) << "an empty database was made";

    ASSERT_TRUE(QFile::rename("elsewhere.mdb", store::kMainFile));
    EXPECT_EQ(fileBytes(), original);
    clearMessages();
    press(form, "確定");
    EXPECT_TRUE(storeErrors().isEmpty());
    EXPECT_EQ(count("予約"), kBookingsAfterOneSave);
    expectCheckPasses();
    reliability_report::note(Section::StoreFault,
                             "database file missing: program start (the first start asks), a menu button, the booking save", 3,
                             whatHeld(QString(message).replace(QDir::currentPath(), "<the current folder>"),
                                      "no file was created in its place; the file put back was unchanged; check passed"));
}

TEST_F(StoreFaultTest, AMissingTableOrIndexStopsTheActionWithNothingHalfDone)
{
    // The purge empties four tables in turn; the last one is missing.
    const store::schema::IndexDef* kana = store::schema::findIndex("予約者検索", "Idx_カナ");
    runSql("DROP TABLE 特定日");
    const Contents before = tableContents({"カレンダー", "予約", "予約者"});
    Form* purge = scene("期末処理").open(desk());
    clearMessages();
    press(purge, "確定");
    const QString noTable = expectOneStoreError("データベース「Kelvora.mdb」にテーブル「特定日」がありません");
    EXPECT_TRUE(tableContents({"カレンダー", "予約", "予約者"}) == before) << "the purge was half done";
    for (const QString& problem : store::checkDatabaseFile(store::kMainFile))
        EXPECT_TRUE(problem.contains("特定日")) << problem.toStdString();

    runSql("DROP INDEX " + store::schema::quoted(kana->storedName()));
    clearMessages();
    pressMenu("予約者登録");
    const QString noIndex =
        expectOneStoreError("データベース「Kelvora.mdb」のテーブル「予約者検索」にインデックス「Idx_カナ」がありません");
    EXPECT_TRUE(tableContents({"カレンダー", "予約", "予約者"}) == before);
    EXPECT_TRUE(menu()->isVisible());
    reliability_report::note(Section::StoreFault, "table 特定日 missing: the period-end purge", 1,
                             QStringLiteral("one message: 「%1」; the three tables purged before it was met are unchanged; "
                                            "the check names only the missing table and its indexes")
                                 .arg(noTable));
    reliability_report::note(Section::StoreFault, "index Idx_カナ missing: the reserver form from the menu", 1,
                             QStringLiteral("one message: 「%1」; the menu kept running; nothing changed").arg(noIndex));
}

TEST_F(StoreFaultTest, AReadOnlyFileIsReportedAndLeftAsItWas)
{
    const QByteArray original = fileBytes();
    Form* form = booking();
    UnwritableFile unwritable;
    if (!unwritable.holds())
        GTEST_SKIP() << "neither the permissions nor the immutable attribute stop this process writing the file";
    clearMessages();
    press(form, "確定");
    const QString message = expectOneStoreError("データベース「Kelvora.mdb」は読み取り専用のため書き込めません");
    EXPECT_EQ(fileBytes(), original);

    unwritable.makeWritable();
    clearMessages();
    press(form, "確定");
    EXPECT_TRUE(storeErrors().isEmpty());
    EXPECT_EQ(count("予約"), kBookingsAfterOneSave);
    expectCheckPasses();
    reliability_report::note(Section::StoreFault, "file read-only (" + unwritable.how() + "): the booking save", 1,
                             whatHeld(message, "the file unchanged byte for byte; check passed"));
}

TEST_F(StoreFaultTest, AFileLockedByAnotherProgramMakesTheActionWaitThenReport)
{
    const Contents before = tableContents(kAllTables);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2("Kelvora.mdb", &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE; INSERT INTO 設定 VALUES ('00009', '他', '他', '')", nullptr, nullptr, nullptr),
              SQLITE_OK);

    Form* form = booking();
    clearMessages();
    QElapsedTimer waited;
    waited.start();
    press(form, "確定");
    const qint64 ms = waited.elapsed();
    const QString message = expectOneStoreError("データベース「Kelvora.mdb」は他のプログラムが使用中です");
    EXPECT_GE(ms, 2500) << "the save gave up without waiting for the other program";

    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_TRUE(tableContents(kAllTables) == before);
    clearMessages();
    press(form, "確定");
    EXPECT_TRUE(storeErrors().isEmpty());
    EXPECT_EQ(count("予約"), kBookingsAfterOneSave);
    expectCheckPasses();
    reliability_report::note(Section::StoreFault, "file locked by another connection holding a write transaction: the booking save", 1,
                             whatHeld(message, QStringLiteral("the save waited %1 s first; the file holds exactly the records stored "
                                                              "before; check passed")
                                                   .arg(ms / 1000.0, 0, 'f', 1)));
}

TEST_F(StoreFaultTest, ADiskThatFillsUpInTheMiddleOfASaveLeavesNoHalfOfIt)
{
    const QString full = QStringLiteral("ディスクの空きが不足しているため、データベース「Kelvora.mdb」に書き込めません");
    const Contents before = tableContents(kAllTables);
    store::Database held = db(); // the forms share this connection, and with it the page limit
    sqlite3* connection = store::detail::sqliteHandle(*held.connection());
    // The file may grow by this many pages.
    const auto limitGrowth = [&](int pages) {
        sqlite3_stmt* count = nullptr;
        sqlite3_prepare_v2(connection, "PRAGMA page_count", -1, &count, nullptr);
        sqlite3_step(count);
        const int now = sqlite3_column_int(count, 0);
        sqlite3_finalize(count);
        const QByteArray sql = QByteArray("PRAGMA max_page_count = ") + QByteArray::number(now + pages);
        ASSERT_EQ(sqlite3_exec(connection, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    };

    // The Sundays of a year with a long name: one more page, and the year does not fit.
    limitGrowth(1);
    Form* holidays = scene("定休日登録 曜日で").open(desk());
    holidays->findChild<QLineEdit*>("休日名")->setText(QStringLiteral("年末年始休業").repeated(20));
    int changes = sqlite3_total_changes(connection);
    clearMessages();
    press(holidays, "確定");
    const QString message = expectOneStoreError(full);
    EXPECT_GT(sqlite3_total_changes(connection), changes + 1) << "the disk was full before the save began";
    EXPECT_TRUE(tableContents(kAllTables) == before) << "a part of the year was kept";

    // A booking whose address needs more pages than are left: the number it took goes back too.
    limitGrowth(0);
    Form* form = booking();
    form->findChild<QLineEdit*>("住所")->setText(QString(10000, u'町'));
    changes = sqlite3_total_changes(connection);
    clearMessages();
    press(form, "確定");
    expectOneStoreError(full);
    EXPECT_GT(sqlite3_total_changes(connection), changes) << "the disk was full before the save began";
    EXPECT_TRUE(tableContents(kAllTables) == before) << "a part of the booking was kept";

    limitGrowth(1000000);
    clearMessages();
    press(holidays, "確定");
    press(form, "確定");
    EXPECT_TRUE(storeErrors().isEmpty());
    EXPECT_EQ(count("カレンダー"), int(before.at("カレンダー").size()) + 52); // the Sundays of the year
    EXPECT_EQ(count("予約"), kBookingsAfterOneSave);
    held.close();
    expectCheckPasses();
    reliability_report::note(Section::StoreFault, "disk full in the middle of a save (page limit): the holiday expansion, the booking save",
                             2, whatHeld(message, "what the save had written before the limit was rolled back; check passed"));
}

TEST_F(StoreFaultTest, AFileThatIsNotADatabaseIsReportedAndLeftAsItWas)
{
    menu();
    const QByteArray database = fileBytes();
    const QByteArray garbage = QByteArray("These are the minutes of the meeting, not a database. ").repeated(80);
    const auto replaceFile = [](const QByteArray& bytes) {
        QFile file(store::kMainFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    };

    replaceFile(garbage);
    clearMessages();
    pressMenu("予約者登録");
    const QString notDatabase = expectOneStoreError("「Kelvora.mdb」はデータベースファイルではありません");
    EXPECT_EQ(fileBytes(), garbage);

    // An empty file reads as a database without tables, and stays empty.
    replaceFile(QByteArray());
    clearMessages();
    pressMenu("予約者登録");
    const QString empty = expectOneStoreError("データベース「Kelvora.mdb」にテーブル「予約者検索」がありません");
    EXPECT_EQ(QFileInfo(store::kMainFile).size(), 0);

    replaceFile(database);
    clearMessages();
    pressMenu("予約者登録");
    EXPECT_TRUE(storeErrors().isEmpty()) << storeErrors().join("\n").toStdString();
    expectCheckPasses();
    reliability_report::note(Section::StoreFault, "a file that is not a database: a menu button", 1,
                             whatHeld(notDatabase, "the file unchanged byte for byte"));
    reliability_report::note(Section::StoreFault, "an empty file in its place: a menu button", 1, whatHeld(empty, "the file still empty"));
}

TEST_F(StoreFaultTest, AFormWhoseLoadingFailsDoesNotOpen)
{
    store::Database held = db(); // the forms share this connection
    StepFault fault(store::detail::sqliteHandle(*held.connection()));
    // How every form is opened as the operator opens it: what comes first, then the opening.
    struct Opening {
        QString form;
        std::function<void()> before;
        std::function<void()> open;
    };
    const auto fromMenu = [this](const char* form, const char* button) {
        return Opening{form, [] {}, [this, button] { press(menu(), button); }};
    };
    const auto fromForm = [this](const char* form, const char* sceneName, const char* button) {
        auto opener = std::make_shared<Form*>(nullptr);
        return Opening{form, [this, opener, sceneName] { *opener = scene(sceneName).open(desk()); },
                       [this, opener, button] { press(*opener, button); }};
    };
    EntryOutcome outcome;
    const std::vector<Opening> openings = {
        // The two modal master forms as the menu opens them, without the reload of every setting
        // that follows their closing.
        {"マスター登", [] {}, [this] { forms::showModal<マスター登>(desk()); }},
        {"基本登", [] {},
         [this] {
             基本登::openFor(desk(), {"00000", "共通基本情報", "共通基本情報", ""}, true);
         }},
        fromMenu("対象登", "予約設定登録"),
        fromMenu("営業時間登", "営業時間登録"),
        fromMenu("営業時間登", "日別営業時間登録"),
        fromMenu("特定時間登", "特定日営業時間登録"),
        fromMenu("予約状照会", "対象照会"),
        fromMenu("予約状照会", "日別照会"),
        fromMenu("予約者更新", "予約者登録"),
        fromMenu("予約削除", "予約一括削除"),
        fromMenu("期末処理", "期末削除"),
        fromMenu("警告", "再編成"),
        fromMenu("定休日登録", "定休日登"),
        fromMenu("個休業登録", "個別休業日登録"),
        fromMenu("祝日登録", "祝日登録"),
        fromMenu("予約一覧表", "予約一覧表"),
        fromMenu("取消履歴", "取消履歴"),
        fromMenu("予約者照会", "予約者照会"),
        fromMenu("稼働状況", "稼働状況"),
        fromForm("時間照会", "予約状照会 照会", "照会"),
        fromForm("時間帯表示", "営業時間登", "表示"),
        {"予約者登", [] {},
         [this, &outcome] {
             open<予約者登>(BookingSlot{{"00001", "", "", ""}, QDate(2026, 12, 1), {10, 0}, {11, 0}, false, true, "-000900", "古川"},
                            outcome);
         }},
    };

    constexpr int kPoints = 6; // the first step, then evenly through the loading
    int tried = 0;
    for (const Opening& opening : openings) {
        const std::string what = opening.form.toStdString();
        long steps = 0;
        {
            opening.before();
            const ModalWatch modals;
            fault.arm(0);
            opening.open();
            steps = fault.disarm();
            EXPECT_TRUE(showing(opening.form) || modals.opened(opening.form)) << what << ": the opening opens no such form";
            closeForms();
        }
        for (int point = 0; point < kPoints && steps > 0; ++point) {
            opening.before();
            clearMessages();
            const ModalWatch modals; // a modal form that opens is closed at once, and noted
            fault.arm(std::max(1L, steps * point / kPoints));
            opening.open();
            fault.disarm();
            const QStringList errors = storeErrors();
            EXPECT_LE(errors.size(), 1) << what << ": " << errors.join(" / ").toStdString();
            if (!errors.isEmpty()) {
                ++tried;
                EXPECT_FALSE(showing(opening.form) || modals.opened(opening.form))
                    << what << " opened after 「" << errors[0].toStdString() << "」";
            }
            for (const msg::Shown& shown : messages())
                EXPECT_EQ(shown.icon, msg::Icon::Critical) << what << ": " << shown.text.toStdString();
            closeForms();
        }
    }
    EXPECT_GT(tried, int(openings.size()));
    reliability_report::note(Section::StoreFault,
                             "a statement failing part-way through the loading of every form (interrupted at its first step "
                             "and evenly through the rest)",
                             tried,
                             "one message each; the form whose loading failed did not open, so none of its buttons "
                             "could act on what it had half loaded; no other message");
}

TEST_F(StoreFaultTest, AnOpenFormWhoseReloadFailsIsClosedAndOpensAgainAfterwards)
{
    store::Database held = db();
    StepFault fault(store::detail::sqliteHandle(*held.connection()));
    press(menu(), "対象照会");
    ASSERT_TRUE(showing("予約状照会"));
    clearMessages();
    fault.arm(20);
    press(menu(), "日別照会"); // turns the open inquiry to the other kind
    fault.disarm();
    expectOneStoreError("データベース「Kelvora.mdb」");
    flushDeletes();
    EXPECT_FALSE(showing("予約状照会"));
    EXPECT_EQ(forms::find<予約状照会>(), nullptr);

    clearMessages();
    press(menu(), "日別照会");
    EXPECT_TRUE(storeErrors().isEmpty());
    EXPECT_TRUE(showing("予約状照会"));
}

} // namespace
