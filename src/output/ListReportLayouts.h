#pragma once

#include "output/ReportLayout.h"

// The printed lists of the owner register, the arrears list, the payment records
// and the staff list. Each prints the screen's own list as it stands (a
// QueryModelRecordSource over the screen's model) and needs these fields:
//
//  - rptOwner: owner_name, linker, link_tel, credit, bail_money (hundredths), jjlink
//  - rptOwe:   owner_name, sum_should, sum_derate, sum_Payment, owe_money (hundredths)
//  - rptTake:  take_id, type_name, should_pay, derate, payment_real (hundredths),
//              take_date, if_remain
//  - rptEmp:   emp_name, dept_name, school, special, link_tel, home_address
//
// A field the list does not carry prints empty.
namespace reports {

ReportLayout rptOwner(); // 住户信息一览表, with the number of owners and the sum of deposits
ReportLayout rptOwe();   // 住户欠费信息, with the sum owed
ReportLayout rptTake();  // 缴费记录清单, with the sum paid
ReportLayout rptEmp();   // 员工信息一览表

} // namespace reports
