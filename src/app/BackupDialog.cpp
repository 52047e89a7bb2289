#include "app/BackupDialog.h"

#include "db/DatabaseBackup.h"

#include <QFileInfo>
#include <QProgressDialog>

BackupDialog::BackupDialog(const ScreenContext& context, QWidget* parent)
    : QFileDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("dlgBackup"));
    setWindowTitle(QStringLiteral("数据备份"));
    // Qt's own dialog: the same on every desktop, and found by tests as a child.
    setOption(QFileDialog::DontUseNativeDialog);
    // A file that exists is refused by the backup itself, which never overwrites.
    setOption(QFileDialog::DontConfirmOverwrite);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setNameFilters({QStringLiteral("数据库备份 (*.mdb)"), QStringLiteral("所有文件 (*)")});
    setDefaultSuffix(QStringLiteral("mdb"));
    const QFileInfo suggested(database_backup::suggestedName(context.db, context.clock->now()));
    setDirectory(suggested.absolutePath());
    selectFile(suggested.fileName());
    connect(this, &QFileDialog::fileSelected, this, &BackupDialog::backUpTo);
}

void BackupDialog::backUpTo(const QString& target)
{
    QWidget* owner = parentWidget() ? parentWidget() : this;
    QProgressDialog progress(QStringLiteral("正在备份数据库……"), QStringLiteral("取消"), 0, 100, owner);
    progress.setObjectName(QStringLiteral("prgBackup"));
    progress.setWindowTitle(QStringLiteral("数据备份"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    const database_backup::Result result =
        database_backup::backup(m_context.db, target, [&progress](qint64 copied, qint64 total) {
            progress.setValue(total > 0 ? static_cast<int>(copied * 100 / total) : 0);
            return !progress.wasCanceled();
        });
    progress.close();
    if (result.outcome == database_backup::Result::Outcome::Refused)
        m_context.messages->error(result.message, QStringLiteral("数据备份"));
    else
        m_context.messages->information(result.message, QStringLiteral("数据备份"));
}
