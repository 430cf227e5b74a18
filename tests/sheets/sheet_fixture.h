#pragma once

#include "support/fixture.h"
#include "records/reservations.h"
#include "records/reservers.h"
#include "records/targets.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

// A desk with targets, reservers and bookings for the sheet tests, and the text of a written PDF
// as a reader gets it (pdftotext keeps each printed line on a line of its own), read without repair.
class SheetTest : public DatabaseTest {
protected:
    const QDate day{2026, 12, 8};

    records::Target addTarget(const QString& number, const QString& abbrev)
    {
        const records::Target target{number, abbrev + QStringLiteral("面"), abbrev, QString()};
        records::saveTarget(db(), target);
        return target;
    }
    void addReserver(const QString& number, const QString& name, const QString& phone, const QString& mobile)
    {
        records::Reserver reserver;
        reserver.number = number;
        reserver.name = name;
        reserver.kana = QStringLiteral("ｶﾅ");
        reserver.phone = phone;
        reserver.mobile = mobile;
        records::saveReserver(db(), reserver);
    }
    void book(const QString& target, const QDate& date, int startMinutes, const QString& reserverNo, const QString& name,
              const QString& remark = QString())
    {
        records::Reservation r;
        r.target = target;
        r.date = date;
        r.start = {startMinutes / 60, startMinutes % 60};
        r.end = {(startMinutes + 30) / 60, (startMinutes + 30) % 60};
        r.reserverNo = reserverNo;
        r.reserverName = name;
        r.reserverKana = QStringLiteral("ｶﾅ");
        r.remark = remark;
        records::saveReservation(db(), r);
    }

    static QString pdfText(const QString& path)
    {
        QProcess reader;
        reader.start(QStringLiteral("pdftotext"), {"-layout", path, "-"});
        EXPECT_TRUE(reader.waitForFinished(60000));
        EXPECT_EQ(reader.readAllStandardError(), "") << "the reader had to repair the file";
        return QString::fromUtf8(reader.readAllStandardOutput());
    }
    static bool has(const QString& text, const QString& pattern) { return QRegularExpression(pattern).match(text).hasMatch(); }
    // "Pages", "Page size", ... as pdfinfo tells them.
    static QString pdfInfo(const QString& path)
    {
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {path});
        EXPECT_TRUE(info.waitForFinished(60000));
        return QString::fromUtf8(info.readAllStandardOutput());
    }
};
