#include "admin/MeetingsScreen.h"

#include "admin/Meeting.h"
#include "db/LabelledColumns.h"
#include "db/QueryListModel.h"
#include "gui/EditorSet.h"
#include "gui/RowForm.h"
#include "gui/WidgetFactory.h"
#include "output/SpreadsheetExport.h"
#include "output/StatementRecordSource.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

MeetingsScreen::MeetingsScreen(const ScreenContext& context, QWidget* parent) : Screen(context, parent)
{
    setObjectName(QStringLiteral("TmeetFrm"));
    setWindowTitle(QStringLiteral("会议记录"));
    resize(820, 500);

    using K = ListColumn::Kind;
    m_meetings = new QueryListModel(QList<ListColumn>{{QStringLiteral("id"), QString(), K::Number}} +
                                        labelledColumns("meet", {{"title"}, {"take_date", K::Date}}),
                                    this);
    m_grid = widgets::grid(this, "DBGrid1", m_meetings);
    m_grid->setMaximumWidth(280);

    // One caption and box a row.
    m_fields.text("title", "dbeTitle", &Meeting::title)
        .endsRow()
        .text("take_man", "DBEdit2", &Meeting::takeMan)
        .endsRow()
        .date("take_date", "dtpTakeDate", &Meeting::takeDate)
        .caption(QStringLiteral("会议日期"))
        .endsRow()
        .text("take_people", "DBEdit4", &Meeting::takePeople)
        .endsRow()
        .memo("contents", "DBMemo1", &Meeting::contents);
    m_editors = new EditorSet(this);
    QGridLayout* form = m_fields.build(this, m_editors);
    m_editors->setReadOnly(!canWrite()); // browsing never writes
    m_fields.box("take_date")->setEnabled(canWrite());

    auto* add = widgets::button(this, "btnAdd", QStringLiteral("增加 &a"));
    auto* save = widgets::button(this, "btnSave", QStringLiteral("保存 &s."));
    auto* remove = widgets::button(this, "btnDel", QStringLiteral("删除 &d."));
    auto* excel = widgets::button(this, "Btnexcela", QStringLiteral("Excel"));
    auto* exit = widgets::button(this, "BitBtn1", QStringLiteral("退出 &e."));
    for (QPushButton* b : {add, save, remove})
        b->setEnabled(canWrite());
    auto* right = new QVBoxLayout;
    right->addLayout(form);
    right->addLayout(widgets::buttonRow({add, save, remove, excel, exit}));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addLayout(right, 1);

    m_form = new RowForm(context, m_grid, m_meetings, QStringLiteral("id"),
                         {[] { return meeting_store::list(); }, [this](int row) { showMeeting(row); },
                          [this] { return m_editors->isModified(); }, [this] { return storeMeeting(); }});
    connect(add, &QPushButton::clicked, this, [this] {
        if (m_form->addNewRow())
            m_fields.box("title")->setFocus();
    });
    connect(save, &QPushButton::clicked, this, [this] {
        // Save refuses a meeting without a topic even when nothing was typed.
        const Checked<Meeting> checked = meeting_store::check(typedMeeting());
        if (!checked.ok()) {
            refuse(checked.refusal());
            return;
        }
        m_form->storeAndReload([this] { return QVariant(m_shownId); });
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        const int row = m_form->currentRow();
        if (row < 0 || !canWrite())
            return;
        if (!messages().confirm(QStringLiteral("确实要删除此条记录吗！"), QString(),
                                Messages::Buttons::YesNo))
            return;
        // The question is asked above, as a yes-or-no one.
        m_form->removeCurrent({}, [this](const QVariant& key) {
            meeting_store::remove(db(), key.toLongLong());
            return Done{};
        });
    });
    connect(excel, &QPushButton::clicked, this, &MeetingsScreen::exportMeetings);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    m_form->reload();
}

void MeetingsScreen::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    Screen::keyPressEvent(event);
}

void MeetingsScreen::showMeeting(int row)
{
    Meeting meeting;
    if (m_form->isNewRow(row))
        meeting.takeDate = context().clock->today(); // a new meeting is held today
    else if (row >= 0)
        run([&] {
            meeting = meeting_store::load(db(), m_form->keyAt(row).toLongLong()).value_or(Meeting{});
        });
    const EditorSet::Loading loading(*m_editors);
    m_shownId = meeting.id;
    m_fields.show(meeting);
    // A new meeting is stored with its date even when nothing else was typed.
    m_editors->setModified(false);
}

Meeting MeetingsScreen::typedMeeting() const
{
    Meeting meeting = m_fields.read();
    meeting.id = m_shownId;
    return meeting;
}

bool MeetingsScreen::storeMeeting()
{
    if (!canWrite())
        return true;
    const Meeting meeting = typedMeeting();
    if (meeting.id == 0 && !m_editors->isModified() && meeting.title.trimmed().isEmpty())
        return true; // a new meeting nobody typed into: nothing to keep
    // Whatever was typed stays to be named: a refused meeting keeps the operator on it.
    const Checked<qlonglong> saved = meeting_store::save(db(), meeting);
    if (!saved.ok()) {
        refuse(saved.refusal());
        return false;
    }
    m_shownId = saved.value();
    m_editors->setModified(false);
    return true;
}

void MeetingsScreen::exportMeetings()
{
    if (!m_form->storeIfModified())
        return;
    StatementRecordSource rows(db(), meeting_store::list());
    // After the export the list stands on its last meeting.
    if (exportList(context(), meeting_store::exported(), rows, this))
        widgets::selectRow(m_grid, m_meetings->rowCount() - 1);
}
