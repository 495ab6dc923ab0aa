#include "link/replybuffer.h"

#include "userdb/textcodec.h"

#include <algorithm>

namespace proglink {

QString ReplyBuffer::text(int first, int last) const {
    first = std::max(first, 1);
    last = std::min(last, Size);
    if (last < first)
        return {};
    // The code page of the database file, which the slot lines are stored in too.
    return userdb::decodeWindows1252(
        QByteArrayView(m_codes.data() + index(first), last - first + 1));
}

void ReplyBuffer::fill(int first, int last, char code) {
    first = std::max(first, 1);
    last = std::min(last, Size);
    if (last >= first)
        std::fill_n(m_codes.data() + index(first), last - first + 1, code);
}

} // namespace proglink
