#pragma once

#include "core/Checked.h"
#include "db/NamedKey.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

// A message between operators (table message_info): one row per receiver.
struct Message
{
    qlonglong id = 0;
    QString sender;
    QString receiver;
    QString subject;
    QString contents;
    QDateTime sendTime;
    bool unread = false; // mesg_type "新" until the receiver opens it
};

// Internal mail, addressed by operator name. Every function throws DbError.
namespace mail_store {

// The operator's mailbox: unread messages first, each group newest first.
QList<Message> mailbox(const QSqlDatabase& db, const QString& receiver);
std::optional<Message> load(const QSqlDatabase& db, qlonglong id);
// The message has been opened: it is read for good.
void markRead(const QSqlDatabase& db, qlonglong id);
void remove(const QSqlDatabase& db, qlonglong id);
// Deletes exactly these messages (the mailbox as listed): mail that arrived since
// is kept.
void removeAll(const QSqlDatabase& db, const QList<qlonglong>& ids);

// The operators who are employees of the department (same name), by name.
QStringList operatorsOf(const QSqlDatabase& db, qlonglong departmentId);

struct Sent
{
    QStringList receivers; // one row each, in the order typed
    QList<qlonglong> ids;  // the rows stored, in the same order
};
// Sends to the receivers typed ("a; b"), refused in this order: no receiver typed,
// a name (trimmed, between ";") that is no operator's name, an empty subject.
// Every receiver is checked before anything is stored, and all rows are stored in
// one transaction, so a refused send stores nothing and a resend sends no
// duplicates.
Checked<Sent> send(const QSqlDatabase& db, const QString& sender, const QString& receivers,
                   const QString& subject, const QString& contents, const QDateTime& now);

// A reply: the subject with "re:  " before it, and the body quoted line by line
// with "> " below three empty lines.
QString replySubject(const QString& subject);
QString replyBody(const QString& body);

} // namespace mail_store
