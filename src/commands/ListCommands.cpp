#include "commands/ListCommands.h"

#include "commands/Invocation.h"
#include "commands/ListCatalogue.h"
#include "commands/OperatorLogin.h"
#include "db/Sql.h"
#include "output/CsvWriter.h"
#include "output/ReportPaginator.h"
#include "output/ReportRenderer.h"
#include "output/StatementRecordSource.h"
#include "output/WorkbookWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QSaveFile>
#include <QSqlQuery>

#include <cstdio>
#include <map>

namespace list_commands {
namespace {

struct Filter
{
    unsigned bit;
    const char* option;
};
constexpr Filter kFilters[] = {
    {kOwnerFilter, "owner"}, {kBuildingFilter, "building"}, {kDepartmentFilter, "department"},
    {kKindFilter, "kind"},   {kAllFilter, "all"},
};

// The record named on the command line: by its name (trimmed, exactly), else by
// its number. Refused when none or several have that name.
qlonglong findNamed(const QSqlDatabase& db, const QString& table, const QString& keyColumn,
                    const QString& nameColumn, const QString& given, const QString& noun)
{
    QSqlQuery named = sql::exec(db,
                                u"select " + keyColumn + u" from " + table + u" where rtrim(" + nameColumn +
                                    u") = ? order by " + keyColumn,
                                {given});
    QList<qlonglong> found;
    while (named.next())
        found << named.value(0).toLongLong();
    named.finish();
    if (found.size() > 1)
        refuseCommand(QStringLiteral("有%1个%2名为“%3”，请改用编号。").arg(found.size()).arg(noun, given));
    if (found.size() == 1)
        return found.first();
    bool isNumber = false;
    const qlonglong number = given.toLongLong(&isNumber);
    if (isNumber && sql::exists(db, u"select 1 from " + table + u" where " + keyColumn + u" = ?", {number}))
        return number;
    refuseCommand(QStringLiteral("找不到%1“%2”。").arg(noun, given));
}

const ListEntry& entryNamed(const Invocation& invocation, std::span<const ListEntry> entries,
                            const QString& noun)
{
    const QString name = invocation.argument(noun);
    if (const ListEntry* entry = list_catalogue::find(entries, name))
        return *entry;
    QStringList names;
    for (const ListEntry& e : entries)
        names << QString::fromLatin1(e.name);
    badUsage(QStringLiteral("未知的%1：%2。可用的有：%3").arg(noun, name, names.join(QStringLiteral("、"))));
}

// The filters given, checked against what the list takes and needs: bad usage
// is told before any password is asked for.
std::optional<Period> checkedFilters(const Invocation& invocation, const ListEntry& entry)
{
    unsigned given = 0;
    for (const Filter& f : kFilters) {
        if (invocation.options().isSet(QString::fromLatin1(f.option)))
            given |= f.bit;
    }
    const std::optional<Period> period = invocation.period();
    const QString name = QString::fromLatin1(entry.name);
    for (const Filter& f : kFilters) {
        if ((given & f.bit) && !(entry.takes & f.bit))
            badUsage(QStringLiteral("%1 不接受 --%2。").arg(name, QString::fromLatin1(f.option)));
        if ((entry.needs & f.bit) && !(given & f.bit))
            badUsage(QStringLiteral("%1 需要 --%2。").arg(name, QString::fromLatin1(f.option)));
    }
    if (period && !(entry.takes & kPeriodFilter))
        badUsage(QStringLiteral("%1 不接受 --from 和 --to。").arg(name));
    if ((entry.needs & kPeriodFilter) && !period)
        badUsage(QStringLiteral("%1 需要 --from 和 --to。").arg(name));
    return period;
}

// The list to write, for an operator who may browse its function: the filters
// checked, the operator logged in, then the names given found in the database.
ListOutput listFor(Invocation& invocation, const ListEntry& entry)
{
    ListRequest r;
    r.period = checkedFilters(invocation, entry);
    r.all = invocation.options().isSet(QStringLiteral("all"));
    operator_login::logIn(invocation,
                          {entry.group, entry.position, QString::fromUtf8(entry.function), Access::Browse});
    const QSqlDatabase db = invocation.db();
    if (const auto owner = invocation.value(QStringLiteral("owner"))) {
        r.ownerId = findNamed(db, QStringLiteral("owner_info"), QStringLiteral("owner_id"),
                              QStringLiteral("owner_name"), *owner, QStringLiteral("住户"));
        r.ownerName = sql::scalar(db, QStringLiteral("select owner_name from owner_info where owner_id = ?"),
                                  {*r.ownerId})
                          .toString()
                          .trimmed();
    }
    if (const auto building = invocation.value(QStringLiteral("building")))
        r.buildingId = findNamed(db, QStringLiteral("garden"), QStringLiteral("garden_id"),
                                 QStringLiteral("garden_name"), *building, QStringLiteral("大楼"));
    if (const auto department = invocation.value(QStringLiteral("department")))
        r.departmentId = findNamed(db, QStringLiteral("department"), QStringLiteral("dept_id"),
                                   QStringLiteral("dept_name"), *department, QStringLiteral("部门"));
    if (const auto kind = invocation.value(QStringLiteral("kind")))
        r.kindId = findNamed(db, QStringLiteral("dev_type"), QStringLiteral("type_id"),
                             QStringLiteral("type_name"), *kind, QStringLiteral("设备类别"));
    return entry.make(db, r);
}

// The list's rows as read, with the sums of its amounts for the summary.
class TotallingSource final : public RecordSource
{
public:
    TotallingSource(RecordSource& rows, const QList<ExportColumn>& columns) : m_rows(rows)
    {
        for (const ExportColumn& c : columns) {
            if (c.format == FieldFormat::Decimal && c.source != ExportColumn::Source::ScreenValue)
                m_summed.push_back({c.caption, c.field, -1});
        }
    }

