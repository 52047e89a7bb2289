#include "base/BuildingsScreen.h"
#include "base/OwnerDetailScreen.h"
#include "base/RoomsScreen.h"
#include "db/Schema.h"
#include "support/Controls.h"
#include "support/TestDatabase.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolTip>

#include <functional>
#include <memory>

// The lists of buildings, rooms and an owner's details at the size they open
// with, on an estate holding the longest values the tables take: every number,
// date and code (room number, height, telephone, plate) shows whole; long texts
// share what is left, cut, with the whole value in the cell's tooltip.
class TestGridColumns : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void numbersAndCodesShowWhole_data();
    void numbersAndCodesShowWhole();
    void aCutTextShowsWholeInItsTooltip();

private:
    TestDatabase* t = nullptr;
};

namespace {

using ScreenMaker = std::function<QWidget*(const ScreenContext&)>;

// The longest value a column takes: every character of a text (a wide one), every
// digit of a number with its sign.
QVariant longest(const schema::Column& c)
{
    using T = schema::ColumnType;
    switch (c.type) {
    case T::AutoNumber: // as many digits as a key has, with room for the next ones
        // (a 64-bit number in the file, a 32-bit identity on a server)
        if (TestDatabase::onServer())
            return std::numeric_limits<qint32>::max() - 1000;
        return std::numeric_limits<qlonglong>::max() - 1000;
    case T::Integer:
        return std::numeric_limits<qint32>::min();
    case T::SmallInteger:
        return std::numeric_limits<qint16>::min();
    case T::Byte:
        return 255;
    case T::Decimal: {
        qlonglong hundredths = 1;
        for (int i = 0; i < c.size; ++i)
            hundredths *= 10;
        return -(hundredths - 1);
    }
    case T::DateTime:
        return QStringLiteral("2026-12-28");
    case T::Text:
    case T::Char:
        return QString(c.size, u'宽');
    case T::Memo:
    case T::Float:
        break;
    }
    return {};
}

// A row of `table` holding the longest values, but for the keys given.
void addLongest(TestDatabase& t, const char* table, const QVariantMap& keys)
{
    const QString name = QString::fromLatin1(table);
    for (const schema::Table& candidate : schema::tables()) {
        if (name != QLatin1StringView(candidate.name))
            continue;
        QStringList columns;
        QVariantList values;
        for (const schema::Column& c : candidate.columns) {
            const QString column = QString::fromLatin1(c.name);
            columns << u'"' + column + u'"';
            values << keys.value(column, longest(c));
        }
        t.exec(u"insert into " + name + u" (" + columns.join(u", ") + u") values (" +
                   QStringList(columns.size(), QStringLiteral("?")).join(u", ") + u")",
               values);
        return;
    }
    QFAIL("no such table");
}

// The text a cell shows: its value as the grid writes it, cut to the cell as the
// grid paints it.
struct CellText
{
    QString whole;
    QString shown;
};

CellText cellText(const QTableView* view, const QModelIndex& index)
{
    struct Delegate : QStyledItemDelegate
    {
        using QStyledItemDelegate::initStyleOption;
    } delegate;
    QStyleOptionViewItem option;
    option.initFrom(view->viewport());
    option.font = view->font();
    option.fontMetrics = view->fontMetrics();
    option.locale = view->locale(); // as an item view writes numbers
    option.locale.setNumberOptions(QLocale::OmitGroupSeparator);
    option.rect = view->visualRect(index);
    delegate.initStyleOption(&option, index);
    const QRect textRect = view->style()->subElementRect(QStyle::SE_ItemViewItemText, &option, view);
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    return {option.text,
            option.fontMetrics.elidedText(option.text, view->textElideMode(), textRect.width() - 2 * margin)};
}

QString shownText(const QTableView* view, const QModelIndex& index)
{
    return cellText(view, index).shown;
}

int columnTitled(const QTableView* view, const QString& title)
{
    for (int column = 0; column < view->model()->columnCount(); ++column) {
        if (view->model()->headerData(column, Qt::Horizontal).toString() == title)
            return column;
    }
    return -1;
}

// The screen as the main window opens it: at its own size, shown.
std::unique_ptr<QWidget> open(const ScreenMaker& make, TestDatabase& t, int page)
{
    std::unique_ptr<QWidget> screen(make(t.context()));
    screen->show();
    if (page >= 0)
        control<QTabWidget>(screen.get(), "PageControl1")->setCurrentIndex(page);
    if (!QTest::qWaitForWindowExposed(screen.get()))
        throw std::runtime_error("the screen was not shown");
    QCoreApplication::processEvents();
    return screen;
}

} // namespace

