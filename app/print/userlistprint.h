#pragma once

#include "userdb/recordstore.h"

#include <QDate>
#include <QPageSize>
#include <QString>

class QPagedPaintDevice;

namespace app {

// The printed user list: every field of every slot that holds any text, in slot order, two
// lines per user (userlisttable.h), long text wrapped within its cell and cut after 2,000
// characters. Every page is landscape and carries the database address and `date`
// at the top and "Page N of M" at the foot.

// Paints the list on `device` (a QPrinter from the print dialog, a QPdfWriter), turned to
// landscape on whatever page size and margins it has. Returns the number of pages, or 0 when
// the device cannot be painted on (a printer that is not available).
int printUserList(QPagedPaintDevice &device, const userdb::RecordStore &store,
                  const QString &databaseAddress, QDate date);

// Writes the list as a PDF file (12 mm margins) in one step, like a database save. Returns an
// empty text on success, else a message naming the file and the reason. `pageCount`, when
// given, receives the number of pages written.
QString writeUserListPdf(const QString &path, const userdb::RecordStore &store,
                         const QString &databaseAddress, QDate date,
                         const QPageSize &pageSize = QPageSize(QPageSize::A4),
                         int *pageCount = nullptr);

} // namespace app
