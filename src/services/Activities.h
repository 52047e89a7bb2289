#pragma once

#include "core/Checked.h"
#include "db/ListQuery.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// The activities the office organises for the occupants (table community): the
// name, who organises it, how it was announced, its days, who is in charge, the
// budget and how it was raised, who took part, how it went and remarks. Every
// function throws DbError.
struct CommunityActivity
{
    qlonglong id = 0;
    QString name = {};
    QString mainDept = {};
    QString secondDept = {};
    QString affiche = {}; // how it was announced
    QDate startDate = {};
    QDate endDate = {};
    QString chargeMan = {};
    QString ployMoney = {}; // the budget, a text
    QString moneyTake = {}; // how the budget was raised
    QString takePeople = {};
    QString circs = {}; // how it went
    QString remark = {};
};

namespace activity_store {

// Every activity in the order they were entered, every column.
ListQuery list();
std::optional<CommunityActivity> load(const QSqlDatabase& db, qlonglong id);
qlonglong insert(const QSqlDatabase& db, CommunityActivity activity);
void update(const QSqlDatabase& db, const CommunityActivity& activity);
void remove(const QSqlDatabase& db, qlonglong id);

// Stores a new activity (id 0) or the activity shown once it is named; every
// text, the two long ones too, is stored trimmed. The days are stored as given:
// nothing compares the end with the start.
Checked<qlonglong> save(const QSqlDatabase& db, CommunityActivity activity);

} // namespace activity_store
