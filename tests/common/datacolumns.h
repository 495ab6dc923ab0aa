#pragma once

#include <QTest>

#include <initializer_list>

// Declares a data table's columns at once: the types in order, their names alike.
template <typename... Types> void addColumns(std::initializer_list<const char *> names) {
    Q_ASSERT(names.size() == sizeof...(Types));
    auto name = names.begin();
    (QTest::addColumn<Types>(*name++), ...);
}
