// Two real programs on one Kelvora.mdb, driven from outside as two operators would drive them
// (the program's test driver, see src/app/test_driver.h): both book the last place of one slot at
// the same moment, and the one that did not get it sees the other's booking on its open grid.

#include "maintenance/reorganise.h"
#include "support/fixture.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

namespace {

// One running program and the lines it answers with.
class Desk {
public:
    explicit Desk(const QString& folder)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("KELVORA_TEST_DRIVER", "1");
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        program_.setProcessEnvironment(environment);
        program_.setWorkingDirectory(folder);
        program_.setStandardErrorFile(QProcess::nullDevice());
        program_.start(KELVORA_PROGRAM, {});
        program_.waitForStarted();
    }
    ~Desk()
    {
        program_.closeWriteChannel();
        if (!program_.waitForFinished(5000)) {
            program_.kill();
            program_.waitForFinished();
        }
    }

    // Clicks the window's 終了 and waits until it has closed.
    void close(const QString& form)
    {
        send({"click", form, "終了"});
        QDeadlineTimer deadline(5000);
        while (send({"shown", form}) == "ok" && !deadline.hasExpired())
            QThread::msleep(20);
    }
    // Closes its windows one by one, as the operator ends the program; true when it ended.
    bool end()
    {
        send({"answer", "時間帯の表示を終了します", "yes"});
        for (const QString form : {"予約者登", "時間照会", "予約状照会", "メニュー"}) {
            if (send({"shown", form}) == "ok")
                close(form);
        }
        // (Waiting for one already ended says false.)
        const bool ended = program_.state() == QProcess::NotRunning || program_.waitForFinished(5000);
        return ended && program_.exitStatus() == QProcess::NormalExit && program_.exitCode() == 0;
    }

    // Sends a command and returns its answer ("ok", "missing", "text\t…"; "ended" when the
    // program is gone).
    QString send(const QStringList& command)
    {
        program_.write(command.join(u'\t').toUtf8() + '\n');
        QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired() && program_.state() == QProcess::Running) {
            program_.waitForReadyRead(100);
            while (program_.canReadLine()) {
                const QString line = QString::fromUtf8(program_.readLine()).chopped(1);
                if (!line.startsWith("msg\t"))
                    return line;
                messages_ << line.mid(4);
            }
        }
        return "ended";
    }
    // Sends until the window or control is there (a click opens the next window a little later).
    bool sendWhenThere(const QStringList& command)
    {
        QDeadlineTimer deadline(10000);
        QString answer;
        while ((answer = send(command)) == "missing" && !deadline.hasExpired())
            program_.waitForReadyRead(50);
        return answer == "ok";
    }
    QString cell(int row, int col) { return send({"text", "時間照会", "時間帯", QString::number(row), QString::number(col)}).mid(5); }
    // The messages the program has shown so far.
    QStringList messages()
    {
        program_.waitForReadyRead(20);
        while (program_.canReadLine())
            messages_ << QString::fromUtf8(program_.readLine()).chopped(1).mid(4);
        return messages_;
    }

private:
    QProcess program_;
    QStringList messages_;
};

class TwoProgramsTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        insertMeetingRooms(1);
        insert("予約", {{"予約_設定番号", "00001"},
                        {"予約_年月日", day},
                        {"予約_開始時間", "10:00"},
                        {"予約_終了時間", "10:30"},
                        {"予約_予約者NO", "-000900"},
                        {"予約_予約者名", "先客"}});
    }

    // From the menu to the entry form of the 10:00 slot of 会議室A on the day, for a new reserver.
    void openEntry(Desk& desk, const QString& name)
    {
        ASSERT_TRUE(desk.sendWhenThere({"click", "メニュー", "対象照会"}));
        ASSERT_TRUE(desk.sendWhenThere({"set", "予約状照会", "対象略称", "会議室A"}));
        ASSERT_TRUE(desk.sendWhenThere({"set", "予約状照会", "設定日", day}));
        ASSERT_TRUE(desk.sendWhenThere({"click", "予約状照会", "照会"}));
        ASSERT_TRUE(desk.sendWhenThere({"cell", "時間照会", "時間帯", "2", QString::number(kTenOClock)}));
        ASSERT_TRUE(desk.sendWhenThere({"click", "時間照会", "予約"}));
        ASSERT_TRUE(desk.sendWhenThere({"set", "予約者登", "予約者名", name}));
        ASSERT_TRUE(desk.sendWhenThere({"set", "予約者登", "予約者カナ", "カナ"}));
        ASSERT_TRUE(desk.send({"answer", "入力内容で更新します。", "yes"}) == "ok");
        ASSERT_TRUE(desk.send({"answer", kOverflow, "no"}) == "ok");
    }

    // Waits until one of the desks has shown `text`; that desk, or nullptr.
    static Desk* firstToShow(const QString& text, Desk& one, Desk& other)
    {
        QDeadlineTimer deadline(15000);
        while (!deadline.hasExpired()) {
            for (Desk* desk : {&one, &other}) {
                if (desk->messages().contains(text))
                    return desk;
            }
        }
        return nullptr;
    }

    static constexpr int kTenOClock = 3; // the display starts at 9:00, in slots of 30 minutes
    inline static const QString kSaved = "予約は更新(登録)されました。";
    inline static const QString kOverflow = "予約人数がｵｰﾊﾞｰしています､登録を行いますか";
    const QString day = QDate::currentDate().addDays(1).toString("yyyy/MM/dd");
};

TEST_F(TwoProgramsTest, TheLastPlaceBookedFromTwoProgramsAtOnceIsTakenOnceAndTheOtherGridFollows)
{
    Desk a(folder());
    Desk b(folder());
    openEntry(a, "甲");
    openEntry(b, "乙");
    EXPECT_EQ(a.cell(2, kTenOClock), "1");
    EXPECT_EQ(b.cell(2, kTenOClock), "1");

    a.send({"click", "予約者登", "確定"});
    b.send({"click", "予約者登", "確定"});
    Desk* winner = firstToShow(kSaved, a, b);
    ASSERT_NE(winner, nullptr) << (a.messages() + b.messages()).join(u'|').toStdString();
    Desk& loser = winner == &a ? b : a;
    ASSERT_EQ(firstToShow(kOverflow, loser, loser), &loser) << "the second to save is asked, and says No";
    EXPECT_FALSE(loser.messages().contains(kSaved));
    EXPECT_EQ(count("予約"), 2) << "exactly the limit";
    EXPECT_EQ(count("予約者"), 1);

    // The loser gives up; its grid shows what the file holds without being asked to.
    loser.close("予約者登");
    QDeadlineTimer twoSeconds(2000);
    while (loser.cell(2, kTenOClock) != "2" && !twoSeconds.hasExpired())
        QThread::msleep(20);
    EXPECT_EQ(loser.cell(2, kTenOClock), "2");
    winner->close("予約者登");
    EXPECT_EQ(winner->cell(2, kTenOClock), "2");

    EXPECT_TRUE(a.end());
    EXPECT_TRUE(b.end());
    EXPECT_FALSE(QFile::exists(store::kMainFile + "-desks")) << "the last program to end takes the desks' lock file away";
}

// A desk holds its database open for its whole life: another program that only shows its menu is
// seen by the reorganisation, on a file and on a server.
class ProgramAtTheMenuTest : public BothStoresTest {};

TEST_P(ProgramAtTheMenuTest, TheReorganisationRefusesWhileAnotherProgramShowsOnlyItsMenu)
{
    const QString refusal = "他の端末がﾃﾞｰﾀ･ﾍﾞｽを使用中のため、再編成は行えません。他の端末を終了してから行って下さい。";
    answer({false});
    DB再編成::ReorganiseDatabase(db(), store::kBackupFile);
    EXPECT_EQ(messageTexts(), QStringList{DB再編成::kConfirmation}) << "alone, it asks whether to go on";

    Desk other(folder());
    ASSERT_TRUE(other.sendWhenThere({"shown", "メニュー"}));
    clearMessages();
    DB再編成::ReorganiseDatabase(db(), store::kBackupFile);
    EXPECT_EQ(messageTexts(), QStringList{refusal});
    EXPECT_TRUE(other.end());
}

ON_BOTH_STORES(ProgramAtTheMenuTest);

} // namespace
