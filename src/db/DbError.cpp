#include "db/DbError.h"

#include "db/Schema.h"
#include "db/SqlDialect.h"

#include <QStringList>

namespace {

// The label of "table.column"; the text itself when it names no column of ours.
QString labelOf(const QString& qualified)
{
    const qsizetype dot = qualified.indexOf(u'.');
    if (dot < 0)
        return qualified;
    return schema::label(qualified.left(dot), qualified.mid(dot + 1));
}

QString labelsOf(const QStringList& columns)
{
    QStringList labels;
    for (const QString& column : columns)
        labels << labelOf(column);
    return labels.join(u'、');
}

bool isWholeNumber(const schema::Column* column)
{
    return column &&
           (column->type == schema::ColumnType::Integer || column->type == schema::ColumnType::SmallInteger ||
            column->type == schema::ColumnType::Byte);
}

// What the operator is told when a CHECK constraint refused a value.
QString checkText(const QString& constraint)
{
    const std::optional<schema::CheckTarget> target = schema::parseCheckName(constraint);
    if (!target)
        return QStringLiteral("输入的数据不符合要求，请检查后重试。");
    const QString label = schema::label(target->table, target->column);
    switch (target->rule) {
    case schema::Rule::Length:
        return QStringLiteral("%1最多%2个字符。")
            .arg(label)
            .arg(schema::maxLength(target->table, target->column));
    case schema::Rule::NotBlank:
        return QStringLiteral("%1不能为空。").arg(label);
    case schema::Rule::Number:
        if (isWholeNumber(schema::findColumn(target->table, target->column)))
            return QStringLiteral("%1必须是整数。").arg(label);
        return QStringLiteral("%1不是有效的数值。").arg(label);
    case schema::Rule::Range:
        return QStringLiteral("%1超出范围。").arg(label);
    case schema::Rule::Date:
        return QStringLiteral("%1不是有效的日期。").arg(label);
    case schema::Rule::Characters:
        return QStringLiteral("%1含有无法保存的字符。").arg(label);
    }
    return {};
}

DbError fromEngine(const QSqlError& error, const SqlDialect& dialect)
{
    using Failure = SqlDialect::Failure;
    const QString engineText = error.text().trimmed();
    const SqlDialect::Refusal refusal = dialect.classify(error);
    switch (refusal.failure) {
    case Failure::Other:
        break;
    case Failure::Aborted:
        return DbError(DbError::Kind::Engine,
                       QStringLiteral("数据库服务器已中止这次保存，没有保存任何内容。"), engineText);
    case Failure::Connection:
        return DbError(DbError::Kind::Engine,
                       QStringLiteral("与数据库服务器的连接已断开，没有保存任何内容。"), engineText);
    case Failure::Busy:
        return DbError(DbError::Kind::Busy, QStringLiteral("数据库正忙，请稍后再试。"), engineText);
    case Failure::Unique:
        return DbError(DbError::Kind::Constraint,
                       QStringLiteral("%1已存在，请换一个。").arg(labelsOf(refusal.columns)), engineText);
    case Failure::NotNull:
        return DbError(DbError::Kind::Constraint,
                       QStringLiteral("%1不能为空。").arg(labelsOf(refusal.columns)), engineText);
    case Failure::Check:
        return DbError(DbError::Kind::Constraint, checkText(refusal.constraint), engineText);
    }
    return DbError(DbError::Kind::Engine, engineText);
}

} // namespace

DbError DbError::ruleBroken(const QString& checkName)
{
    return DbError(Kind::Constraint, checkText(checkName));
}

DbError::DbError(const QSqlError& error, const SqlDialect& dialect) : DbError(fromEngine(error, dialect))
{
}
