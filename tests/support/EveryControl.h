#pragma once

#include "db/Schema.h"
#include "db/Sql.h"
#include "support/TestDatabase.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QWidget>

// For tests that an operator who may only browse stores nothing, whatever they do
// to a screen.

// The whole content of every table of the schema, as text: equal before and
// after when nothing was stored, changed or deleted.
inline QString contents(TestDatabase* t)
{
    QString all;
    for (const schema::Table& table : schema::tables()) {
        all += QLatin1String(table.name) + u'\n';
        QSqlQuery rows = sql::select(t->db(), u"select * from " + QLatin1String(table.name) + u" order by 1");
        while (rows.next()) {
            for (int i = 0; i < rows.record().count(); ++i) {
                const QVariant value = rows.value(i);
                all += (value.isNull() ? QStringLiteral("<null>") : value.toString()) + u'\t';
            }
            all += u'\n';
        }
    }
    return all;
}

// What an operator can do to the boxes and buttons in view: type into every box,
// press Enter in every one-line box, click every button but the close buttons.
inline void workEveryControl(QWidget* s)
{
    QList<QLineEdit*> lines;
    for (QLineEdit* line : s->findChildren<QLineEdit*>()) {
        if (!qobject_cast<QAbstractSpinBox*>(line->parentWidget()) &&
            !qobject_cast<QComboBox*>(line->parentWidget()))
            lines << line;
    }
    for (QLineEdit* line : lines) {
        line->setText("改过");
        emit line->textEdited("改过");
    }
    for (QPlainTextEdit* memo : s->findChildren<QPlainTextEdit*>())
        memo->setPlainText("改过");
    for (QDateTimeEdit* date : s->findChildren<QDateTimeEdit*>())
        date->setDateTime(date->dateTime().addDays(3));
    for (QComboBox* box : s->findChildren<QComboBox*>())
        box->setCurrentIndex(box->count() - 1);
    for (QLineEdit* line : lines)
        QTest::keyClick(line, Qt::Key_Return);
    for (QPushButton* button : s->findChildren<QPushButton*>()) {
        if (!button->text().startsWith("退出"))
            button->click();
    }
    QCoreApplication::processEvents();
}
