#pragma once

#include "core/Checked.h"
#include "core/Decimal2.h"
#include "db/ListQuery.h"
#include "output/ExportDescription.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

// What one receipt paid (or, on a void, took back) of one fee record.
struct ReceiptLine
{
    qlonglong takeId = 0;
    Money amount;
};

// A payment at the counter: the owner's bills it pays, how, and who took it.
struct Payment
{
    qlonglong ownerId = 0;
    QString payWay; // one of receipt_store::payWays()
    QString opCode; // the operator who took the money
    QList<ReceiptLine> lines;
    QString remark = {};
};

// A receipt as stored. A receipt is never changed or removed; a void is a
// receipt of its own that names the one it voids (`voidsId`) and takes its
// amounts back.
struct Receipt
{
    qlonglong id = 0;
    QString number; // "2026-000001"; "历史" for the payments made before receipts
    int year = 0;   // 0: the historical receipt of an owner
    int seq = 0;
    qlonglong ownerId = 0;
    QDateTime issuedAt;
    QString opCode;
    QString payWay;
    Money total;
    qlonglong voidsId = 0; // the receipt this one voids; 0 for a payment
    int reprints = 0;
    QString remark; // a void's reason

    bool isHistorical() const { return year == 0; }
    bool isVoid() const { return voidsId != 0; }
};

// Receipts: every payment gets one, numbered in its calendar year without a gap
// or a repeat, written in one transaction with its lines and the fee records'
// payment_real, which is always the sum of a record's lines. Every function
// throws DbError.
namespace receipt_store {

// The ways a payment is made, as the office chooses them: 现金, 微信, 支付宝,
// 银行转账, 其他.
QStringList payWays();

// "2026-000001".
QString numberText(int year, int seq);

// Checks the payment, takes the next number of the year of `now` and writes the
// receipt, its lines and what each fee record has been paid, in one transaction
// (a part of the caller's when one is open). Refused: no owner, a way of payment
// not chosen, no line, an amount not above zero, one record twice, a record that
// is not the owner's, more paid than is due.
Checked<Receipt> issue(const QSqlDatabase& db, const Payment& payment, const QDateTime& now);

// Who voids a receipt, and why.
struct Voiding
{
    qlonglong receiptId = 0;
    QString reason;
    QString opCode;
    bool mayVoidAny = false; // the right to void: any receipt, a closed day's too
};

// Voids a receipt: a receipt of the current year's series, dated `now`, that
// names the voided one and takes its amounts back off the fee records. Without
// the right to void, an operator may void only a receipt of his own of a day he
// has not closed. Refused: a historical receipt, a void, a receipt voided
// already, no reason.
Checked<Receipt> voidReceipt(const QSqlDatabase& db, const Voiding& voiding, const QDateTime& now);

// Counts a reprint of the receipt; returns which reprint this is (1 for the first).
int reprint(const QSqlDatabase& db, qlonglong receiptId);

// Which receipts the register lists; every condition given must hold.
struct ReceiptFilter
{
    std::optional<QDate> day; // issued that day
    QString number;           // contained in the number, as typed
    QString owner;            // contained in the owner's name, as typed
    QString opCode;           // issued by that operator
};

// The register's columns and its receipts, in the order of their numbers, with
// the owner's name and each receipt's state ("有效", "已作废", "冲红").
QList<ListColumn> columns();
ListQuery list(const ReceiptFilter& filter);
// How the register's "Excel" button writes the list.
ExportDescription exported();

std::optional<Receipt> load(const QSqlDatabase& db, qlonglong id);
QList<ReceiptLine> lines(const QSqlDatabase& db, qlonglong receiptId);
// The void of a receipt; 0 while it stands.
qlonglong voidOf(const QSqlDatabase& db, qlonglong receiptId);

// The fee records whose payment_real is not the sum of their receipt lines: none
// while the books are sound. One statement.
QList<qlonglong> unbalancedRecords(const QSqlDatabase& db);

// A cashier's day: the receipts an operator issued on a day.
struct DayTotals
{
    int receipts = 0;           // payments
    int voids = 0;              // voids issued that day
    int reprints = 0;           // reprints of that day's receipts
    QMap<QString, Money> byWay; // what came in per way of payment, voids taken off
    Money total;
};
DayTotals dayTotals(const QSqlDatabase& db, const QString& opCode, const QDate& day);
bool isClosed(const QSqlDatabase& db, const QString& opCode, const QDate& day);
// Records the day as closed with its totals; refused when it is closed already.
Checked<> closeDay(const QSqlDatabase& db, const QString& opCode, const QDate& day, const QString& closedBy,
                   const QDateTime& now);

} // namespace receipt_store
