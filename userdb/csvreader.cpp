#include "userdb/csvreader.h"

#include "userdb/textcodec.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <utility>

namespace userdb {

namespace {

constexpr QChar Quote = u'"';
// The most columns a spreadsheet has; cells past them are read but not kept, so that a row of
// millions of separators cannot take the memory.
constexpr int MaxCellsPerRow = 16384;

bool isLineEnd(QChar ch) {
    return ch == u'\r' || ch == u'\n';
}

} // namespace

QString decodeSpreadsheetText(const QByteArray &bytes) {
    const QByteArrayView bom("\xEF\xBB\xBF");
    QByteArrayView view(bytes);
    const bool hasBom = view.startsWith(bom);
    if (hasBom)
        view = view.sliced(bom.size());
    // Stateless: a sequence cut off at the end counts as invalid rather than pending.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(view);
    if (!utf8.hasError() || hasBom)
        return text; // with a byte-order mark the writer said UTF-8: bad bytes show as U+FFFD
    return decodeWindows1252(view);
}

QString unreadableEncoding(QByteArrayView bytes) {
    // The marks, longest first: UTF-32's little-endian one begins with UTF-16's.
    static constexpr std::array<std::pair<std::array<char, 4>, int>, 4> marks = {{
        {{'\xFF', '\xFE', '\0', '\0'}, 4},
        {{'\0', '\0', '\xFE', '\xFF'}, 4},
        {{'\xFF', '\xFE'}, 2},
        {{'\xFE', '\xFF'}, 2},
    }};
    static const std::array<const char *, 4> names = {
        "UTF-32 (little-endian)", "UTF-32 (big-endian)", "UTF-16 (little-endian)",
        "UTF-16 (big-endian)"};
    for (std::size_t i = 0; i < marks.size(); ++i)
        if (bytes.startsWith(QByteArrayView(marks[i].first.data(), marks[i].second)))
            return QString::fromLatin1(names[i]);
    const qsizetype sample = std::min<qsizetype>(bytes.size(), 512) & ~qsizetype(1);
    if (sample < 4)
        return {};
    std::array<qsizetype, 2> zeros{}; // at even and at odd positions
    for (qsizetype i = 0; i < sample; ++i)
        if (bytes[i] == 0)
            ++zeros[std::size_t(i % 2)];
    const qsizetype pairs = sample / 2;
    if (zeros[1] * 2 >= pairs && zeros[0] == 0)
        return QStringLiteral("UTF-16 (little-endian)");
    if (zeros[0] * 2 >= pairs && zeros[1] == 0)
        return QStringLiteral("UTF-16 (big-endian)");
    return {};
}

QChar detectSeparator(QStringView text) {
    qsizetype commas = 0;
    qsizetype semicolons = 0;
    bool quoted = false;
    for (const QChar ch : text) {
        if (ch == Quote)
            quoted = !quoted; // a doubled quote toggles twice
        else if (quoted)
            continue;
        else if (isLineEnd(ch))
            break;
        else if (ch == u',')
            ++commas;
        else if (ch == u';')
            ++semicolons;
    }
    return semicolons > commas ? QChar(u';') : QChar(u',');
}

CsvReader::CsvReader(QStringView text, QChar separator)
    : m_text(text)
    , m_separator(separator) {}

bool CsvReader::readRow(QStringList &cells) {
    cells.clear();
    m_problem = {};
    if (m_pos >= m_text.size())
        return false;
    ++m_row;
    for (int cellIndex = 0;; ++cellIndex) {
        QString cell = m_pos < m_text.size() && m_text[m_pos] == Quote ? readQuoted(cellIndex)
                                                                       : readUnquoted();
        if (cellIndex < MaxCellsPerRow)
            cells << cell;
        else if (m_problem.cell < 0)
            setProblem(cellIndex, QStringLiteral("a row has at most %1 cells").arg(MaxCellsPerRow));
        if (m_pos >= m_text.size())
            return true;
        if (m_text[m_pos] != m_separator) {
            skipLineEnd();
            return true;
        }
        ++m_pos; // a separator at the very end still ends with an empty cell
    }
}

bool CsvReader::atLineEnd() const {
    return m_pos >= m_text.size() || m_text[m_pos] == m_separator || isLineEnd(m_text[m_pos]);
}

QString CsvReader::readQuoted(int cellIndex) {
    QString cell;
    ++m_pos; // the opening quote
    for (;;) {
        const qsizetype close = m_text.indexOf(Quote, m_pos);
        if (close < 0) {
            cell += m_text.sliced(m_pos);
            m_pos = m_text.size();
            setProblem(cellIndex, QStringLiteral("the quoted cell has no closing quote"));
            return cell;
        }
        cell += m_text.sliced(m_pos, close - m_pos);
        m_pos = close + 1;
        if (m_pos < m_text.size() && m_text[m_pos] == Quote) {
            cell += Quote; // a doubled quote stands for one
            ++m_pos;
            continue;
        }
        break;
    }
    if (!atLineEnd()) {
        setProblem(cellIndex, QStringLiteral("text follows the closing quote of the cell"));
        cell += readUnquoted();
    }
    return cell;
}

QString CsvReader::readUnquoted() {
    const qsizetype start = m_pos;
    while (!atLineEnd())
        ++m_pos;
    return m_text.sliced(start, m_pos - start).toString();
}

void CsvReader::skipLineEnd() {
    if (m_text[m_pos] == u'\r' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'\n')
        ++m_pos;
    ++m_pos;
}

void CsvReader::setProblem(int cellIndex, const QString &what) {
    if (m_problem.cell < 0)
        m_problem = {cellIndex, what};
}

} // namespace userdb