    bool first() override
    {
        const bool more = m_rows.first();
        for (Summed& s : m_summed) {
            s.index = m_rows.fieldIndex(s.field);
            s.total = Money();
        }
        if (more)
            add();
        return more;
    }
    bool next() override
    {
        const bool more = m_rows.next();
        if (more)
            add();
        return more;
    }
    int fieldIndex(const QString& name) const override { return m_rows.fieldIndex(name); }
    QVariant value(int field) const override { return m_rows.value(field); }

    QJsonObject totals() const
    {
        QJsonObject totals;
        for (const Summed& s : m_summed)
            totals.insert(ExportDescription::shownText(s.caption), s.total.toString());
        return totals;
    }

private:
    void add()
    {
        for (Summed& s : m_summed) {
            if (const std::optional<Decimal2> amount = fieldHundredths(m_rows.value(s.index)))
                s.total = s.total + *amount;
        }
    }

    struct Summed
    {
        QString caption;
        QString field;
        int index;
        Money total = {};
    };
    RecordSource& m_rows;
    std::vector<Summed> m_summed;
};

QString outputOf(const Invocation& invocation)
{
    const std::optional<QString> output = invocation.value(QStringLiteral("output"));
    if (!output || output->isEmpty())
        badUsage(QStringLiteral("请用 -o 指定写出的文件。"));
    return *output;
}

void refuseExisting(const QString& path)
{
    if (QFileInfo::exists(path))
        refuseCommand(QStringLiteral("文件已存在：%1。未做任何改动。").arg(path));
}

qint64 writeCsv(const Invocation& invocation, const ExportDescription& description, RecordSource& rows,
                const QString& path)
{
    CsvWriter writer(description);
    writer.setProgress(
        [&](qint64 done) { invocation.console().progress(QStringLiteral("已导出行数："), done); });
    CsvWriter::Result result;
    if (path == u"-") {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly))
            refuseCommand(QStringLiteral("无法写标准输出：%1").arg(out.errorString()));
        result = writer.write(rows, out);
    } else {
        // Written under another name and put in place complete.
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly))
            refuseCommand(QStringLiteral("文件无法写入：%1（%2）").arg(path, out.errorString()));
        result = writer.write(rows, out);
        if (result.written && !out.commit())
            refuseCommand(QStringLiteral("文件无法写入：%1（%2）").arg(path, out.errorString()));
    }
    if (!result.error.isEmpty())
        refuseCommand(QStringLiteral("文件无法写入：%1（%2）").arg(path, result.error));
    if (!result.written)
        refuseCommand(QStringLiteral("没有数据可打印！"));
    return result.rows;
}

