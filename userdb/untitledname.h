#pragma once

#include <QDir>
#include <QString>

namespace userdb {

// The first of "Untitled.fxd", "Untitled 2.fxd", "Untitled 3.fxd", ... that names no file in
// `folder`: a database without a name of its own never takes an existing file's.
QString firstFreeUntitledName(const QDir &folder);

} // namespace userdb
