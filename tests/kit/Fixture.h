#pragma once

namespace korvan {
class Database;
namespace test {

// A tiny readable data set for tests:
//  warehouses 北仓, 南仓; units 个, 箱; employees E001 张三, E002 李四;
//  types \\五金 (001), \\五金\螺丝 (001001), \\电料 (002);
//  suppliers S001 华强五金 (张三), S002 O'Neil 电料 (李四, a quote in the name);
//  goods G001 螺丝 M6 (\\五金\螺丝, cost 0.50), G002 扳手 (\\五金, 25.00),
//        G003 电线 (\\电料, 3.20);
//  order CDD20240305001 of 2024-03-05 from 华强五金 into 北仓:
//        G001 100 × 0.50 = 50.00, G002 2 × 25.00 = 50.00, total 100.00;
//  operator 101 王五, password "abc", role 002 采购员 (items 301, 302, 306),
//        may add and edit but not see prices, restricted to 北仓.
void loadFixture(Database &db);

} // namespace test
} // namespace korvan
