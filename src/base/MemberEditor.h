#pragma once

#include "app/Screen.h"

class QButtonGroup;
class QComboBox;
class QDateEdit;
class QLineEdit;

// The member editor: adds an owner's members one after another, or changes one.
class MemberEditor : public ScreenDialog
{
    Q_OBJECT
public:
    enum class Mode { Add, Modify };

    // Add mode adds members of `ownerId`; modify mode changes member `memberId`.
    MemberEditor(const ScreenContext& context, Mode mode, qlonglong ownerId, qlonglong memberId,
                 QWidget* parent);

Q_SIGNALS:
    void saved(qlonglong memberId);

private:
    void load();
    void save();

    Mode m_mode;
    qlonglong m_ownerId;
    qlonglong m_memberId;
    QLineEdit* m_id;
    QLineEdit* m_name;
    QButtonGroup* m_sex;
    QLineEdit* m_duty;
    QLineEdit* m_tel;
    QDateEdit* m_birthday;
    QComboBox* m_degree;
    QComboBox* m_polity;
};