qint64 writeWorkbook(const Invocation& invocation, const ExportDescription& description, RecordSource& rows,
                     const QString& path)
{
    refuseExisting(path);
    WorkbookWriter writer(description);
    writer.setProgress(
        [&](qint64 done) { invocation.console().progress(QStringLiteral("已导出行数："), done); });
    const WorkbookWriter::Result result = writer.write(rows, path);
    switch (result.outcome) {
    case WorkbookWriter::Outcome::Written:
        return result.rows;
    case WorkbookWriter::Outcome::EmptyList:
        refuseCommand(QStringLiteral("没有数据可打印！"));
    case WorkbookWriter::Outcome::TooManyRows:
        refuseCommand(result.error + QStringLiteral("也可以导出为 .csv 文件，它没有行数的限制。"));
    case WorkbookWriter::Outcome::Cancelled:
    case WorkbookWriter::Outcome::Failed:
        break;
    }
    refuseCommand(QStringLiteral("文件无法写入：%1（%2）").arg(path, result.error));
}

} // namespace

int exportList(Invocation& invocation)
{
    const ListEntry& entry = entryNamed(invocation, list_catalogue::exports(), QStringLiteral("列表"));
    const QString path = outputOf(invocation);
    const bool toStdout = path == u"-";
    const bool csv = toStdout || path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
    if (!csv && !path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        badUsage(QStringLiteral("只能导出为 .xlsx 或 .csv 文件（- 为标准输出，CSV 格式）。"));
    if (csv && !toStdout)
        refuseExisting(path);

    const ListOutput list = listFor(invocation, entry);
    StatementRecordSource statement(invocation.db(), list.statement, list.values);
    statement.setStreamed(true); // a million records are never held in memory
    TotallingSource rows(statement, list.description.columns);

    const qint64 written = csv ? writeCsv(invocation, list.description, rows, path)
                               : writeWorkbook(invocation, list.description, rows, path);
    if (!toStdout)
        invocation.console().say(QStringLiteral("已导出 %1 行到 %2").arg(written).arg(path));
    invocation.console().summary({{QStringLiteral("command"), QStringLiteral("export")},
                                  {QStringLiteral("list"), QString::fromLatin1(entry.name)},
                                  {QStringLiteral("rows"), written},
                                  {QStringLiteral("totals"), rows.totals()},
                                  {QStringLiteral("file"), path}},
                                 toStdout);
    return exit_status::kDone;
}

int printList(Invocation& invocation)
{
    const ListEntry& entry = entryNamed(invocation, list_catalogue::reports(), QStringLiteral("报表"));
    const QString path = outputOf(invocation);
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        badUsage(QStringLiteral("打印报表只能写成 .pdf 文件。"));
    refuseExisting(path);

    const ListOutput list = listFor(invocation, entry);
    StatementRecordSource rows(invocation.db(), list.statement, list.values);
    rows.setStreamed(true);
    const PlacedReport report = ReportPaginator(list.layout).paginate(rows, QDate::currentDate());
    if (!ReportRenderer(report).writePdf(path))
        refuseCommand(QStringLiteral("PDF 文件无法写入：") + path);
    invocation.console().say(
        QStringLiteral("已把“%1”写成 %2（%3 页）").arg(report.title, path).arg(report.pages.size()));
    invocation.console().summary({{QStringLiteral("command"), QStringLiteral("print")},
                                  {QStringLiteral("report"), QString::fromLatin1(entry.name)},
                                  {QStringLiteral("pages"), report.pages.size()},
                                  {QStringLiteral("file"), path}});
    return exit_status::kDone;
}

} // namespace list_commands
