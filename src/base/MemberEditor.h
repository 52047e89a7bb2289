#pragma once

#include "gui/RecordEditor.h"

class QButtonGroup;
class QComboBox;
class QDateEdit;
class QLineEdit;

// The member editor: adds an owner's members one after another, or changes one.
class MemberEditor : public RecordEditor
{
    Q_OBJECT
public:
    // Add mode adds members of `ownerId`; modify mode changes member `memberId`.
    MemberEditor(const ScreenContext& context, Mode mode, qlonglong ownerId, qlonglong memberId,
                 QWidget* parent);

protected:
    void load() override;
    std::optional<QVariant> store() override;
    void clearForNext() override;

private:
    qlonglong m_ownerId;
    QLineEdit* m_id;
    QLineEdit* m_name;
    QButtonGroup* m_sex;
    QLineEdit* m_duty;
    QLineEdit* m_tel;
    QDateEdit* m_birthday;
    QComboBox* m_degree;
    QComboBox* m_polity;
};
