#include "output/ExportDescription.h"

ExportColumn ExportColumn::text(QString caption, QString field, FieldFormat format)
{
    return {std::move(caption), Source::TextField, std::move(field), format, {}};
}

ExportColumn ExportColumn::plain(QString caption, QString field, FieldFormat format)
{
    return {std::move(caption), Source::PlainField, std::move(field), format, {}};
}

ExportColumn ExportColumn::date(QString caption, QString field)
{
    return {std::move(caption), Source::DateField, std::move(field), FieldFormat::Date, {}};
}

ExportColumn ExportColumn::screenValue(QString caption, QString value)
{
    return {std::move(caption), Source::ScreenValue, {}, FieldFormat::Plain, std::move(value)};
}

QList<ExportColumn> ExportColumn::listed(const QList<ListColumn>& columns)
{
    QList<ExportColumn> result;
    for (const ListColumn& c : columns) {
        const FieldFormat format = c.kind == ListColumn::Kind::Decimal ? FieldFormat::Decimal
                                   : c.kind == ListColumn::Kind::Date  ? FieldFormat::Date
                                                                       : FieldFormat::Plain;
        switch (c.exportAs) {
        case ListColumn::Export::Text:
            result << text(c.caption(), c.field, format);
            break;
        case ListColumn::Export::Plain:
            result << plain(c.caption(), c.field, format);
            break;
        case ListColumn::Export::Date:
            result << date(c.caption(), c.field);
            break;
        case ListColumn::Export::None:
            break;
        }
    }
    return result;
}

QStringList ExportDescription::captions() const
{
    QStringList result;
    for (const ExportColumn& column : columns)
        result << column.caption;
    return result;
}

ExportDescription ExportDescription::departmentGoods(const QString& departmentName,
                                                     QList<ExportColumn> columns)
{
    ExportDescription d;
    d.emptyCheck = false;
    d.title = departmentName + u"办公用品清单";
    d.columns = std::move(columns);
    d.layout = Layout::DepartmentGoods;
    d.failureText = QStringLiteral("Excel 运行失败，请全部退出后，重新运行程序！");
    return d;
}

QString ExportDescription::shownText(const QString& typed)
{
    return typed.startsWith(u'\'') ? typed.mid(1) : typed;
}
