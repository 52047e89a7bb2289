#pragma once

#include "gui/ListScreen.h"

// The members (family or staff) of an owner, entered through the member editor.
class MembersPage : public ListScreen
{
    Q_OBJECT
public:
    explicit MembersPage(const ScreenContext& context, QWidget* parent = nullptr);
    void setOwner(qlonglong ownerId);

protected:
    ListQuery listQuery() const override;
    RecordEditor* makeEditor(RecordEditor::Mode mode, const QVariant& key) override;
    Checked<> removeRecord(const QVariant& key) override;

private:
    qlonglong m_ownerId = 0;
};
