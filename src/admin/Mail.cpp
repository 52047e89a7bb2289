#include "admin/Mail.h"

#include "db/PinyinCollation.h"
#include "db/RecordMap.h"

namespace {

const QString kUnread = QStringLiteral("新");

struct MessageRow
{
    qlonglong id = 0;
    QString sender;
    QString receiver;
    QString subject;
    QString contents;
    QString sendTime;
    QString type;
};

const RecordMap<MessageRow>& map()
{
    static const RecordMap<MessageRow> m =
        RecordMap<MessageRow>(QStringLiteral("message_info"), "msg_id", &MessageRow::id)
            .field("sender", &MessageRow::sender)
            .field("receive", &MessageRow::receiver)
            .field("mesg_head", &MessageRow::subject)
            .field("mesg_contents", &MessageRow::contents)
            .field("send_time", &MessageRow::sendTime)
            .field("mesg_type", &MessageRow::type);
    return m;
}

Message messageOf(const MessageRow& row)
{
    return {row.id,
            row.sender,
            row.receiver,
            row.subject,
            row.contents,
            QDateTime::fromString(row.sendTime, QStringLiteral("yyyy-MM-dd HH:mm:ss")),
            row.type == kUnread};
}

} // namespace

namespace mail_store {

QList<Message> mailbox(const QSqlDatabase& db, const QString& receiver)
{
    QList<Message> result;
    for (const MessageRow& row :
         map().loadWhere(db, QStringLiteral("receive = ?"), {receiver},
                         // Unread first; a message read (no mark) last on either engine,
                         // which place nulls differently.
                         QStringLiteral("coalesce(mesg_type, '') desc, send_time desc, msg_id desc")))
        result << messageOf(row);
    return result;
}

std::optional<Message> load(const QSqlDatabase& db, qlonglong id)
{
    const std::optional<MessageRow> row = map().load(db, id);
    if (!row)
        return std::nullopt;
    return messageOf(*row);
}

void markRead(const QSqlDatabase& db, qlonglong id)
{
    sql::updateOne(db, QStringLiteral("message_info"), {{QStringLiteral("mesg_type"), QString()}},
                   QStringLiteral("msg_id"), id);
}

void remove(const QSqlDatabase& db, qlonglong id)
{
    map().remove(db, id);
}

void removeAll(const QSqlDatabase& db, const QList<qlonglong>& ids)
{
    Transaction transaction(db);
    for (qlonglong id : ids)
        sql::remove(db, QStringLiteral("message_info"), QStringLiteral("msg_id"), id);
    transaction.commit();
}

QStringList operatorsOf(const QSqlDatabase& db, qlonglong departmentId)
{
    QStringList names;
    QSqlQuery q = sql::exec(db,
                            u"select op_name from operator where op_name in "
                            u"(select emp_name from employee where dept_id = ?) order by " +
                                pinyin::byName(QStringLiteral("op_name")),
                            {departmentId});
    while (q.next())
        names << q.value(0).toString().trimmed();
    return names;
}

Checked<Sent> send(const QSqlDatabase& db, const QString& sender, const QString& receivers,
                   const QString& subject, const QString& contents, const QDateTime& now)
{
    const QString receiverField = QStringLiteral("receive");
    const QString typed = receivers.trimmed();
    if (typed.isEmpty())
        return Refusal{QStringLiteral("请填写收信人!"), receiverField};
    QStringList names;
    for (const QString& name : typed.split(u';'))
        names << name.trimmed(); // a final ";" gives a final empty name, which is no operator
    Transaction transaction(db);
    for (const QString& name : names) {
        if (name.isEmpty() ||
            !sql::exists(db, QStringLiteral("select op_code from operator where op_name = ?"), {name}))
            return Refusal{QStringLiteral("收信人不存在！"), receiverField};
    }
    if (subject.trimmed().isEmpty())
        return Refusal{QStringLiteral("请填写邮件主题!"), QStringLiteral("mesg_head")};
    const QString time = now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QList<qlonglong> ids;
    for (const QString& name : names) {
        MessageRow row{0, sender, name, subject.trimmed(), contents.trimmed(), time, kUnread};
        ids << map().insert(db, row).toLongLong();
    }
    transaction.commit();
    return Sent{names, ids};
}

QString replySubject(const QString& subject)
{
    return QStringLiteral("re:  ") + subject;
}

QString replyBody(const QString& body)
{
    QStringList lines = body.split(u'\n');
    for (QString& line : lines)
        line.prepend(QStringLiteral("> "));
    return QStringLiteral("\n\n\n") + lines.join(u'\n');
}

} // namespace mail_store
