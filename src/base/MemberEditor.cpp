#include "base/MemberEditor.h"

#include "base/Member.h"
#include "gui/WidgetFactory.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

MemberEditor::MemberEditor(const ScreenContext& context, Mode mode, qlonglong ownerId, qlonglong memberId,
                           QWidget* parent)
    : RecordEditor(context, mode, memberId,
                   {"btnSave", QStringLiteral("保存(&A)"), QStringLiteral("保存 &S."), "btnExit",
                    QStringLiteral("退出(&E)")},
                   parent),
      m_ownerId(ownerId)
{
    setObjectName(QStringLiteral("TmemberFrm"));
    setWindowTitle(QStringLiteral("成员信息"));

    m_id = widgets::lineEdit(this, "edtID");
    m_id->setEnabled(false);
    m_name = widgets::lineEdit(this, "edtName", "member", "member_name");
    auto* sexBox = new QGroupBox(this);
    sexBox->setObjectName(QStringLiteral("rdgSex"));
    auto* sexLayout = new QHBoxLayout(sexBox);
    m_sex = new QButtonGroup(this);
    for (const QString& sex : {QStringLiteral("男"), QStringLiteral("女")}) {
        auto* choice = new QRadioButton(sex, sexBox);
        sexLayout->addWidget(choice);
        m_sex->addButton(choice);
    }
    m_sex->buttons().first()->setChecked(true);
    m_duty = widgets::lineEdit(this, "edtDuty", "member", "duty");
    m_tel = widgets::lineEdit(this, "edtConnectTel", "member", "connect_tel");
    m_birthday = widgets::dateEdit(this, "dtpBirthday");
    widgets::setDate(m_birthday, QDate());
    m_degree = widgets::comboBox(this, "cmbDegree",
                                 {QStringLiteral("小学"), QStringLiteral("初中"), QStringLiteral("高中"),
                                  QStringLiteral("中专"), QStringLiteral("大学"), QStringLiteral("研究生"),
                                  QStringLiteral("其它")},
                                 "member", "degree");
    m_polity = widgets::comboBox(this, "cmbPolity",
                                 {QStringLiteral("党员"), QStringLiteral("团员"), QStringLiteral("民主党"),
                                  QStringLiteral("群众"), QStringLiteral("其它")},
                                 "member", "polity");
    editors().add({m_name, sexBox, m_duty, m_tel, m_birthday, m_degree, m_polity});

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("序号"), m_id);
    form->addRow(QStringLiteral("姓名"), m_name);
    form->addRow(QStringLiteral("性别"), sexBox);
    form->addRow(QStringLiteral("职称"), m_duty);
    form->addRow(QStringLiteral("联系电话"), m_tel);
    form->addRow(QStringLiteral("出生日期"), m_birthday);
    form->addRow(QStringLiteral("文化程度"), m_degree);
    form->addRow(QStringLiteral("政治面貌"), m_polity);
    body()->addLayout(form);
    begin();
}

void MemberEditor::load()
{
    run([&] {
        const std::optional<Member> m = member_store::load(db(), key().toLongLong());
        if (!m)
            return;
        m_id->setText(QString::number(m->id));
        m_name->setText(m->name);
        m_sex->buttons().at(m->sex == QStringLiteral("男") ? 0 : 1)->setChecked(true);
        m_duty->setText(m->duty);
        m_tel->setText(m->connectTel);
        widgets::setDate(m_birthday, m->birthday);
        m_degree->setEditText(m->degree);
        m_polity->setEditText(m->polity);
    });
}

std::optional<QVariant> MemberEditor::store()
{
    Member m;
    m.id = mode() == Mode::Modify ? key().toLongLong() : 0;
    m.ownerId = m_ownerId;
    m.name = m_name->text();
    m.sex = m_sex->checkedButton()->text();
    m.duty = m_duty->text();
    m.connectTel = m_tel->text();
    m.birthday = widgets::dateOf(m_birthday);
    m.degree = m_degree->currentText();
    m.polity = m_polity->currentText();
    const Checked<qlonglong> stored = member_store::save(db(), m);
    if (!stored.ok()) {
        refuse(stored.refusal());
        return std::nullopt;
    }
    return stored.value();
}

void MemberEditor::clearForNext()
{
    // Ready for the next member; the sex stays as chosen.
    for (QLineEdit* e : {m_name, m_duty, m_tel})
        e->clear();
    m_degree->setEditText(QString());
    m_polity->setEditText(QString());
    widgets::setDate(m_birthday, context().clock->today());
    m_name->setFocus();
}
