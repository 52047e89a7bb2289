#include "output/ServiceReportLayouts.h"

#include "db/PinyinCollation.h"

namespace reports {

namespace {

// A column: its caption (in the title band or the group header) and the field
// printed under it in the detail band.
struct Column
{
    Column(QString caption_, double captionX_, QString field_, double fieldX_,
           FieldFormat format_ = FieldFormat::Plain)
        : caption(std::move(caption_)), captionX(captionX_), field(std::move(field_)), fieldX(fieldX_),
          format(format_)
    {
    }
    // A caption that stands apart from the others.
    Column& captionAt(double y)
    {
        captionY = y;
        return *this;
    }
    // A value that stands apart from the others.
    Column& valueAt(double y)
    {
        fieldY = y;
        return *this;
    }
    Column& valueIn(const ReportFont& font)
    {
        valueFont = font;
        return *this;
    }

    QString caption;
    double captionX;
    QString field;
    double fieldX;
    FieldFormat format;
    std::optional<double> captionY;
    std::optional<double> fieldY;
    std::optional<ReportFont> valueFont;
};

ReportFont arial(double size, bool bold = false)
{
    return {QStringLiteral("Arial"), size, bold};
}

const ReportFont kCaptionFont = arial(12, true);
const ReportFont kTitleFont = arial(18, true);

// The page, the report font (Arial 10) and the page footer every report of the
// property services shares, with the title band's title.
ReportLayout serviceLayout(const QString& name, const QString& title, double titleHeight)
{
    ReportLayout layout;
    layout.name = name;
    layout.title = title;
    layout.font = arial(10);
    layout.titleBand.height = titleHeight;
    layout.titleBand.lines = BandLine::Bottom;
    layout.titleBand.items << ReportItem::fixedText(title, 72.0, 8.5, kTitleFont);
    layout.pageFooter.height = 12.4;
    layout.pageFooter.items << ReportItem::pageNumber(4.2, 4.2)
                            << ReportItem::printDate(QStringLiteral("打印日期: "), 152.4, 4.2);
    layout.detail.height = 8.7;
    layout.detail.lines = kOpenTop;
    return layout;
}

// Captions into `captions` at captionY, values into the detail band at valueY.
void addColumns(ReportLayout& layout, ReportBand& captions, const QList<Column>& columns, double captionY,
                double valueY, const ReportFont& valueFont)
{
    for (const Column& c : columns) {
        captions.items << ReportItem::fixedText(c.caption, c.captionX, c.captionY.value_or(captionY),
                                                kCaptionFont);
        layout.detail.items << ReportItem::fieldValue(c.field, c.fieldX, c.fieldY.value_or(valueY),
                                                      c.valueFont.value_or(valueFont), c.format);
    }
    layout.detail.limitFieldWidths(layout.printableWidth());
}

// The reports grouped by owner: "住户名称" in the title band, the owner's name and
// the captions in the group header.
ReportLayout ownerGroupedLayout(const QString& name, const QString& title, const QList<Column>& columns,
                                const ReportFont& valueFont)
{
    ReportLayout layout = serviceLayout(name, title, 32.5);
    layout.titleBand.items << ReportItem::fixedText(QStringLiteral("住户名称"), 4.2, 23.3, kCaptionFont);
    layout.groupField = QStringLiteral("owner_name");
    layout.groupHeader.height = 8.5;
    layout.groupHeader.lines = kOpenTop;
    layout.groupHeader.items << ReportItem::fieldValue(QStringLiteral("owner_name"), 2.1, 2.1);
    addColumns(layout, layout.groupHeader, columns, 2.1, 1.6, valueFont);
    layout.groupHeader.limitFieldWidths(layout.printableWidth());
    return layout;
}

} // namespace

ReportLayout rptServe()
{
    const FieldFormat money = FieldFormat::Decimal;
    return ownerGroupedLayout(
        QStringLiteral("rptServe"), QStringLiteral("住户服务资料"),
        {
            Column(QStringLiteral("服务人"), 36.0, QStringLiteral("worker"), 35.5),
            Column(QStringLiteral("材料费"), 59.3, QStringLiteral("material_money"), 52.4, money),
            Column(QStringLiteral("服务费"), 82.5, QStringLiteral("serve_money"), 77.0, money),
            Column(QStringLiteral("所需材料"), 116.4, QStringLiteral("need_material"), 115.1)
                .valueIn(arial(10)),
            Column(QStringLiteral("用户验收"), 163.0, QStringLiteral("owner_check"), 157.4),
        },
        arial(12));
}

ReportLayout rptAdvice()
{
    return ownerGroupedLayout(
        QStringLiteral("rptAdvice"), QStringLiteral("客户投诉信息"),
        {
            Column(QStringLiteral("投诉对象"), 29.6, QStringLiteral("advice_name"), 25.9),
            Column(QStringLiteral("投诉时间"), 63.5, QStringLiteral("advice_time"), 59.8, FieldFormat::Date),
            Column(QStringLiteral("回访方式"), 95.2, QStringLiteral("revert_type"), 91.8),
            Column(QStringLiteral("满意程度"), 129.1, QStringLiteral("satisfy"), 131.2).valueIn(arial(10)),
            Column(QStringLiteral("处理人"), 163.0, QStringLiteral("serve_name"), 158.5),
        },
        arial(12));
}

ReportLayout rptFitMent()
{
    return ownerGroupedLayout(
        QStringLiteral("rptFitMent"), QStringLiteral("二次装修信息"),
        {
            Column(QStringLiteral("装修地址"), 33.9, QStringLiteral("address"), 35.2).valueAt(2.1),
            Column(QStringLiteral("装修公司"), 67.7, QStringLiteral("company_name"), 64.6),
            Column(QStringLiteral("联系电话"), 99.5, QStringLiteral("fit_tel"), 103.2),
            Column(QStringLiteral("起始日期"), 133.3, QStringLiteral("start_date"), 132.8, FieldFormat::Date),
            Column(QStringLiteral("结束日期"), 165.1, QStringLiteral("end_date"), 165.9, FieldFormat::Date),
        },
        arial(10));
}

ReportLayout rptDevice()
{
    ReportLayout layout = serviceLayout(QStringLiteral("rptDevice"), QStringLiteral("工程设备一览表"), 32.5);
    layout.titleBand.items << ReportItem::fixedText(QStringLiteral("设备类别"), 4.2, 25.4, kCaptionFont);
    // The statement holds the devices of one kind, so the kind prints once.
    layout.groupField = QStringLiteral("type_name");
    layout.groupHeader.height = 8.5;
    layout.groupHeader.lines = kOpenTop;
    layout.groupHeader.items << ReportItem::fieldValue(QStringLiteral("type_name"), 4.0, 2.1, arial(10));
    addColumns(layout, layout.groupHeader,
               {
                   Column(QStringLiteral("设备名称"), 33.9, QStringLiteral("dev_name"), 36.5).valueAt(2.1),
                   Column(QStringLiteral("设备编号"), 65.6, QStringLiteral("dev_no"), 70.1),
                   Column(QStringLiteral("生产厂家"), 97.4, QStringLiteral("factory"), 103.2),
                   Column(QStringLiteral("厂家电话"), 131.2, QStringLiteral("link_tel"), 134.7),
                   Column(QStringLiteral("安装位置"), 163.0, QStringLiteral("palace"), 167.7),
               },
               2.1, 1.6, arial(10));
    layout.groupHeader.limitFieldWidths(layout.printableWidth());
    return layout;
}

ReportLayout rptRepair()
{
    ReportLayout layout = serviceLayout(QStringLiteral("rptRepair"), QStringLiteral("故障维修信息"), 36.5);
    // All records are of one device: the title band shows the first record's dev_no.
    layout.titleBand.items << ReportItem::fixedText(QStringLiteral("设备编号"), 6.3, 21.2, arial(10, true))
                           << ReportItem::fieldValue(QStringLiteral("dev_no"), 25.9, 21.2, arial(10));
    addColumns(layout, layout.titleBand,
               {
                   Column(QStringLiteral("维修序号"), 6.3, QStringLiteral("repair_id"), 6.3).valueAt(2.1),
                   Column(QStringLiteral("故障时间"), 44.5, QStringLiteral("fault_time"), 43.1,
                          FieldFormat::DateTime),
                   Column(QStringLiteral("完成时间"), 80.4, QStringLiteral("finish_time"), 80.4,
                          FieldFormat::DateTime),
                   Column(QStringLiteral("维修费用"), 116.4, QStringLiteral("repair_money"), 117.5,
                          FieldFormat::Decimal),
                   Column(QStringLiteral("结果"), 156.6, QStringLiteral("result"), 155.6),
               },
               29.6, 1.6, arial(10));
    layout.titleBand.limitFieldWidths(layout.printableWidth());
    return layout;
}

ReportLayout rptEvent()
{
    ReportLayout layout = serviceLayout(QStringLiteral("rptEvent"), QStringLiteral("重大事件一览表"), 34.7);
    addColumns(layout, layout.titleBand,
               {
                   Column(QStringLiteral("事件名称"), 8.5, QStringLiteral("event_name"), 5.6).valueAt(2.1),
                   Column(QStringLiteral("事件类型"), 46.6, QStringLiteral("event_type"), 43.1),
                   Column(QStringLiteral("处理人"), 82.5, QStringLiteral("deal_man"), 83.1),
                   Column(QStringLiteral("发生时间"), 118.5, QStringLiteral("take_time"), 120.1,
                          FieldFormat::DateTime),
                   Column(QStringLiteral("发生地点"), 158.8, QStringLiteral("take_address"), 150.0),
               },
               27.5, 1.6, arial(10));
    return layout;
}

ReportLayout rptFire()
{
    ReportLayout layout = serviceLayout(QStringLiteral("rptFire"), QStringLiteral("消防片区资料"), 34.7);
    addColumns(layout, layout.titleBand,
               {
                   Column(QStringLiteral("片区名"), 6.3, QStringLiteral("area_name"), 6.3),
                   Column(QStringLiteral("消防等级"), 44.5, QStringLiteral("grade"), 47.6),
                   Column(QStringLiteral("消防地点"), 80.4, QStringLiteral("address"), 81.8),
                   Column(QStringLiteral("负责人"), 116.4, QStringLiteral("fireman"), 117.7),
                   Column(QStringLiteral("查验周期"), 148.2, QStringLiteral("cycle"), 152.1),
               },
               27.5, 1.6, arial(10));
    return layout;
}

ReportLayout rptPloy()
{
    ReportLayout layout = serviceLayout(QStringLiteral("rptPloy"), QStringLiteral("社区活动信息"), 38.9);
    addColumns(
        layout, layout.titleBand,
        {
            Column(QStringLiteral("活动名称"), 6.3, QStringLiteral("ploy_name"), 6.3),
            Column(QStringLiteral("主办单位"), 38.1, QStringLiteral("main_dept"), 38.1),
            Column(QStringLiteral("开始日期"), 67.7, QStringLiteral("start_date"), 68.5, FieldFormat::Date),
            Column(QStringLiteral("结束日期"), 97.1, QStringLiteral("end_date"), 97.9, FieldFormat::Date)
                .captionAt(32.3),
            Column(QStringLiteral("负责人"), 129.1, QStringLiteral("charge_man"), 126.5),
            Column(QStringLiteral("活动经费"), 156.6, QStringLiteral("ploy_money"), 156.1),
        },
        31.8, 1.6, arial(10));
    return layout;
}

ReportLayout rptConnt()
{
    ReportLayout layout = serviceLayout(QStringLiteral("rptConnt"), QStringLiteral("环境保洁"), 34.7);
    addColumns(layout, layout.titleBand,
               {
                   Column(QStringLiteral("序号"), 16.9, QStringLiteral("cond_id"), 16.1),
                   Column(QStringLiteral("区域名称"), 46.6, QStringLiteral("area_name"), 46.0),
                   Column(QStringLiteral("负责人"), 82.3, QStringLiteral("charger"), 83.9),
                   Column(QStringLiteral("保洁周期"), 114.3, QStringLiteral("cycle"), 120.4),
               },
               27.5, 0, arial(10));
    return layout;
}

// Owners in pinyin order, as the owner register lists them; within one owner (and
// for two owners of one name) the records keep the order in which they were entered.
ReportStatement serveStatement()
{
    return {QStringLiteral("select a.*, b.owner_name from service a, owner_info b "
                           "where a.owner_id = b.owner_id order by ") +
                pinyin::byName(QStringLiteral("b.owner_name")) + QStringLiteral(", a.serve_id"),
            {}};
}

ReportStatement adviceStatement()
{
    return {QStringLiteral("select a.*, b.owner_name from advice a, owner_info b "
                           "where a.owner_id = b.owner_id order by ") +
                pinyin::byName(QStringLiteral("b.owner_name")) + QStringLiteral(", a.advice_id"),
            {}};
}

ReportStatement fitmentStatement()
{
    // fitment.owner_id is text; it is compared with the owner's number as text, so
    // that "12" matches owner 12 and "12a" matches nobody.
    return {QStringLiteral("select a.*, b.owner_name from fitment a, owner_info b "
                           "where a.owner_id = cast(b.owner_id as text) order by ") +
                pinyin::byName(QStringLiteral("b.owner_name")) + QStringLiteral(", a.fit_id"),
            {}};
}

ReportStatement deviceStatement(qlonglong typeId)
{
    return {QStringLiteral("select a.*, b.type_name from device a, dev_type b "
                           "where b.type_id = a.type_id and a.type_id = ? order by a.dev_no, a.dev_id"),
            {typeId}};
}

ReportStatement repairStatement(qlonglong devId)
{
    return {QStringLiteral("select a.*, b.dev_no from repair a, device b "
                           "where a.dev_id = b.dev_id and a.dev_id = ? order by a.repair_id"),
            {devId}};
}

ReportStatement eventStatement()
{
    return {QStringLiteral("select * from event order by event_id"), {}};
}

ReportStatement fireStatement()
{
    return {QStringLiteral("select * from fire_area order by fire_id"), {}};
}

ReportStatement conditionStatement()
{
    return {QStringLiteral("select * from condition order by cond_id"), {}};
}

ReportStatement communityStatement()
{
    return {QStringLiteral("select * from community order by ploy_id"), {}};
}

} // namespace reports