void TestGridColumns::init()
{
    // The widths of the grids, not the engine: the keys here are the largest a
    // column takes, and a server's identity numbering would run out on them.
    SKIP_ON_SERVER();
    t = new TestDatabase;
    constexpr qint32 building = std::numeric_limits<qint32>::max();
    constexpr qint32 owner = std::numeric_limits<qint32>::max();
    const QString room(10, u'宽');
    addLongest(*t, "garden", {{"garden_id", building}});
    addLongest(*t, "rooms_info", {{"room_id", room}, {"garden_id", building}});
    addLongest(*t, "owner_info", {{"owner_id", owner}, {"in_out", QStringLiteral("居住")}});
    addLongest(*t, "owner_rooms",
               {{"room_id", room}, {"owner_id", owner}, {"if_manage", QStringLiteral("是")}});
    addLongest(*t, "member", {{"owner_id", owner}});
    addLongest(*t, "car", {{"owner_id", owner}});
    addLongest(*t, "park", {{"owner_id", owner}});
    // A short row beside each long one.
    t->exec("insert into garden (garden_name, build_high) values ('一号楼', '80')");
    Estate e = t->estate();
    e.addRoom({.id = "1", .building = building, .buildArea = "1"});
    e.linkRoom(owner, "1");
}

void TestGridColumns::cleanup()
{
    delete t;
    t = nullptr;
}

void TestGridColumns::numbersAndCodesShowWhole_data()
{
    QTest::addColumn<ScreenMaker>("make");
    QTest::addColumn<int>("page"); // of the owner detail, or -1
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QStringList>("whole"); // the titles of the columns that always show whole

    const ScreenMaker buildings = [](const ScreenContext& c) { return new BuildingsScreen(c, nullptr); };
    const ScreenMaker rooms = [](const ScreenContext& c) { return new RoomsScreen(c, nullptr); };
    const ScreenMaker detail = [](const ScreenContext& c) { return new OwnerDetailScreen(c, nullptr); };
    QTest::newRow("buildings") << buildings << -1 << "dbgGarden"
                               << QStringList{"序号",     "楼高",   "楼层",    "建筑面积",
                                              "实用面积", "房间数", "竣工日期"};
    QTest::newRow("rooms") << rooms << -1 << "dbgRoom" << QStringList{"房号", "建筑面积", "实用面积", "楼层"};
    QTest::newRow("room links") << detail << 0 << "dbgRelation" << QStringList{"房号"};
    QTest::newRow("members") << detail << 1 << "dbgMember" << QStringList{"序号", "联系电话", "出生日期"};
    QTest::newRow("cars") << detail << 2 << "DBGrid1" << QStringList{"序号", "车牌", "联系电话"};
    QTest::newRow("parking places") << detail << 3 << "DBGrid2" << QStringList{"序号", "车位号"};
}

void TestGridColumns::numbersAndCodesShowWhole()
{
    QFETCH(ScreenMaker, make);
    QFETCH(int, page);
    QFETCH(QString, grid);
    QFETCH(QStringList, whole);

    const std::unique_ptr<QWidget> screen = open(make, *t, page);
    const auto* view = control<QTableView>(screen.get(), grid.toLatin1().constData());
    QVERIFY(view->isVisible());
    const QAbstractItemModel* model = view->model();
    QCOMPARE_GE(model->rowCount(), 1);
    bool longValue = false;
    for (const QString& title : whole) {
        const int column = columnTitled(view, title);
        QVERIFY2(column >= 0 && !view->isColumnHidden(column), qPrintable(title));
        for (int row = 0; row < model->rowCount(); ++row) {
            const CellText text = cellText(view, model->index(row, column));
            QCOMPARE(text.shown, text.whole);
            longValue = longValue || text.whole.size() >= 10;
        }
    }
    QVERIFY(longValue); // the estate's longest values are listed
    QVERIFY(t->messages().texts().isEmpty());
}

void TestGridColumns::aCutTextShowsWholeInItsTooltip()
{
    const ScreenMaker buildings = [](const ScreenContext& c) { return new BuildingsScreen(c, nullptr); };
    const std::unique_ptr<QWidget> screen = open(buildings, *t, -1);
    auto* view = control<QTableView>(screen.get(), "dbgGarden");
    const int developer = columnTitled(view, "开发商");
    const QModelIndex cut = view->model()->index(0, developer);
    const QString value = cut.data().toString();
    QCOMPARE(value, QString(50, u'宽'));
    // The last text takes no more than its share: it is cut.
    QVERIFY(shownText(view, cut).endsWith(u'…'));

    const QPoint at = view->visualRect(cut).center();
    QHelpEvent help(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(view->viewport(), &help);
    QCOMPARE(QToolTip::text(), value);

    // A value shown whole needs no tooltip.
    const QPoint shortAt = view->visualRect(view->model()->index(1, columnTitled(view, "楼高"))).center();
    QHelpEvent none(QEvent::ToolTip, shortAt, view->viewport()->mapToGlobal(shortAt));
    QCoreApplication::sendEvent(view->viewport(), &none);
    QTRY_VERIFY(QToolTip::text().isEmpty());
}

QTEST_MAIN(TestGridColumns)
#include "tst_gridcolumns.moc"
