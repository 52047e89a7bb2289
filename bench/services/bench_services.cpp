#include "EstateGenerator.h"
#include "ScreenBenchmarks.h"
#include "core/Clock.h"
#include "db/DatabaseFile.h"
#include "db/Sql.h"
#include "services/CustomerServiceScreen.h"

#include <QApplication>
#include <QListView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kRecords = 100000; // of each kind, spread over the owners

// The standard estate with the customer-service records of years, made once for the run.
struct Estate
{
    Estate()
    {
        const QString path = dir.filePath(QStringLiteral("pelm.mdb"));
        database_file::create(path);
        QString error;
        context.db = database_file::open(path, QStringLiteral("bench"), &error);
        generateEstate(context.db);
        Transaction transaction(context.db);
        const QVariantList values{kRecords,
                                  sql::scalar(context.db, QStringLiteral("select count(*) from owner_info"))};
        const QString numbers =
            QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n "
                           "where i < ?) ");
        sql::exec(context.db,
                  QStringLiteral("insert into service (owner_id, contents, worker, start_time, finish_time, "
                                 "material_money, serve_money, need_material, owner_check, if_take) ") +
                      numbers +
                      QStringLiteral("select i % ? + 1, '更换灯管两支，检查线路', '张师傅', "
                                     "'2025-03-14 09:00:00', '2025-03-14 11:30:00', 1250, 3000, '灯管', "
                                     "'满意', '是' from n"),
                  values);
        sql::exec(
            context.db,
            QStringLiteral("insert into advice (owner_id, advice_name, advice_type, advice_time, serve_name, "
                           "revert, revert_type, satisfy, advice_content, deal_content) ") +
                numbers +
                QStringLiteral("select i % ? + 1, '夜间噪音', '环境', '2025-03-14', '刘经理', '陈', "
                               "'电话', '一般', '楼上夜间施工', '已协调' from n"),
            values);
        sql::exec(
            context.db,
            QStringLiteral("insert into fitment (owner_id, start_date, end_date, company_name, licence, "
                           "fit_tel, address, checker, fit_content) ") +
                numbers +
                QStringLiteral(
                    "select cast(i % ? + 1 as text), '2025-03-01', '2025-05-31', '华美装饰工程公司', "
                    "'L-2025-001', '0755-26543210', '一号楼1001', '钱', '吊顶及墙面' from n"),
            values);
        transaction.commit();
        context.messages = &messages;
        context.clock = &Clock::system();
        context.canWrite = true;
    }

    QTemporaryDir dir;
    SilentMessages messages;
    ScreenContext context;
};

Estate& estate()
{
    static Estate e;
    return e;
}

void BM_OpenCustomerService(benchmark::State& state)
{
    for (auto _ : state) {
        CustomerServiceScreen screen(estate().context);
        screen.show();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_OpenCustomerService)->Unit(benchmark::kMillisecond);

// Choosing another owner lists that owner's jobs, complaints and permits.
void BM_SwitchOwner(benchmark::State& state)
{
    CustomerServiceScreen screen(estate().context);
    screen.show();
    QCoreApplication::processEvents();
    auto* owners = screen.findChild<QListView*>(QStringLiteral("lstOwner"));
    int row = 0;
    for (auto _ : state) {
        row = (row + 37) % owners->model()->rowCount();
        owners->setCurrentIndex(owners->model()->index(row, 1));
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_SwitchOwner)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return runScreenBenchmarks(argc, argv, [] { estate(); });
}
