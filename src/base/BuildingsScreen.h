#pragma once

#include "gui/ListScreen.h"

// The register of buildings: a list, the building editor, and a delete that is
// refused while the building has rooms.
class BuildingsScreen : public ListScreen
{
    Q_OBJECT
public:
    explicit BuildingsScreen(const ScreenContext& context, QWidget* parent = nullptr);

protected:
    ListQuery listQuery() const override;
    RecordEditor* makeEditor(RecordEditor::Mode mode, const QVariant& key) override;
    Checked<> removeRecord(const QVariant& key) override;
};
