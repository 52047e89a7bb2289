#pragma once

#include "core/Decimal2.h"

#include <QString>

// An amount of money in capital Chinese numerals, as a receipt writes it under
// 人民币大写: "壹万贰仟叁佰肆拾伍元陆角柒分". "整" follows 元 where there are
// neither 角 nor 分; below one yuan the text starts at 角 or 分 ("伍分");
// nothing at all is "零元整"; a zero between digits is written once ("壹拾万零
// 壹拾元伍角", "壹佰万元零壹分"); a negative amount (a void) begins with "负".
// Any amount of Money (万, 亿, 万亿 and 亿亿 name the groups of four digits).
QString capitalAmount(Money amount);
