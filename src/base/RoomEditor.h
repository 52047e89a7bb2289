#pragma once

#include "app/Screen.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The room editor: adds rooms of one building one after another, or changes a
// room, its number included.
class RoomEditor : public ScreenDialog
{
    Q_OBJECT
public:
    enum class Mode { Add, Modify };

    // Modify mode shows and changes `roomId`; add mode starts with `buildingName`.
    RoomEditor(const ScreenContext& context, Mode mode, const QString& roomId, const QString& buildingName,
               QWidget* parent);

Q_SIGNALS:
    // A room was stored under this number.
    void saved(const QString& roomId);

private:
    void load();
    void save();
    QList<QLineEdit*> clearedEditors() const;

    Mode m_mode;
    QString m_roomId; // the number the room had when loaded
    QLineEdit* m_id;
    QComboBox* m_building;
    QComboBox* m_useState;
    QLineEdit* m_buildArea;
    QLineEdit* m_useArea;
    QLineEdit* m_roomType;
    QLineEdit* m_direct;
    QLineEdit* m_floor;
    QLineEdit* m_fitment;
    QLineEdit* m_match;
    QPlainTextEdit* m_remarks;
};
