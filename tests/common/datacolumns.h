#pragma once

#include <QTest>

// Declares a data table's columns at once: the types in order, then one name for each.
template <typename... Types, typename... Names> void addColumns(const Names &...names) {
    static_assert(sizeof...(Types) == sizeof...(Names), "one name for each column");
    (QTest::addColumn<Types>(names), ...);
}
