// A copy of pelm that only writes, for the tests of several copies on one file.
//
//     pelm_concurrent_writer FILE WRITER COUNT [BUSY_TIMEOUT_MS]
//         opens FILE as pelm does and stores COUNT owners named "w<WRITER>-<n>",
//         each with one member, in a transaction apiece that also raises the tally
//         kept in garden 1 (rooms_num). Prints "ready" once the file is open and
//         starts when a line arrives on its input; then prints "ok <n>" or
//         "failed <n>\t<text>\t<detail on one line>" for each transaction, and exits 0.
//     pelm_concurrent_writer FILE pay WRITER COUNT
//         pays 1.00 on fee record 1 of owner 1 COUNT times, each on a receipt
//         issued by the operator "w<WRITER>", and voids every 50th of them again;
//         reports each payment as above.
//     pelm_concurrent_writer FILE hold MILLISECONDS
//         takes the write lock, prints "holding", keeps it that long, and commits.
#include "base/Member.h"
#include "base/Owner.h"
#include "charging/Receipt.h"
#include "db/Database.h"
#include "db/DatabaseFile.h"
#include "db/DbError.h"
#include "db/Sql.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <chrono>
#include <thread>

namespace {

QTextStream out(stdout);

void storeOne(const QSqlDatabase& db, const QString& writer, int n)
{
    Transaction transaction(db);
    Owner owner;
    owner.name = u'w' + writer + u'-' + QString::number(n);
    Member member;
    member.ownerId = owner_store::insert(db, owner);
    member.name = writer + u'-' + QString::number(n);
    member_store::save(db, member);
    const int tally = sql::scalar(db, "select rooms_num from garden where garden_id = 1").toInt();
    sql::updateOne(db, "garden", {{"rooms_num", tally + 1}}, "garden_id", 1);
    transaction.commit();
}

void payOne(const QSqlDatabase& db, const QString& writer, int n)
{
    const QString op = u'w' + writer;
    const QDateTime now = QDateTime::currentDateTime();
    const Checked<Receipt> receipt =
        receipt_store::issue(db, {1, QStringLiteral("现金"), op, {{1, Money::fromWhole(1)}}}, now);
    if (!receipt.ok())
        throw DbError(receipt.refusal().text);
    if (n % 50 == 0) {
        const Checked<Receipt> voided =
            receipt_store::voidReceipt(db, {receipt.value().id, QStringLiteral("收错了"), op, false}, now);
        if (!voided.ok())
            throw DbError(voided.refusal().text);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        QTextStream(stderr) << "usage: " << args.value(0) << " FILE WRITER COUNT [BUSY_TIMEOUT_MS]\n";
        return 2;
    }
    const bool hold = args[2] == u"hold";
    const bool pay = args[2] == u"pay";
    const int busyTimeout = args.size() > 4 && !pay ? args[4].toInt() : database_file::kBusyTimeoutMs;
    QString error;
    QSqlDatabase db = database::open(args[1], "writer", &error, busyTimeout);
    if (!error.isEmpty()) {
        QTextStream(stderr) << error << '\n';
        return 2;
    }
    if (hold) {
        try {
            Transaction transaction(db);
            sql::exec(db, "insert into garden (garden_name) values ('held')");
            out << "holding" << Qt::endl;
            std::this_thread::sleep_for(std::chrono::milliseconds(args[3].toInt()));
            transaction.commit();
        } catch (const DbError& e) {
            out << "failed 0\t" << e.text() << '\t' << e.detail().simplified() << Qt::endl;
            return 1;
        }
        return 0;
    }
    // All copies start writing at once, when told.
    out << "ready" << Qt::endl;
    QTextStream(stdin).readLine();
    const int count = args[pay ? 4 : 3].toInt();
    for (int n = 1; n <= count; ++n) {
        try {
            if (pay)
                payOne(db, args[3], n);
            else
                storeOne(db, args[2], n);
            out << "ok " << n << Qt::endl;
        } catch (const DbError& e) {
            out << "failed " << n << '\t' << e.text() << '\t' << e.detail().simplified() << Qt::endl;
        }
    }
    return 0;
}
