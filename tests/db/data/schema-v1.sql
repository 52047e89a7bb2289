-- The schema of a version-1 pelm.mdb, as pelm --init-db made it. Kept to test
-- the upgrade from version 1; never changed.

CREATE TABLE "operator" (
    "op_code" TEXT PRIMARY KEY NOT NULL COLLATE RTRIM CONSTRAINT "operator.op_code.length" CHECK ("op_code" IS NULL OR (typeof("op_code") = 'text' AND length("op_code") <= 6)) CONSTRAINT "operator.op_code.blank" CHECK ("op_code" IS NULL OR (length(trim("op_code")) > 0)),
    "op_name" TEXT COLLATE RTRIM CONSTRAINT "operator.op_name.length" CHECK ("op_name" IS NULL OR (typeof("op_name") = 'text' AND length("op_name") <= 8)),
    "PassWord" TEXT COLLATE RTRIM CONSTRAINT "operator.PassWord.length" CHECK ("PassWord" IS NULL OR (typeof("PassWord") = 'text' AND length("PassWord") <= 128)),
    "group_name" TEXT COLLATE RTRIM CONSTRAINT "operator.group_name.length" CHECK ("group_name" IS NULL OR (typeof("group_name") = 'text' AND length("group_name") <= 16)),
    "PopeBase" TEXT COLLATE RTRIM CONSTRAINT "operator.PopeBase.length" CHECK ("PopeBase" IS NULL OR (typeof("PopeBase") = 'text' AND length("PopeBase") <= 20)),
    "PopeAdmin" TEXT COLLATE RTRIM CONSTRAINT "operator.PopeAdmin.length" CHECK ("PopeAdmin" IS NULL OR (typeof("PopeAdmin") = 'text' AND length("PopeAdmin") <= 20)),
    "PopeCharge" TEXT COLLATE RTRIM CONSTRAINT "operator.PopeCharge.length" CHECK ("PopeCharge" IS NULL OR (typeof("PopeCharge") = 'text' AND length("PopeCharge") <= 20)),
    "popeManage" TEXT COLLATE RTRIM CONSTRAINT "operator.popeManage.length" CHECK ("popeManage" IS NULL OR (typeof("popeManage") = 'text' AND length("popeManage") <= 20)),
    "popeQuery" TEXT COLLATE RTRIM CONSTRAINT "operator.popeQuery.length" CHECK ("popeQuery" IS NULL OR (typeof("popeQuery") = 'text' AND length("popeQuery") <= 20)),
    "popePara" TEXT COLLATE RTRIM CONSTRAINT "operator.popePara.length" CHECK ("popePara" IS NULL OR (typeof("popePara") = 'text' AND length("popePara") <= 20))
);

