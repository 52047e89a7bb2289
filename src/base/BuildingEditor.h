#pragma once

#include "gui/RecordEditor.h"

class QDateEdit;
class QLineEdit;
class QPlainTextEdit;

// The building editor: adds buildings one after another, or changes one.
class BuildingEditor : public RecordEditor
{
    Q_OBJECT
public:
    // In modify mode `id` is the building shown and changed.
    BuildingEditor(const ScreenContext& context, Mode mode, qlonglong id, QWidget* parent);

protected:
    void load() override;
    std::optional<QVariant> store() override;
    void clearForNext() override;

private:
    QLineEdit* m_name;
    QLineEdit* m_height;
    QLineEdit* m_floors;
    QLineEdit* m_structure;
    QLineEdit* m_buildArea;
    QLineEdit* m_useArea;
    QLineEdit* m_roomsNum;
    QDateEdit* m_finishDate;
    QLineEdit* m_builder;
    QLineEdit* m_developer;
    QPlainTextEdit* m_remarks;
};
