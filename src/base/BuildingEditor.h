#pragma once

#include "app/Screen.h"

class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The building editor: adds buildings one after another, or changes one.
class BuildingEditor : public ScreenDialog
{
    Q_OBJECT
public:
    enum class Mode { Add, Modify };

    // In Modify mode `id` is the building shown and changed.
    BuildingEditor(const ScreenContext& context, Mode mode, qlonglong id, QWidget* parent);

Q_SIGNALS:
    // A building was stored; the list shows it.
    void saved(qlonglong id);

private:
    void load();
    void save();
    void clearForNext();

    Mode m_mode;
    qlonglong m_id;
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
    QPushButton* m_save;
};
