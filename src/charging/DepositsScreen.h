#pragma once

#include "gui/Screen.h"

class OwnerPicker;
class QLineEdit;
class QPushButton;

// The deposit each owner has lodged: one amount per owner, overwritten by Save.
class DepositsScreen : public Screen
{
    Q_OBJECT
public:
    explicit DepositsScreen(const ScreenContext& context, QWidget* parent = nullptr);

private:
    void showOwner(qlonglong ownerId);
    void save();

    OwnerPicker* m_owners;
    QLineEdit* m_name;
    QLineEdit* m_linker;
    QLineEdit* m_tel;
    QLineEdit* m_amount;
    QPushButton* m_save;
    qlonglong m_ownerId = 0;
};
