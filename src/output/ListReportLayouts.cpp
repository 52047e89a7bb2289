#include "output/ListReportLayouts.h"

namespace reports {

namespace {

// One column of a list: its caption in the title band and its value in the
// detail band.
struct Column
{
    Column(QString caption_, double captionX_, QString field_, double fieldX_,
           FieldFormat format_ = FieldFormat::Plain)
        : caption(std::move(caption_)), captionX(captionX_), field(std::move(field_)), fieldX(fieldX_),
          format(format_)
    {
    }

    QString caption;
    double captionX;
    QString field;
    double fieldX;
    FieldFormat format;
};

ReportFont arial(double size, bool bold)
{
    return {QStringLiteral("Arial"), size, bold};
}

// The page, the report font (Arial 16 bold) and the page footer that the four
// lists share: the page number on the left, the print date on the right.
ReportLayout listLayout(const QString& name, const QString& title)
{
    ReportLayout layout;
    layout.name = name;
    layout.title = title;
    layout.font = arial(16, true);
    layout.pageFooter.height = 10.6;
    layout.pageFooter.items = {ReportItem::pageNumber(4.2, 2.1),
                               ReportItem::fixedText(QStringLiteral("打印日期:"), 114.3, 2.1),
                               ReportItem::printDate({}, 148.2, 2.1)};
    return layout;
}

void addColumns(ReportLayout& layout, const QList<Column>& columns, double captionY,
                std::optional<ReportFont> captionFont, double valueY, const ReportFont& valueFont)
{
    for (const Column& c : columns) {
        layout.titleBand.items << ReportItem::fixedText(c.caption, c.captionX, captionY, captionFont);
        layout.detail.items << ReportItem::fieldValue(c.field, c.fieldX, valueY, valueFont, c.format);
    }
    layout.detail.limitFieldWidths(layout.printableWidth());
}

} // namespace

ReportLayout rptOwner()
{
    ReportLayout layout = listLayout(QStringLiteral("rptOwner"), QStringLiteral("住户信息一览表"));
    layout.titleBand.height = 32.5;
    layout.titleBand.lines = BandLine::Bottom;
    layout.titleBand.items << ReportItem::fixedText(layout.title, 74.1, 6.3);
    layout.detail.height = 8.5;
    layout.detail.lines = kOpenTop;
    addColumns(layout,
               {
                   Column(QStringLiteral("住户名称"), 4.2, QStringLiteral("owner_name"), 6.6),
                   Column(QStringLiteral("联系人"), 44.5, QStringLiteral("linker"), 46.8),
                   Column(QStringLiteral("联系电话"), 67.7, QStringLiteral("link_tel"), 73.0),
                   Column(QStringLiteral("信誉等级"), 97.4, QStringLiteral("credit"), 104.0),
                   Column(QStringLiteral("保证金"), 131.2, QStringLiteral("bail_money"), 131.5,
                          FieldFormat::Decimal),
                   Column(QStringLiteral("紧急联系"), 160.9, QStringLiteral("jjlink"), 167.2),
               },
               23.3, std::nullopt, 0.8, arial(12, false));
    ReportBand summary;
    summary.height = 10.6;
    summary.items = {ReportItem::fixedText(QStringLiteral("总住户数:"), 31.5, 2.6),
                     ReportItem::count(63.2, 2.6),
                     ReportItem::fixedText(QStringLiteral("保证金:"), 91.0, 2.6),
                     ReportItem::sum(QStringLiteral("bail_money"), FieldFormat::Decimal, 116.4, 2.6)};
    layout.summary = summary;
    return layout;
}

ReportLayout rptOwe()
{
    ReportLayout layout = listLayout(QStringLiteral("rptOwe"), QStringLiteral("住户欠费信息"));
    layout.titleBand.height = 32.5;
    layout.titleBand.lines = BandLine::Bottom;
    layout.titleBand.items << ReportItem::fixedText(layout.title, 74.1, 6.3, arial(20, true));
    layout.detail.height = 8.2;
    layout.detail.lines = kFrame;
    const FieldFormat money = FieldFormat::Decimal;
    addColumns(layout,
               {
                   Column(QStringLiteral("住户名称"), 4.2, QStringLiteral("owner_name"), 4.8),
                   Column(QStringLiteral("应付款"), 33.9, QStringLiteral("sum_should"), 30.4, money),
                   Column(QStringLiteral("减免款"), 59.3, QStringLiteral("sum_derate"), 58.7, money),
                   Column(QStringLiteral("实付款"), 91.0, QStringLiteral("sum_Payment"), 90.5, money),
                   Column(QStringLiteral("欠费金额"), 122.8, QStringLiteral("owe_money"), 124.1, money),
               },
               23.3, std::nullopt, 1.3, arial(12, false));
    ReportBand summary;
    summary.height = 10.6;
    summary.items = {ReportItem::fixedText(QStringLiteral("欠费总金额:"), 80.4, 2.1),
                     ReportItem::sum(QStringLiteral("owe_money"), money, 116.4, 2.1)};
    layout.summary = summary;
    return layout;
}

ReportLayout rptTake()
{
    ReportLayout layout = listLayout(QStringLiteral("rptTake"), QStringLiteral("缴费记录清单"));
    layout.titleBand.height = 28.3;
    layout.titleBand.lines = BandLine::Bottom;
    layout.titleBand.items << ReportItem::fixedText(layout.title, 74.1, 6.3);
    layout.detail.height = 8.5;
    layout.detail.lines = kFrame;
    const FieldFormat money = FieldFormat::Decimal;
    addColumns(
        layout,
        {
            Column(QStringLiteral("序号"), 4.2, QStringLiteral("take_id"), 1.1),
            Column(QStringLiteral("费用名"), 25.4, QStringLiteral("type_name"), 24.6),
            Column(QStringLiteral("应付款"), 52.9, QStringLiteral("should_pay"), 52.1, money),
            Column(QStringLiteral("减免金额"), 78.3, QStringLiteral("derate"), 82.8, money),
            Column(QStringLiteral("实付款"), 108.0, QStringLiteral("payment_real"), 104.0, money),
            Column(QStringLiteral("付款日期"), 137.6, QStringLiteral("take_date"), 136.8, FieldFormat::Date),
            Column(QStringLiteral("上期节余"), 165.1, QStringLiteral("if_remain"), 166.2),
        },
        19.6, arial(14, true), 1.6, arial(12, false));
    ReportBand summary;
    summary.height = 10.6;
    summary.items = {ReportItem::fixedText(QStringLiteral("实付总金额:"), 80.4, 2.1),
                     ReportItem::sum(QStringLiteral("payment_real"), money, 116.4, 2.1)};
    layout.summary = summary;
    return layout;
}

ReportLayout rptEmp()
{
    ReportLayout layout = listLayout(QStringLiteral("rptEmp"), QStringLiteral("员工信息一览表"));
    layout.titleBand.height = 32.5;
    layout.titleBand.lines = BandLine::Bottom;
    layout.titleBand.items << ReportItem::fixedText(layout.title, 74.1, 6.3);
    layout.detail.height = 12.7;
    layout.detail.lines = kFrame;
    addColumns(layout,
               {
                   Column(QStringLiteral("姓名"), 4.2, QStringLiteral("emp_name"), 5.6),
                   Column(QStringLiteral("部门"), 33.9, QStringLiteral("dept_name"), 29.9),
                   Column(QStringLiteral("毕业学校"), 55.0, QStringLiteral("school"), 61.6),
                   Column(QStringLiteral("所学专业"), 88.9, QStringLiteral("special"), 93.4),
                   Column(QStringLiteral("联系电话"), 122.8, QStringLiteral("link_tel"), 124.1),
                   Column(QStringLiteral("家庭地址"), 156.6, QStringLiteral("home_address"), 152.9),
               },
               23.3, std::nullopt, 2.1, arial(12, true));
    return layout;
}

} // namespace reports