CREATE TABLE "garden" (
    "garden_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "garden_name" TEXT COLLATE RTRIM CONSTRAINT "garden.garden_name.length" CHECK ("garden_name" IS NULL OR (typeof("garden_name") = 'text' AND length("garden_name") <= 30)),
    "developer" TEXT COLLATE RTRIM CONSTRAINT "garden.developer.length" CHECK ("developer" IS NULL OR (typeof("developer") = 'text' AND length("developer") <= 50)),
    "builder" TEXT COLLATE RTRIM CONSTRAINT "garden.builder.length" CHECK ("builder" IS NULL OR (typeof("builder") = 'text' AND length("builder") <= 50)),
    "build_high" TEXT COLLATE RTRIM CONSTRAINT "garden.build_high.length" CHECK ("build_high" IS NULL OR (typeof("build_high") = 'text' AND length("build_high") <= 16)),
    "build_floor" TEXT COLLATE RTRIM CONSTRAINT "garden.build_floor.length" CHECK ("build_floor" IS NULL OR (typeof("build_floor") = 'text' AND length("build_floor") <= 16)),
    "structure" TEXT COLLATE RTRIM CONSTRAINT "garden.structure.length" CHECK ("structure" IS NULL OR (typeof("structure") = 'text' AND length("structure") <= 20)),
    "build_area" INTEGER CONSTRAINT "garden.build_area.number" CHECK ("build_area" IS NULL OR (typeof("build_area") = 'integer')) CONSTRAINT "garden.build_area.range" CHECK ("build_area" IS NULL OR (abs("build_area") < 10000000000)),
    "use_area" INTEGER CONSTRAINT "garden.use_area.number" CHECK ("use_area" IS NULL OR (typeof("use_area") = 'integer')) CONSTRAINT "garden.use_area.range" CHECK ("use_area" IS NULL OR (abs("use_area") < 10000000000)),
    "rooms_num" INTEGER CONSTRAINT "garden.rooms_num.number" CHECK ("rooms_num" IS NULL OR (typeof("rooms_num") = 'integer')) CONSTRAINT "garden.rooms_num.range" CHECK ("rooms_num" IS NULL OR ("rooms_num" BETWEEN -2147483648 AND 2147483647)),
    "finish_date" TEXT CONSTRAINT "garden.finish_date.date" CHECK ("finish_date" IS NULL OR ("finish_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR "finish_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')),
    "remarks" TEXT COLLATE RTRIM CONSTRAINT "garden.remarks.length" CHECK ("remarks" IS NULL OR (typeof("remarks") = 'text' AND length("remarks") <= 100))
);

CREATE TABLE "rooms_info" (
    "room_id" TEXT PRIMARY KEY NOT NULL COLLATE RTRIM CONSTRAINT "rooms_info.room_id.length" CHECK ("room_id" IS NULL OR (typeof("room_id") = 'text' AND length("room_id") <= 10)) CONSTRAINT "rooms_info.room_id.blank" CHECK ("room_id" IS NULL OR (length(trim("room_id")) > 0)),
    "garden_id" INTEGER CONSTRAINT "rooms_info.garden_id.number" CHECK ("garden_id" IS NULL OR (typeof("garden_id") = 'integer')) CONSTRAINT "rooms_info.garden_id.range" CHECK ("garden_id" IS NULL OR ("garden_id" BETWEEN -2147483648 AND 2147483647)),
    "build_area" INTEGER CONSTRAINT "rooms_info.build_area.number" CHECK ("build_area" IS NULL OR (typeof("build_area") = 'integer')) CONSTRAINT "rooms_info.build_area.range" CHECK ("build_area" IS NULL OR (abs("build_area") < 10000000)),
    "use_area" INTEGER CONSTRAINT "rooms_info.use_area.number" CHECK ("use_area" IS NULL OR (typeof("use_area") = 'integer')) CONSTRAINT "rooms_info.use_area.range" CHECK ("use_area" IS NULL OR (abs("use_area") < 10000000)),
    "use_state" TEXT COLLATE RTRIM CONSTRAINT "rooms_info.use_state.length" CHECK ("use_state" IS NULL OR (typeof("use_state") = 'text' AND length("use_state") <= 10)),
    "room_type" TEXT COLLATE RTRIM CONSTRAINT "rooms_info.room_type.length" CHECK ("room_type" IS NULL OR (typeof("room_type") = 'text' AND length("room_type") <= 30)),
    "direct" TEXT COLLATE RTRIM CONSTRAINT "rooms_info.direct.length" CHECK ("direct" IS NULL OR (typeof("direct") = 'text' AND length("direct") <= 20)),
    "floor" TEXT COLLATE RTRIM CONSTRAINT "rooms_info.floor.length" CHECK ("floor" IS NULL OR (typeof("floor") = 'text' AND length("floor") <= 10)),
    "fitment" TEXT COLLATE RTRIM CONSTRAINT "rooms_info.fitment.length" CHECK ("fitment" IS NULL OR (typeof("fitment") = 'text' AND length("fitment") <= 60)),
    "match" TEXT COLLATE RTRIM CONSTRAINT "rooms_info.match.length" CHECK ("match" IS NULL OR (typeof("match") = 'text' AND length("match") <= 60)),
    "remarks" TEXT COLLATE RTRIM CONSTRAINT "rooms_info.remarks.length" CHECK ("remarks" IS NULL OR (typeof("remarks") = 'text' AND length("remarks") <= 100))
);

CREATE TABLE "owner_info" (
    "owner_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "owner_name" TEXT COLLATE RTRIM CONSTRAINT "owner_info.owner_name.length" CHECK ("owner_name" IS NULL OR (typeof("owner_name") = 'text' AND length("owner_name") <= 100)),
    "paper_name" TEXT COLLATE RTRIM CONSTRAINT "owner_info.paper_name.length" CHECK ("paper_name" IS NULL OR (typeof("paper_name") = 'text' AND length("paper_name") <= 30)),
    "paper_id" TEXT COLLATE RTRIM CONSTRAINT "owner_info.paper_id.length" CHECK ("paper_id" IS NULL OR (typeof("paper_id") = 'text' AND length("paper_id") <= 30)),
    "linker" TEXT COLLATE RTRIM CONSTRAINT "owner_info.linker.length" CHECK ("linker" IS NULL OR (typeof("linker") = 'text' AND length("linker") <= 8)),
    "link_tel" TEXT COLLATE RTRIM CONSTRAINT "owner_info.link_tel.length" CHECK ("link_tel" IS NULL OR (typeof("link_tel") = 'text' AND length("link_tel") <= 30)),
    "work_time" TEXT COLLATE RTRIM CONSTRAINT "owner_info.work_time.length" CHECK ("work_time" IS NULL OR (typeof("work_time") = 'text' AND length("work_time") <= 50)),
    "fare" TEXT COLLATE RTRIM CONSTRAINT "owner_info.fare.length" CHECK ("fare" IS NULL OR (typeof("fare") = 'text' AND length("fare") <= 100)),
    "credit" TEXT COLLATE RTRIM CONSTRAINT "owner_info.credit.length" CHECK ("credit" IS NULL OR (typeof("credit") = 'text' AND length("credit") <= 6)),
    "jjlink" TEXT COLLATE RTRIM CONSTRAINT "owner_info.jjlink.length" CHECK ("jjlink" IS NULL OR (typeof("jjlink") = 'text' AND length("jjlink") <= 60)),
    "remarks" TEXT COLLATE RTRIM CONSTRAINT "owner_info.remarks.length" CHECK ("remarks" IS NULL OR (typeof("remarks") = 'text' AND length("remarks") <= 100)),
    "in_out" TEXT COLLATE RTRIM CONSTRAINT "owner_info.in_out.length" CHECK ("in_out" IS NULL OR (typeof("in_out") = 'text' AND length("in_out") <= 4)),
    "in_date" TEXT CONSTRAINT "owner_info.in_date.date" CHECK ("in_date" IS NULL OR ("in_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR "in_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')),
    "bail_money" INTEGER CONSTRAINT "owner_info.bail_money.number" CHECK ("bail_money" IS NULL OR (typeof("bail_money") = 'integer')) CONSTRAINT "owner_info.bail_money.range" CHECK ("bail_money" IS NULL OR (abs("bail_money") < 10000000000)),
    "charge_man" TEXT COLLATE RTRIM CONSTRAINT "owner_info.charge_man.length" CHECK ("charge_man" IS NULL OR (typeof("charge_man") = 'text' AND length("charge_man") <= 8)),
    "charge_tel" TEXT COLLATE RTRIM CONSTRAINT "owner_info.charge_tel.length" CHECK ("charge_tel" IS NULL OR (typeof("charge_tel") = 'text' AND length("charge_tel") <= 30))
);

CREATE TABLE "owner_rooms" (
    "ownerroom_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "room_id" TEXT COLLATE RTRIM CONSTRAINT "owner_rooms.room_id.length" CHECK ("room_id" IS NULL OR (typeof("room_id") = 'text' AND length("room_id") <= 10)),
    "owner_id" INTEGER CONSTRAINT "owner_rooms.owner_id.number" CHECK ("owner_id" IS NULL OR (typeof("owner_id") = 'integer')) CONSTRAINT "owner_rooms.owner_id.range" CHECK ("owner_id" IS NULL OR ("owner_id" BETWEEN -2147483648 AND 2147483647)),
    "relation_desc" TEXT COLLATE RTRIM CONSTRAINT "owner_rooms.relation_desc.length" CHECK ("relation_desc" IS NULL OR (typeof("relation_desc") = 'text' AND length("relation_desc") <= 100)),
    "if_manage" TEXT COLLATE RTRIM DEFAULT '是' CONSTRAINT "owner_rooms.if_manage.length" CHECK ("if_manage" IS NULL OR (typeof("if_manage") = 'text' AND length("if_manage") <= 2))
);

CREATE TABLE "member" (
    "member_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "owner_id" INTEGER CONSTRAINT "member.owner_id.number" CHECK ("owner_id" IS NULL OR (typeof("owner_id") = 'integer')) CONSTRAINT "member.owner_id.range" CHECK ("owner_id" IS NULL OR ("owner_id" BETWEEN -2147483648 AND 2147483647)),
    "member_name" TEXT COLLATE RTRIM CONSTRAINT "member.member_name.length" CHECK ("member_name" IS NULL OR (typeof("member_name") = 'text' AND length("member_name") <= 8)),
    "sex" TEXT COLLATE RTRIM CONSTRAINT "member.sex.length" CHECK ("sex" IS NULL OR (typeof("sex") = 'text' AND length("sex") <= 2)),
    "duty" TEXT COLLATE RTRIM CONSTRAINT "member.duty.length" CHECK ("duty" IS NULL OR (typeof("duty") = 'text' AND length("duty") <= 12)),
    "connect_tel" TEXT COLLATE RTRIM CONSTRAINT "member.connect_tel.length" CHECK ("connect_tel" IS NULL OR (typeof("connect_tel") = 'text' AND length("connect_tel") <= 26)),
    "birthday" TEXT CONSTRAINT "member.birthday.date" CHECK ("birthday" IS NULL OR ("birthday" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR "birthday" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')),
    "degree" TEXT COLLATE RTRIM CONSTRAINT "member.degree.length" CHECK ("degree" IS NULL OR (typeof("degree") = 'text' AND length("degree") <= 10)),
    "polity" TEXT COLLATE RTRIM CONSTRAINT "member.polity.length" CHECK ("polity" IS NULL OR (typeof("polity") = 'text' AND length("polity") <= 10)),
    "work_dept" TEXT COLLATE RTRIM CONSTRAINT "member.work_dept.length" CHECK ("work_dept" IS NULL OR (typeof("work_dept") = 'text' AND length("work_dept") <= 30))
);

CREATE TABLE "car" (
    "car_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "owner_id" INTEGER CONSTRAINT "car.owner_id.number" CHECK ("owner_id" IS NULL OR (typeof("owner_id") = 'integer')) CONSTRAINT "car.owner_id.range" CHECK ("owner_id" IS NULL OR ("owner_id" BETWEEN -2147483648 AND 2147483647)),
    "car_no" TEXT COLLATE RTRIM CONSTRAINT "car.car_no.length" CHECK ("car_no" IS NULL OR (typeof("car_no") = 'text' AND length("car_no") <= 20)),
    "car_type" TEXT COLLATE RTRIM CONSTRAINT "car.car_type.length" CHECK ("car_type" IS NULL OR (typeof("car_type") = 'text' AND length("car_type") <= 12)),
    "car_color" TEXT COLLATE RTRIM CONSTRAINT "car.car_color.length" CHECK ("car_color" IS NULL OR (typeof("car_color") = 'text' AND length("car_color") <= 8)),
    "driver" TEXT COLLATE RTRIM CONSTRAINT "car.driver.length" CHECK ("driver" IS NULL OR (typeof("driver") = 'text' AND length("driver") <= 8)),
    "link_tel" TEXT COLLATE RTRIM CONSTRAINT "car.link_tel.length" CHECK ("link_tel" IS NULL OR (typeof("link_tel") = 'text' AND length("link_tel") <= 25)),
    "remark" TEXT COLLATE RTRIM CONSTRAINT "car.remark.length" CHECK ("remark" IS NULL OR (typeof("remark") = 'text' AND length("remark") <= 200))
);

CREATE TABLE "park" (
    "park_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "owner_id" INTEGER CONSTRAINT "park.owner_id.number" CHECK ("owner_id" IS NULL OR (typeof("owner_id") = 'integer')) CONSTRAINT "park.owner_id.range" CHECK ("owner_id" IS NULL OR ("owner_id" BETWEEN -2147483648 AND 2147483647)),
    "park_no" TEXT COLLATE RTRIM CONSTRAINT "park.park_no.length" CHECK ("park_no" IS NULL OR (typeof("park_no") = 'text' AND length("park_no") <= 10)),
    "lend_type" TEXT COLLATE RTRIM CONSTRAINT "park.lend_type.length" CHECK ("lend_type" IS NULL OR (typeof("lend_type") = 'text' AND length("lend_type") <= 8)),
    "palace" TEXT COLLATE RTRIM CONSTRAINT "park.palace.length" CHECK ("palace" IS NULL OR (typeof("palace") = 'text' AND length("palace") <= 60)),
    "remark" TEXT COLLATE RTRIM CONSTRAINT "park.remark.length" CHECK ("remark" IS NULL OR (typeof("remark") = 'text' AND length("remark") <= 200))
);

CREATE TABLE "charge_type" (
    "type_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "type_name" TEXT COLLATE RTRIM CONSTRAINT "charge_type.type_name.length" CHECK ("type_name" IS NULL OR (typeof("type_name") = 'text' AND length("type_name") <= 20)),
    "unit_price" INTEGER CONSTRAINT "charge_type.unit_price.number" CHECK ("unit_price" IS NULL OR (typeof("unit_price") = 'integer')) CONSTRAINT "charge_type.unit_price.range" CHECK ("unit_price" IS NULL OR (abs("unit_price") < 10000000000)),
    "take_type" TEXT COLLATE RTRIM CONSTRAINT "charge_type.take_type.length" CHECK ("take_type" IS NULL OR (typeof("take_type") = 'text' AND length("take_type") <= 30))
);

CREATE TABLE "charge_take" (
    "take_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "owner_id" INTEGER CONSTRAINT "charge_take.owner_id.number" CHECK ("owner_id" IS NULL OR (typeof("owner_id") = 'integer')) CONSTRAINT "charge_take.owner_id.range" CHECK ("owner_id" IS NULL OR ("owner_id" BETWEEN -2147483648 AND 2147483647)),
    "type_id" INTEGER CONSTRAINT "charge_take.type_id.number" CHECK ("type_id" IS NULL OR (typeof("type_id") = 'integer')) CONSTRAINT "charge_take.type_id.range" CHECK ("type_id" IS NULL OR ("type_id" BETWEEN 0 AND 255)),
    "should_pay" INTEGER CONSTRAINT "charge_take.should_pay.number" CHECK ("should_pay" IS NULL OR (typeof("should_pay") = 'integer')) CONSTRAINT "charge_take.should_pay.range" CHECK ("should_pay" IS NULL OR (abs("should_pay") < 10000000000)),
    "delay" INTEGER CONSTRAINT "charge_take.delay.number" CHECK ("delay" IS NULL OR (typeof("delay") = 'integer')) CONSTRAINT "charge_take.delay.range" CHECK ("delay" IS NULL OR (abs("delay") < 10000000000)),
    "derate" INTEGER CONSTRAINT "charge_take.derate.number" CHECK ("derate" IS NULL OR (typeof("derate") = 'integer')) CONSTRAINT "charge_take.derate.range" CHECK ("derate" IS NULL OR (abs("derate") < 10000000000)),
    "payment_real" INTEGER CONSTRAINT "charge_take.payment_real.number" CHECK ("payment_real" IS NULL OR (typeof("payment_real") = 'integer')) CONSTRAINT "charge_take.payment_real.range" CHECK ("payment_real" IS NULL OR (abs("payment_real") < 10000000000)),
    "start_num" TEXT COLLATE RTRIM CONSTRAINT "charge_take.start_num.length" CHECK ("start_num" IS NULL OR (typeof("start_num") = 'text' AND length("start_num") <= 10)),
    "end_num" TEXT COLLATE RTRIM CONSTRAINT "charge_take.end_num.length" CHECK ("end_num" IS NULL OR (typeof("end_num") = 'text' AND length("end_num") <= 10)),
    "pay_mode" TEXT COLLATE RTRIM CONSTRAINT "charge_take.pay_mode.length" CHECK ("pay_mode" IS NULL OR (typeof("pay_mode") = 'text' AND length("pay_mode") <= 12)),
    "take_date" TEXT CONSTRAINT "charge_take.take_date.date" CHECK ("take_date" IS NULL OR ("take_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR "take_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')),
    "write_man" TEXT COLLATE RTRIM CONSTRAINT "charge_take.write_man.length" CHECK ("write_man" IS NULL OR (typeof("write_man") = 'text' AND length("write_man") <= 8)),
    "if_remain" TEXT COLLATE RTRIM CONSTRAINT "charge_take.if_remain.length" CHECK ("if_remain" IS NULL OR (typeof("if_remain") = 'text' AND length("if_remain") <= 2)),
    "if_prep" TEXT COLLATE RTRIM CONSTRAINT "charge_take.if_prep.length" CHECK ("if_prep" IS NULL OR (typeof("if_prep") = 'text' AND length("if_prep") <= 2)),
    "remarks" TEXT COLLATE RTRIM CONSTRAINT "charge_take.remarks.length" CHECK ("remarks" IS NULL OR (typeof("remarks") = 'text' AND length("remarks") <= 200))
);

CREATE TABLE "dev_type" (
    "type_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "type_name" TEXT COLLATE RTRIM CONSTRAINT "dev_type.type_name.length" CHECK ("type_name" IS NULL OR (typeof("type_name") = 'text' AND length("type_name") <= 20))
);

CREATE TABLE "device" (
    "dev_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "type_id" INTEGER CONSTRAINT "device.type_id.number" CHECK ("type_id" IS NULL OR (typeof("type_id") = 'integer')) CONSTRAINT "device.type_id.range" CHECK ("type_id" IS NULL OR ("type_id" BETWEEN -2147483648 AND 2147483647)),
    "dev_no" TEXT COLLATE RTRIM CONSTRAINT "device.dev_no.length" CHECK ("dev_no" IS NULL OR (typeof("dev_no") = 'text' AND length("dev_no") <= 20)),
    "dev_name" TEXT COLLATE RTRIM CONSTRAINT "device.dev_name.length" CHECK ("dev_name" IS NULL OR (typeof("dev_name") = 'text' AND length("dev_name") <= 30)),
    "asset_id" TEXT COLLATE RTRIM CONSTRAINT "device.asset_id.length" CHECK ("asset_id" IS NULL OR (typeof("asset_id") = 'text' AND length("asset_id") <= 20)),
    "factory" TEXT COLLATE RTRIM CONSTRAINT "device.factory.length" CHECK ("factory" IS NULL OR (typeof("factory") = 'text' AND length("factory") <= 30)),
    "factory_date" TEXT CONSTRAINT "device.factory_date.date" CHECK ("factory_date" IS NULL OR ("factory_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR "factory_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')),
    "link_tel" TEXT COLLATE RTRIM CONSTRAINT "device.link_tel.length" CHECK ("link_tel" IS NULL OR (typeof("link_tel") = 'text' AND length("link_tel") <= 25)),
    "palace" TEXT COLLATE RTRIM CONSTRAINT "device.palace.length" CHECK ("palace" IS NULL OR (typeof("palace") = 'text' AND length("palace") <= 50)),
    "voltage" TEXT COLLATE RTRIM CONSTRAINT "device.voltage.length" CHECK ("voltage" IS NULL OR (typeof("voltage") = 'text' AND length("voltage") <= 10)),
    "curr" TEXT COLLATE RTRIM CONSTRAINT "device.curr.length" CHECK ("curr" IS NULL OR (typeof("curr") = 'text' AND length("curr") <= 10)),
    "power" TEXT COLLATE RTRIM CONSTRAINT "device.power.length" CHECK ("power" IS NULL OR (typeof("power") = 'text' AND length("power") <= 10)),
    "use_date" TEXT CONSTRAINT "device.use_date.date" CHECK ("use_date" IS NULL OR ("use_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR "use_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')),
    "old_year" INTEGER CONSTRAINT "device.old_year.number" CHECK ("old_year" IS NULL OR (typeof("old_year") = 'integer')) CONSTRAINT "device.old_year.range" CHECK ("old_year" IS NULL OR ("old_year" BETWEEN -2147483648 AND 2147483647)),
    "remark" TEXT COLLATE RTRIM CONSTRAINT "device.remark.length" CHECK ("remark" IS NULL OR (typeof("remark") = 'text' AND length("remark") <= 200))
);

CREATE TABLE "repair" (
    "repair_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "dev_id" INTEGER CONSTRAINT "repair.dev_id.number" CHECK ("dev_id" IS NULL OR (typeof("dev_id") = 'integer')) CONSTRAINT "repair.dev_id.range" CHECK ("dev_id" IS NULL OR ("dev_id" BETWEEN -2147483648 AND 2147483647)),
    "fault_time" TEXT CONSTRAINT "repair.fault_time.date" CHECK ("fault_time" IS NULL OR ("fault_time" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR "fault_time" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')),
    "fault_desc" TEXT COLLATE RTRIM CONSTRAINT "repair.fault_desc.length" CHECK ("fault_desc" IS NULL OR (typeof("fault_desc") = 'text' AND length("fault_desc") <= 200)),
    "cause" TEXT COLLATE RTRIM CONSTRAINT "repair.cause.length" CHECK ("cause" IS NULL OR (typeof("cause") = 'text' AND length("cause") <= 200)),
    "repair" TEXT COLLATE RTRIM CONSTRAINT "repair.repair.length" CHECK ("repair" IS NULL OR (typeof("repair") = 'text' AND length("repair") <= 8)),
    "repair_time" TEXT CONSTRAINT "repair.repair_time.date" CHECK ("repair_time" IS NULL OR ("repair_time" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR "repair_time" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')),
    "repair_money" INTEGER CONSTRAINT "repair.repair_money.number" CHECK ("repair_money" IS NULL OR (typeof("repair_money") = 'integer')) CONSTRAINT "repair.repair_money.range" CHECK ("repair_money" IS NULL OR (abs("repair_money") < 10000000000)),
    "repair_desc" TEXT COLLATE RTRIM CONSTRAINT "repair.repair_desc.length" CHECK ("repair_desc" IS NULL OR (typeof("repair_desc") = 'text' AND length("repair_desc") <= 200)),
    "result" TEXT COLLATE RTRIM CONSTRAINT "repair.result.length" CHECK ("result" IS NULL OR (typeof("result") = 'text' AND length("result") <= 200)),
    "finish_time" TEXT CONSTRAINT "repair.finish_time.date" CHECK ("finish_time" IS NULL OR ("finish_time" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR "finish_time" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')),
    "remark" TEXT COLLATE RTRIM CONSTRAINT "repair.remark.length" CHECK ("remark" IS NULL OR (typeof("remark") = 'text' AND length("remark") <= 200))
);

CREATE TABLE "department" (
    "dept_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "dept_name" TEXT COLLATE RTRIM CONSTRAINT "department.dept_name.length" CHECK ("dept_name" IS NULL OR (typeof("dept_name") = 'text' AND length("dept_name") <= 30)),
    "manager" TEXT COLLATE RTRIM CONSTRAINT "department.manager.length" CHECK ("manager" IS NULL OR (typeof("manager") = 'text' AND length("manager") <= 8)),
    "sup_deptid" INTEGER CONSTRAINT "department.sup_deptid.number" CHECK ("sup_deptid" IS NULL OR (typeof("sup_deptid") = 'integer')) CONSTRAINT "department.sup_deptid.range" CHECK ("sup_deptid" IS NULL OR ("sup_deptid" BETWEEN -2147483648 AND 2147483647)),
    "duty_desc" TEXT COLLATE RTRIM
);

CREATE TABLE "employee" (
    "emp_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "dept_id" INTEGER CONSTRAINT "employee.dept_id.number" CHECK ("dept_id" IS NULL OR (typeof("dept_id") = 'integer')) CONSTRAINT "employee.dept_id.range" CHECK ("dept_id" IS NULL OR ("dept_id" BETWEEN -2147483648 AND 2147483647)),
    "emp_name" TEXT COLLATE RTRIM CONSTRAINT "employee.emp_name.length" CHECK ("emp_name" IS NULL OR (typeof("emp_name") = 'text' AND length("emp_name") <= 8)),
    "identity_card" TEXT COLLATE RTRIM CONSTRAINT "employee.identity_card.length" CHECK ("identity_card" IS NULL OR (typeof("identity_card") = 'text' AND length("identity_card") <= 18)),
    "sextype" TEXT COLLATE RTRIM CONSTRAINT "employee.sextype.length" CHECK ("sextype" IS NULL OR (typeof("sextype") = 'text' AND length("sextype") <= 2)),
    "marry" TEXT COLLATE RTRIM CONSTRAINT "employee.marry.length" CHECK ("marry" IS NULL OR (typeof("marry") = 'text' AND length("marry") <= 2)),
    "birthday" TEXT CONSTRAINT "employee.birthday.date" CHECK ("birthday" IS NULL OR ("birthday" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR "birthday" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')),
    "home_address" TEXT COLLATE RTRIM CONSTRAINT "employee.home_address.length" CHECK ("home_address" IS NULL OR (typeof("home_address") = 'text' AND length("home_address") <= 60)),
    "link_tel" TEXT COLLATE RTRIM CONSTRAINT "employee.link_tel.length" CHECK ("link_tel" IS NULL OR (typeof("link_tel") = 'text' AND length("link_tel") <= 20)),
    "regist_address" TEXT COLLATE RTRIM CONSTRAINT "employee.regist_address.length" CHECK ("regist_address" IS NULL OR (typeof("regist_address") = 'text' AND length("regist_address") <= 60)),
    "position" TEXT COLLATE RTRIM CONSTRAINT "employee.position.length" CHECK ("position" IS NULL OR (typeof("position") = 'text' AND length("position") <= 20)),
    "post" TEXT COLLATE RTRIM CONSTRAINT "employee.post.length" CHECK ("post" IS NULL OR (typeof("post") = 'text' AND length("post") <= 16)),
    "grade" TEXT COLLATE RTRIM CONSTRAINT "employee.grade.length" CHECK ("grade" IS NULL OR (typeof("grade") = 'text' AND length("grade") <= 12)),
    "polity" TEXT COLLATE RTRIM CONSTRAINT "employee.polity.length" CHECK ("polity" IS NULL OR (typeof("polity") = 'text' AND length("polity") <= 10)),
    "school" TEXT COLLATE RTRIM CONSTRAINT "employee.school.length" CHECK ("school" IS NULL OR (typeof("school") = 'text' AND length("school") <= 26)),
    "special" TEXT COLLATE RTRIM CONSTRAINT "employee.special.length" CHECK ("special" IS NULL OR (typeof("special") = 'text' AND length("special") <= 20)),
    "graduate" TEXT CONSTRAINT "employee.graduate.date" CHECK ("graduate" IS NULL OR ("graduate" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR "graduate" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')),
    "old_company" TEXT COLLATE RTRIM CONSTRAINT "employee.old_company.length" CHECK ("old_company" IS NULL OR (typeof("old_company") = 'text' AND length("old_company") <= 60)),
    "remarks" TEXT COLLATE RTRIM CONSTRAINT "employee.remarks.length" CHECK ("remarks" IS NULL OR (typeof("remarks") = 'text' AND length("remarks") <= 200))
);

CREATE TABLE "message_info" (
    "msg_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "sender" TEXT COLLATE RTRIM CONSTRAINT "message_info.sender.length" CHECK ("sender" IS NULL OR (typeof("sender") = 'text' AND length("sender") <= 255)),
    "receive" TEXT COLLATE RTRIM CONSTRAINT "message_info.receive.length" CHECK ("receive" IS NULL OR (typeof("receive") = 'text' AND length("receive") <= 255)),
    "mesg_head" TEXT COLLATE RTRIM CONSTRAINT "message_info.mesg_head.length" CHECK ("mesg_head" IS NULL OR (typeof("mesg_head") = 'text' AND length("mesg_head") <= 255)),
    "mesg_contents" TEXT COLLATE RTRIM,
    "send_time" TEXT CONSTRAINT "message_info.send_time.date" CHECK ("send_time" IS NULL OR ("send_time" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR "send_time" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')),
    "mesg_type" TEXT COLLATE RTRIM CONSTRAINT "message_info.mesg_type.length" CHECK ("mesg_type" IS NULL OR (typeof("mesg_type") = 'text' AND length("mesg_type") <= 255))
);

CREATE TABLE "work_plan" (
    "plan_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "op_code" TEXT COLLATE RTRIM CONSTRAINT "work_plan.op_code.length" CHECK ("op_code" IS NULL OR (typeof("op_code") = 'text' AND length("op_code") <= 6)),
    "plan_type" TEXT COLLATE RTRIM CONSTRAINT "work_plan.plan_type.length" CHECK ("plan_type" IS NULL OR (typeof("plan_type") = 'text' AND length("plan_type") <= 20)),
    "state" TEXT COLLATE RTRIM CONSTRAINT "work_plan.state.length" CHECK ("state" IS NULL OR (typeof("state") = 'text' AND length("state") <= 20)),
    "title" TEXT COLLATE RTRIM CONSTRAINT "work_plan.title.length" CHECK ("title" IS NULL OR (typeof("title") = 'text' AND length("title") <= 60)),
    "finish_state" TEXT COLLATE RTRIM CONSTRAINT "work_plan.finish_state.length" CHECK ("finish_state" IS NULL OR (typeof("finish_state") = 'text' AND length("finish_state") <= 30)),
    "charge_man" TEXT COLLATE RTRIM CONSTRAINT "work_plan.charge_man.length" CHECK ("charge_man" IS NULL OR (typeof("charge_man") = 'text' AND length("charge_man") <= 8)),
    "awoke_date" TEXT COLLATE RTRIM CONSTRAINT "work_plan.awoke_date.length" CHECK ("awoke_date" IS NULL OR (typeof("awoke_date") = 'text' AND length("awoke_date") <= 20)),
    "start_end" TEXT COLLATE RTRIM CONSTRAINT "work_plan.start_end.length" CHECK ("start_end" IS NULL OR (typeof("start_end") = 'text' AND length("start_end") <= 30)),
    "manager" TEXT COLLATE RTRIM CONSTRAINT "work_plan.manager.length" CHECK ("manager" IS NULL OR (typeof("manager") = 'text' AND length("manager") <= 6)),
    "contents" TEXT COLLATE RTRIM
);

CREATE TABLE "meet" (
    "id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "title" TEXT COLLATE RTRIM CONSTRAINT "meet.title.length" CHECK ("title" IS NULL OR (typeof("title") = 'text' AND length("title") <= 100)),
    "take_man" TEXT COLLATE RTRIM CONSTRAINT "meet.take_man.length" CHECK ("take_man" IS NULL OR (typeof("take_man") = 'text' AND length("take_man") <= 50)),
    "take_date" TEXT CONSTRAINT "meet.take_date.date" CHECK ("take_date" IS NULL OR ("take_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR "take_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')),
    "take_people" TEXT COLLATE RTRIM CONSTRAINT "meet.take_people.length" CHECK ("take_people" IS NULL OR (typeof("take_people") = 'text' AND length("take_people") <= 200)),
    "contents" TEXT COLLATE RTRIM
);

CREATE TABLE "goods_type" (
    "type_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "type_name" TEXT COLLATE RTRIM CONSTRAINT "goods_type.type_name.length" CHECK ("type_name" IS NULL OR (typeof("type_name") = 'text' AND length("type_name") <= 18))
);

CREATE TABLE "goods" (
    "goods_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "sort_id" INTEGER CONSTRAINT "goods.sort_id.number" CHECK ("sort_id" IS NULL OR (typeof("sort_id") = 'integer')) CONSTRAINT "goods.sort_id.range" CHECK ("sort_id" IS NULL OR ("sort_id" BETWEEN -2147483648 AND 2147483647)),
    "goods_name" TEXT COLLATE RTRIM CONSTRAINT "goods.goods_name.length" CHECK ("goods_name" IS NULL OR (typeof("goods_name") = 'text' AND length("goods_name") <= 50)),
    "type_id" INTEGER CONSTRAINT "goods.type_id.number" CHECK ("type_id" IS NULL OR (typeof("type_id") = 'integer')) CONSTRAINT "goods.type_id.range" CHECK ("type_id" IS NULL OR ("type_id" BETWEEN -2147483648 AND 2147483647)),
    "store_num" INTEGER CONSTRAINT "goods.store_num.number" CHECK ("store_num" IS NULL OR (typeof("store_num") = 'integer')) CONSTRAINT "goods.store_num.range" CHECK ("store_num" IS NULL OR ("store_num" BETWEEN -32768 AND 32767)),
    "remark" TEXT COLLATE RTRIM CONSTRAINT "goods.remark.length" CHECK ("remark" IS NULL OR (typeof("remark") = 'text' AND length("remark") <= 50))
);

CREATE TABLE "goods_buy" (
    "buy_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "goods_id" INTEGER CONSTRAINT "goods_buy.goods_id.number" CHECK ("goods_id" IS NULL OR (typeof("goods_id") = 'integer')) CONSTRAINT "goods_buy.goods_id.range" CHECK ("goods_id" IS NULL OR ("goods_id" BETWEEN -2147483648 AND 2147483647)),
    "buy_date" TEXT CONSTRAINT "goods_buy.buy_date.date" CHECK ("buy_date" IS NULL OR ("buy_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR "buy_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')),
    "unit_price" REAL CONSTRAINT "goods_buy.unit_price.number" CHECK ("unit_price" IS NULL OR (typeof("unit_price") IN ('real', 'integer'))),
    "num" INTEGER CONSTRAINT "goods_buy.num.number" CHECK ("num" IS NULL OR (typeof("num") = 'integer')) CONSTRAINT "goods_buy.num.range" CHECK ("num" IS NULL OR ("num" BETWEEN -32768 AND 32767)),
    "buyer" TEXT COLLATE RTRIM CONSTRAINT "goods_buy.buyer.length" CHECK ("buyer" IS NULL OR (typeof("buyer") = 'text' AND length("buyer") <= 8)),
    "xhgg" TEXT COLLATE RTRIM CONSTRAINT "goods_buy.xhgg.length" CHECK ("xhgg" IS NULL OR (typeof("xhgg") = 'text' AND length("xhgg") <= 30)),
    "pzr" TEXT COLLATE RTRIM CONSTRAINT "goods_buy.pzr.length" CHECK ("pzr" IS NULL OR (typeof("pzr") = 'text' AND length("pzr") <= 8)),
    "remark" TEXT COLLATE RTRIM
);

CREATE TABLE "take_goods" (
    "id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "goods_id" INTEGER CONSTRAINT "take_goods.goods_id.number" CHECK ("goods_id" IS NULL OR (typeof("goods_id") = 'integer')) CONSTRAINT "take_goods.goods_id.range" CHECK ("goods_id" IS NULL OR ("goods_id" BETWEEN -2147483648 AND 2147483647)),
    "dept_id" INTEGER CONSTRAINT "take_goods.dept_id.number" CHECK ("dept_id" IS NULL OR (typeof("dept_id") = 'integer')) CONSTRAINT "take_goods.dept_id.range" CHECK ("dept_id" IS NULL OR ("dept_id" BETWEEN -2147483648 AND 2147483647)),
    "take_man" TEXT COLLATE RTRIM CONSTRAINT "take_goods.take_man.length" CHECK ("take_man" IS NULL OR (typeof("take_man") = 'text' AND length("take_man") <= 8)),
    "take_num" REAL CONSTRAINT "take_goods.take_num.number" CHECK ("take_num" IS NULL OR (typeof("take_num") IN ('real', 'integer'))),
    "take_date" TEXT CONSTRAINT "take_goods.take_date.date" CHECK ("take_date" IS NULL OR ("take_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR "take_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')),
    "xhgg" TEXT COLLATE RTRIM CONSTRAINT "take_goods.xhgg.length" CHECK ("xhgg" IS NULL OR (typeof("xhgg") = 'text' AND length("xhgg") <= 50)),
    "pzr" TEXT COLLATE RTRIM CONSTRAINT "take_goods.pzr.length" CHECK ("pzr" IS NULL OR (typeof("pzr") = 'text' AND length("pzr") <= 8)),
    "remark" TEXT COLLATE RTRIM CONSTRAINT "take_goods.remark.length" CHECK ("remark" IS NULL OR (typeof("remark") = 'text' AND length("remark") <= 200))
);

CREATE TABLE "dept_goods" (
    "id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "dept_id" INTEGER CONSTRAINT "dept_goods.dept_id.number" CHECK ("dept_id" IS NULL OR (typeof("dept_id") = 'integer')) CONSTRAINT "dept_goods.dept_id.range" CHECK ("dept_id" IS NULL OR ("dept_id" BETWEEN -2147483648 AND 2147483647)),
    "goods_id" INTEGER CONSTRAINT "dept_goods.goods_id.number" CHECK ("goods_id" IS NULL OR (typeof("goods_id") = 'integer')) CONSTRAINT "dept_goods.goods_id.range" CHECK ("goods_id" IS NULL OR ("goods_id" BETWEEN -2147483648 AND 2147483647)),
    "goods_num" REAL CONSTRAINT "dept_goods.goods_num.number" CHECK ("goods_num" IS NULL OR (typeof("goods_num") IN ('real', 'integer'))),
    "remark" TEXT COLLATE RTRIM CONSTRAINT "dept_goods.remark.length" CHECK ("remark" IS NULL OR (typeof("remark") = 'text' AND length("remark") <= 100))
);

CREATE TABLE "service" (
    "serve_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "owner_id" INTEGER CONSTRAINT "service.owner_id.number" CHECK ("owner_id" IS NULL OR (typeof("owner_id") = 'integer')) CONSTRAINT "service.owner_id.range" CHECK ("owner_id" IS NULL OR ("owner_id" BETWEEN -2147483648 AND 2147483647)),
    "contents" TEXT COLLATE RTRIM,
    "worker" TEXT COLLATE RTRIM CONSTRAINT "service.worker.length" CHECK ("worker" IS NULL OR (typeof("worker") = 'text' AND length("worker") <= 8)),
    "start_time" TEXT CONSTRAINT "service.start_time.date" CHECK ("start_time" IS NULL OR ("start_time" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR "start_time" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')),
    "finish_time" TEXT CONSTRAINT "service.finish_time.date" CHECK ("finish_time" IS NULL OR ("finish_time" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR "finish_time" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')),
    "material_money" INTEGER CONSTRAINT "service.material_money.number" CHECK ("material_money" IS NULL OR (typeof("material_money") = 'integer')) CONSTRAINT "service.material_money.range" CHECK ("material_money" IS NULL OR (abs("material_money") < 10000000000)),
    "serve_money" INTEGER CONSTRAINT "service.serve_money.number" CHECK ("serve_money" IS NULL OR (typeof("serve_money") = 'integer')) CONSTRAINT "service.serve_money.range" CHECK ("serve_money" IS NULL OR (abs("serve_money") < 10000000000)),
    "need_material" TEXT COLLATE RTRIM CONSTRAINT "service.need_material.length" CHECK ("need_material" IS NULL OR (typeof("need_material") = 'text' AND length("need_material") <= 200)),
    "owner_check" TEXT COLLATE RTRIM CONSTRAINT "service.owner_check.length" CHECK ("owner_check" IS NULL OR (typeof("owner_check") = 'text' AND length("owner_check") <= 50)),
    "if_take" TEXT COLLATE RTRIM CONSTRAINT "service.if_take.length" CHECK ("if_take" IS NULL OR (typeof("if_take") = 'text' AND length("if_take") <= 2))
);

CREATE TABLE "advice" (
    "advice_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "owner_id" INTEGER CONSTRAINT "advice.owner_id.number" CHECK ("owner_id" IS NULL OR (typeof("owner_id") = 'integer')) CONSTRAINT "advice.owner_id.range" CHECK ("owner_id" IS NULL OR ("owner_id" BETWEEN -2147483648 AND 2147483647)),
    "advice_name" TEXT COLLATE RTRIM CONSTRAINT "advice.advice_name.length" CHECK ("advice_name" IS NULL OR (typeof("advice_name") = 'text' AND length("advice_name") <= 30)),
    "advice_type" TEXT COLLATE RTRIM CONSTRAINT "advice.advice_type.length" CHECK ("advice_type" IS NULL OR (typeof("advice_type") = 'text' AND length("advice_type") <= 20)),
    "advice_time" TEXT CONSTRAINT "advice.advice_time.date" CHECK ("advice_time" IS NULL OR ("advice_time" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR "advice_time" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')),
    "serve_name" TEXT COLLATE RTRIM CONSTRAINT "advice.serve_name.length" CHECK ("serve_name" IS NULL OR (typeof("serve_name") = 'text' AND length("serve_name") <= 8)),
    "revert" TEXT COLLATE RTRIM CONSTRAINT "advice.revert.length" CHECK ("revert" IS NULL OR (typeof("revert") = 'text' AND length("revert") <= 8)),
    "revert_type" TEXT COLLATE RTRIM CONSTRAINT "advice.revert_type.length" CHECK ("revert_type" IS NULL OR (typeof("revert_type") = 'text' AND length("revert_type") <= 20)),
    "satisfy" TEXT COLLATE RTRIM CONSTRAINT "advice.satisfy.length" CHECK ("satisfy" IS NULL OR (typeof("satisfy") = 'text' AND length("satisfy") <= 8)),
    "advice_content" TEXT COLLATE RTRIM,
    "deal_content" TEXT COLLATE RTRIM
);

CREATE TABLE "fitment" (
    "fit_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "owner_id" TEXT COLLATE RTRIM CONSTRAINT "fitment.owner_id.length" CHECK ("owner_id" IS NULL OR (typeof("owner_id") = 'text' AND length("owner_id") <= 18)),
    "start_date" TEXT CONSTRAINT "fitment.start_date.date" CHECK ("start_date" IS NULL OR ("start_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR "start_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')),
    "end_date" TEXT CONSTRAINT "fitment.end_date.date" CHECK ("end_date" IS NULL OR ("end_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR "end_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')),
    "company_name" TEXT COLLATE RTRIM CONSTRAINT "fitment.company_name.length" CHECK ("company_name" IS NULL OR (typeof("company_name") = 'text' AND length("company_name") <= 50)),
    "licence" TEXT COLLATE RTRIM CONSTRAINT "fitment.licence.length" CHECK ("licence" IS NULL OR (typeof("licence") = 'text' AND length("licence") <= 20)),
    "fit_tel" TEXT COLLATE RTRIM CONSTRAINT "fitment.fit_tel.length" CHECK ("fit_tel" IS NULL OR (typeof("fit_tel") = 'text' AND length("fit_tel") <= 25)),
    "address" TEXT COLLATE RTRIM CONSTRAINT "fitment.address.length" CHECK ("address" IS NULL OR (typeof("address") = 'text' AND length("address") <= 60)),
    "checker" TEXT COLLATE RTRIM CONSTRAINT "fitment.checker.length" CHECK ("checker" IS NULL OR (typeof("checker") = 'text' AND length("checker") <= 8)),
    "remark" TEXT COLLATE RTRIM CONSTRAINT "fitment.remark.length" CHECK ("remark" IS NULL OR (typeof("remark") = 'text' AND length("remark") <= 200)),
    "fit_Content" TEXT COLLATE RTRIM
);

CREATE TABLE "event" (
    "event_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "event_name" TEXT COLLATE RTRIM CONSTRAINT "event.event_name.length" CHECK ("event_name" IS NULL OR (typeof("event_name") = 'text' AND length("event_name") <= 60)),
    "event_type" TEXT COLLATE RTRIM CONSTRAINT "event.event_type.length" CHECK ("event_type" IS NULL OR (typeof("event_type") = 'text' AND length("event_type") <= 20)),
    "take_time" TEXT CONSTRAINT "event.take_time.date" CHECK ("take_time" IS NULL OR ("take_time" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR "take_time" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')),
    "take_address" TEXT COLLATE RTRIM CONSTRAINT "event.take_address.length" CHECK ("take_address" IS NULL OR (typeof("take_address") = 'text' AND length("take_address") <= 60)),
    "deal_man" TEXT COLLATE RTRIM CONSTRAINT "event.deal_man.length" CHECK ("deal_man" IS NULL OR (typeof("deal_man") = 'text' AND length("deal_man") <= 8)),
    "detail" TEXT COLLATE RTRIM,
    "deal_result" TEXT COLLATE RTRIM
);

CREATE TABLE "fire_area" (
    "fire_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "area_name" TEXT COLLATE RTRIM CONSTRAINT "fire_area.area_name.length" CHECK ("area_name" IS NULL OR (typeof("area_name") = 'text' AND length("area_name") <= 60)),
    "address" TEXT COLLATE RTRIM CONSTRAINT "fire_area.address.length" CHECK ("address" IS NULL OR (typeof("address") = 'text' AND length("address") <= 60)),
    "fire_area" TEXT COLLATE RTRIM CONSTRAINT "fire_area.fire_area.length" CHECK ("fire_area" IS NULL OR (typeof("fire_area") = 'text' AND length("fire_area") <= 60)),
    "grade" TEXT COLLATE RTRIM CONSTRAINT "fire_area.grade.length" CHECK ("grade" IS NULL OR (typeof("grade") = 'text' AND length("grade") <= 20)),
    "cycle" TEXT COLLATE RTRIM CONSTRAINT "fire_area.cycle.length" CHECK ("cycle" IS NULL OR (typeof("cycle") = 'text' AND length("cycle") <= 20)),
    "fireman" TEXT COLLATE RTRIM CONSTRAINT "fire_area.fireman.length" CHECK ("fireman" IS NULL OR (typeof("fireman") = 'text' AND length("fireman") <= 8)),
    "checker" TEXT COLLATE RTRIM CONSTRAINT "fire_area.checker.length" CHECK ("checker" IS NULL OR (typeof("checker") = 'text' AND length("checker") <= 8)),
    "equipment" TEXT COLLATE RTRIM CONSTRAINT "fire_area.equipment.length" CHECK ("equipment" IS NULL OR (typeof("equipment") = 'text' AND length("equipment") <= 100)),
    "remark" TEXT COLLATE RTRIM CONSTRAINT "fire_area.remark.length" CHECK ("remark" IS NULL OR (typeof("remark") = 'text' AND length("remark") <= 100))
);

CREATE TABLE "condition" (
    "cond_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "area_name" TEXT COLLATE RTRIM CONSTRAINT "condition.area_name.length" CHECK ("area_name" IS NULL OR (typeof("area_name") = 'text' AND length("area_name") <= 60)),
    "charger" TEXT COLLATE RTRIM CONSTRAINT "condition.charger.length" CHECK ("charger" IS NULL OR (typeof("charger") = 'text' AND length("charger") <= 8)),
    "cycle" TEXT COLLATE RTRIM CONSTRAINT "condition.cycle.length" CHECK ("cycle" IS NULL OR (typeof("cycle") = 'text' AND length("cycle") <= 30)),
    "remark" TEXT COLLATE RTRIM CONSTRAINT "condition.remark.length" CHECK ("remark" IS NULL OR (typeof("remark") = 'text' AND length("remark") <= 100)),
    "require" TEXT COLLATE RTRIM
);

CREATE TABLE "community" (
    "ploy_id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "ploy_name" TEXT COLLATE RTRIM CONSTRAINT "community.ploy_name.length" CHECK ("ploy_name" IS NULL OR (typeof("ploy_name") = 'text' AND length("ploy_name") <= 50)),
    "main_dept" TEXT COLLATE RTRIM CONSTRAINT "community.main_dept.length" CHECK ("main_dept" IS NULL OR (typeof("main_dept") = 'text' AND length("main_dept") <= 50)),
    "second_dept" TEXT COLLATE RTRIM CONSTRAINT "community.second_dept.length" CHECK ("second_dept" IS NULL OR (typeof("second_dept") = 'text' AND length("second_dept") <= 50)),
    "ploy_type" TEXT COLLATE RTRIM CONSTRAINT "community.ploy_type.length" CHECK ("ploy_type" IS NULL OR (typeof("ploy_type") = 'text' AND length("ploy_type") <= 20)),
    "start_date" TEXT CONSTRAINT "community.start_date.date" CHECK ("start_date" IS NULL OR ("start_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR "start_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')),
    "end_date" TEXT CONSTRAINT "community.end_date.date" CHECK ("end_date" IS NULL OR ("end_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR "end_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')),
    "charge_man" TEXT COLLATE RTRIM CONSTRAINT "community.charge_man.length" CHECK ("charge_man" IS NULL OR (typeof("charge_man") = 'text' AND length("charge_man") <= 8)),
    "ploy_money" TEXT COLLATE RTRIM CONSTRAINT "community.ploy_money.length" CHECK ("ploy_money" IS NULL OR (typeof("ploy_money") = 'text' AND length("ploy_money") <= 10)),
    "money_take" TEXT COLLATE RTRIM CONSTRAINT "community.money_take.length" CHECK ("money_take" IS NULL OR (typeof("money_take") = 'text' AND length("money_take") <= 100)),
    "take_people" TEXT COLLATE RTRIM CONSTRAINT "community.take_people.length" CHECK ("take_people" IS NULL OR (typeof("take_people") = 'text' AND length("take_people") <= 100)),
    "affiche" TEXT COLLATE RTRIM CONSTRAINT "community.affiche.length" CHECK ("affiche" IS NULL OR (typeof("affiche") = 'text' AND length("affiche") <= 20)),
    "circs" TEXT COLLATE RTRIM,
    "remark" TEXT COLLATE RTRIM
);

CREATE TABLE "serveorder" (
    "id" INTEGER PRIMARY KEY AUTOINCREMENT,
    "owner_id" INTEGER CONSTRAINT "serveorder.owner_id.number" CHECK ("owner_id" IS NULL OR (typeof("owner_id") = 'integer')) CONSTRAINT "serveorder.owner_id.range" CHECK ("owner_id" IS NULL OR ("owner_id" BETWEEN -2147483648 AND 2147483647)),
    "send_dept" TEXT COLLATE RTRIM CONSTRAINT "serveorder.send_dept.length" CHECK ("send_dept" IS NULL OR (typeof("send_dept") = 'text' AND length("send_dept") <= 50)),
    "rece_dept" TEXT COLLATE RTRIM CONSTRAINT "serveorder.rece_dept.length" CHECK ("rece_dept" IS NULL OR (typeof("rece_dept") = 'text' AND length("rece_dept") <= 50)),
    "order_time" TEXT COLLATE RTRIM CONSTRAINT "serveorder.order_time.length" CHECK ("order_time" IS NULL OR (typeof("order_time") = 'text' AND length("order_time") <= 50)),
    "recorder" TEXT COLLATE RTRIM CONSTRAINT "serveorder.recorder.length" CHECK ("recorder" IS NULL OR (typeof("recorder") = 'text' AND length("recorder") <= 8)),
    "link_tel" TEXT COLLATE RTRIM CONSTRAINT "serveorder.link_tel.length" CHECK ("link_tel" IS NULL OR (typeof("link_tel") = 'text' AND length("link_tel") <= 30)),
    "take_stand" TEXT COLLATE RTRIM CONSTRAINT "serveorder.take_stand.length" CHECK ("take_stand" IS NULL OR (typeof("take_stand") = 'text' AND length("take_stand") <= 200)),
    "take_money" INTEGER CONSTRAINT "serveorder.take_money.number" CHECK ("take_money" IS NULL OR (typeof("take_money") = 'integer')) CONSTRAINT "serveorder.take_money.range" CHECK ("take_money" IS NULL OR (abs("take_money") < 10000000000)),
    "big_money" TEXT COLLATE RTRIM CONSTRAINT "serveorder.big_money.length" CHECK ("big_money" IS NULL OR (typeof("big_money") = 'text' AND length("big_money") <= 50)),
    "record_date" TEXT CONSTRAINT "serveorder.record_date.date" CHECK ("record_date" IS NULL OR ("record_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]' OR "record_date" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]')),
    "cust_write" TEXT COLLATE RTRIM CONSTRAINT "serveorder.cust_write.length" CHECK ("cust_write" IS NULL OR (typeof("cust_write") = 'text' AND length("cust_write") <= 50)),
    "server_item" TEXT COLLATE RTRIM,
    "remark" TEXT COLLATE RTRIM
);

CREATE INDEX "garden_garden_name" ON "garden" ("garden_name");

CREATE INDEX "rooms_info_garden_id" ON "rooms_info" ("garden_id");

CREATE INDEX "owner_info_owner_name" ON "owner_info" ("owner_name");

CREATE INDEX "owner_info_in_out" ON "owner_info" ("in_out");

CREATE INDEX "owner_rooms_owner_id" ON "owner_rooms" ("owner_id");

CREATE INDEX "owner_rooms_room_id" ON "owner_rooms" ("room_id");

CREATE INDEX "member_owner_id" ON "member" ("owner_id");

CREATE INDEX "car_owner_id" ON "car" ("owner_id");

CREATE INDEX "park_owner_id" ON "park" ("owner_id");

CREATE INDEX "park_park_no" ON "park" ("park_no");

CREATE INDEX "charge_take_owner_id" ON "charge_take" ("owner_id");

CREATE INDEX "charge_take_type_id" ON "charge_take" ("type_id");

CREATE INDEX "charge_take_take_date" ON "charge_take" ("take_date");

CREATE INDEX "device_type_id" ON "device" ("type_id");

CREATE INDEX "repair_dev_id" ON "repair" ("dev_id");

CREATE INDEX "employee_dept_id" ON "employee" ("dept_id");

CREATE INDEX "employee_emp_name" ON "employee" ("emp_name");

CREATE INDEX "message_info_receive" ON "message_info" ("receive");

CREATE INDEX "work_plan_op_code" ON "work_plan" ("op_code");

CREATE INDEX "goods_type_id" ON "goods" ("type_id");

CREATE INDEX "goods_sort_id" ON "goods" ("sort_id");

CREATE INDEX "goods_buy_goods_id" ON "goods_buy" ("goods_id");

CREATE INDEX "goods_buy_buy_date" ON "goods_buy" ("buy_date");

CREATE INDEX "take_goods_goods_id" ON "take_goods" ("goods_id");

CREATE INDEX "take_goods_dept_id" ON "take_goods" ("dept_id");

CREATE INDEX "take_goods_take_date" ON "take_goods" ("take_date");

CREATE INDEX "dept_goods_dept_id" ON "dept_goods" ("dept_id");

CREATE INDEX "dept_goods_goods_id" ON "dept_goods" ("goods_id");

CREATE INDEX "service_owner_id" ON "service" ("owner_id");

CREATE INDEX "advice_owner_id" ON "advice" ("owner_id");

CREATE INDEX "fitment_owner_id" ON "fitment" ("owner_id");

CREATE INDEX "serveorder_owner_id" ON "serveorder" ("owner_id");

PRAGMA application_id = 1885695085;
PRAGMA user_version = 1;
