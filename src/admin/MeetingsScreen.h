#pragma once

#include "admin/Meeting.h"
#include "gui/FormFields.h"
#include "gui/Screen.h"

class EditorSet;
class QTableView;
class QueryListModel;
class RowForm;

// The minutes of the office's meetings, edited where they are listed; the list
// exports to a workbook.
class MeetingsScreen : public Screen
{
    Q_OBJECT
public:
    explicit MeetingsScreen(const ScreenContext& context, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showMeeting(int row);
    // The meeting as its boxes hold it.
    Meeting typedMeeting() const;
    bool storeMeeting();
    void exportMeetings();

    QueryListModel* m_meetings;
    QTableView* m_grid;
    RowForm* m_form;
    EditorSet* m_editors;
    FormFields<Meeting> m_fields{"meet"};
    qlonglong m_shownId = 0;
};
