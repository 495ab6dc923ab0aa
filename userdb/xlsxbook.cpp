#include "userdb/xlsxbook.h"

#include <QDir>

#include <algorithm>
#include <array>

namespace userdb {

namespace {

// More different texts than any sheet of users needs; it bounds the memory of the table.
constexpr qsizetype MaxSharedTexts = qsizetype(4) * 1024 * 1024;

bool isHexDigit(QChar ch) {
    return (ch >= u'0' && ch <= u'9') || (ch >= u'A' && ch <= u'F') || (ch >= u'a' && ch <= u'f');
}

// A relationship's target as a part name: relative to the folder of the part that refers to it
// (the archive's root for the package's own relationships), or from the root when it begins
// with "/".
QString resolvePart(const QString &fromPart, const QString &target) {
    if (target.startsWith(u'/'))
        return target.mid(1);
    const qsizetype slash = fromPart.lastIndexOf(u'/');
    const QString folder = slash < 0 ? QString() : fromPart.left(slash + 1);
    return QDir::cleanPath(folder + target);
}

// "xl/_rels/workbook.xml.rels" for "xl/workbook.xml"; "_rels/.rels" for the package itself.
QString relationshipsPartOf(const QString &part) {
    const qsizetype slash = part.lastIndexOf(u'/');
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) +
           QStringLiteral(".rels");
}

QString typeName(const QString &type) {
    return type.mid(type.lastIndexOf(u'/') + 1);
}

bool isBuiltInDate(int id) {
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
           (id >= 50 && id <= 58);
}

// How a number format code shows a number: quoted text, escaped characters and bracketed parts
// (colours, conditions, locales) say nothing; a day, month, year, hour or second makes a date,
// an exponent scientific notation.
NumberStyle styleOfCode(const QString &code) {
    QString bare;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar ch = code.at(i);
        if (ch == u'"') {
            const qsizetype close = code.indexOf(u'"', i + 1);
            i = close < 0 ? code.size() : close;
        } else if (ch == u'\\' || ch == u'_' || ch == u'*') {
            ++i; // the next character is shown as it stands (or is padding)
        } else if (ch == u'[') {
            const qsizetype close = code.indexOf(u']', i + 1);
            const QString inside = code.mid(i + 1, close < 0 ? -1 : close - i - 1).toLower();
            if (inside == u"h" || inside == u"hh" || inside == u"m" || inside == u"mm" ||
                inside == u"s" || inside == u"ss")
                bare += inside; // elapsed time
            i = close < 0 ? code.size() : close;
        } else {
            bare += ch.toLower();
        }
    }
    if (bare.contains(QLatin1String("e+")) || bare.contains(QLatin1String("e-")))
        return NumberStyle::Scientific;
    for (const char16_t letter : {u'd', u'm', u'y', u'h', u's'})
        if (bare.contains(QChar(letter)))
            return bare == u"general" ? NumberStyle::Plain : NumberStyle::Date;
    return NumberStyle::Plain;
}

bool isTrue(QStringView value) {
    return value == u"1" || value == u"true";
}

} // namespace

QString readXmlPart(ZipArchive &zip, const QString &name, qint64 limit,
                    const std::function<void(QXmlStreamReader &)> &read) {
    const qint64 size = zip.entrySize(name);
    if (size > limit)
        return QStringLiteral("The part \"%1\" unpacks to more than %2 MB.")
            .arg(name)
            .arg(limit / (qint64(1024) * 1024));
    QString error;
    const std::unique_ptr<QIODevice> device = zip.openEntry(name, error);
    if (!device)
        return error;
    QXmlStreamReader xml(device.get());
    read(xml);
    if (xml.hasError())
        return QStringLiteral("The part \"%1\" cannot be read: %2 (line %3).")
            .arg(name, xml.errorString())
            .arg(xml.lineNumber());
    return {};
}

QString unescapeWorkbookText(const QString &text) {
    if (!text.contains(QLatin1String("_x")))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'_' && i + 6 < text.size() && text.at(i + 1) == u'x' &&
            text.at(i + 6) == u'_' &&
            std::all_of(text.begin() + i + 2, text.begin() + i + 6, isHexDigit)) {
            out += QChar(char16_t(text.mid(i + 2, 4).toUShort(nullptr, 16)));
            i += 6;
            continue;
        }
        out += text.at(i);
    }
    return out;
}

QString readStringItem(QXmlStreamReader &xml) {
    const QString item = xml.name().toString();
    QString text;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == u"t")
                text += unescapeWorkbookText(
                    xml.readElementText(QXmlStreamReader::IncludeChildElements));
            else if (xml.name() != u"r")
                xml.skipCurrentElement(); // run properties, phonetic guides
        } else if (xml.isEndElement() && xml.name() == item) {
            break;
        }
    }
    return text;
}

bool XlsxBook::sharedText(qint64 index, QString &text) const {
    if (index < 0 || index + 1 >= qint64(m_textStarts.size()))
        return false;
    const qsizetype start = m_textStarts[std::size_t(index)];
    text = m_sharedTexts.mid(start, m_textStarts[std::size_t(index + 1)] - start);
    return true;
}

NumberStyle XlsxBook::numberStyle(int styleIndex) const {
    return styleIndex >= 0 && std::size_t(styleIndex) < m_styles.size()
               ? m_styles[std::size_t(styleIndex)]
               : NumberStyle::Plain;
}

QString XlsxBook::read(ZipArchive &zip) {
    std::map<QString, std::pair<QString, QString>> rootRelationships;
    QString workbook = QStringLiteral("xl/workbook.xml");
    if (zip.entrySize(relationshipsPartOf(QString())) >= 0) {
        if (QString error = readRelationships(zip, QString(), rootRelationships); !error.isEmpty())
            return error;
        for (const auto &[id, relationship] : rootRelationships)
            if (typeName(relationship.first) == u"officeDocument")
                workbook = relationship.second;
    }
    if (zip.entrySize(workbook) < 0)
        return QStringLiteral("It is not an Excel workbook (.xlsx): it has no workbook part.");

    std::map<QString, std::pair<QString, QString>> relationships; // by id: type, part
    if (QString error = readRelationships(zip, workbook, relationships); !error.isEmpty())
        return error;
    QString sharedTexts;
    QString styles;
    for (const auto &[id, relationship] : relationships) {
        if (typeName(relationship.first) == u"sharedStrings")
            sharedTexts = relationship.second;
        else if (typeName(relationship.first) == u"styles")
            styles = relationship.second;
    }

    QString sheetError;
    QString error = readXmlPart(zip, workbook, MaxUnpackedPartBytes, [&](QXmlStreamReader &xml) {
        while (xml.readNextStartElement()) {
            if (xml.name() == u"workbook" || xml.name() == u"sheets")
                continue; // into it
            if (xml.name() == u"workbookPr") {
                m_1904 = isTrue(xml.attributes().value(QLatin1String("date1904")));
            } else if (xml.name() == u"sheet") {
                QString id;
                for (const QXmlStreamAttribute &attribute : xml.attributes())
                    if (attribute.name() == u"id" && !attribute.namespaceUri().isEmpty())
                        id = attribute.value().toString();
                const auto found = relationships.find(id);
                const QString name = xml.attributes().value(QLatin1String("name")).toString();
                if (found == relationships.end() || typeName(found->second.first) != u"worksheet")
                    continue; // a chart sheet or a dialog sheet holds no cells
                m_sheets.push_back({name, found->second.second});
            }
            xml.skipCurrentElement();
        }
    });
    if (!error.isEmpty())
        return error;
    if (!sharedTexts.isEmpty() && zip.entrySize(sharedTexts) >= 0)
        error = readSharedTexts(zip, sharedTexts);
    if (error.isEmpty() && !styles.isEmpty() && zip.entrySize(styles) >= 0)
        error = readStyles(zip, styles);
    return error;
}

QString XlsxBook::readRelationships(ZipArchive &zip, const QString &source,
                                    std::map<QString, std::pair<QString, QString>> &byId) {
    const QString part = relationshipsPartOf(source);
    if (zip.entrySize(part) < 0)
        return {}; // a part without relationships
    return readXmlPart(zip, part, MaxUnpackedPartBytes, [&](QXmlStreamReader &xml) {
        while (xml.readNextStartElement()) {
            if (xml.name() == u"Relationships")
                continue;
            if (xml.name() == u"Relationship" &&
                xml.attributes().value(QLatin1String("TargetMode")) != u"External") {
                const QXmlStreamAttributes attributes = xml.attributes();
                byId[attributes.value(QLatin1String("Id")).toString()] = {
                    attributes.value(QLatin1String("Type")).toString(),
                    resolvePart(source, attributes.value(QLatin1String("Target")).toString())};
            }
            xml.skipCurrentElement();
        }
    });
}

QString XlsxBook::readSharedTexts(ZipArchive &zip, const QString &part) {
    bool tooMany = false;
    m_textStarts.push_back(0);
    QString error = readXmlPart(zip, part, MaxUnpackedPartBytes, [&](QXmlStreamReader &xml) {
        while (xml.readNextStartElement()) {
            if (xml.name() == u"sst")
                continue;
            if (xml.name() != u"si") {
                xml.skipCurrentElement();
                continue;
            }
            if (qsizetype(m_textStarts.size()) > MaxSharedTexts) {
                tooMany = true;
                return;
            }
            m_sharedTexts += readStringItem(xml);
            m_textStarts.push_back(m_sharedTexts.size());
        }
    });
    if (error.isEmpty() && tooMany)
        error = QStringLiteral("It holds more than %1 different texts.").arg(MaxSharedTexts);
    return error;
}

QString XlsxBook::readStyles(ZipArchive &zip, const QString &part) {
    std::map<int, QString> codes; // the workbook's own number formats by id
    std::vector<int> formatOfStyle;
    QString error = readXmlPart(zip, part, MaxUnpackedPartBytes, [&](QXmlStreamReader &xml) {
        bool inCellStyles = false;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isEndElement() && xml.name() == u"cellXfs")
                inCellStyles = false;
            if (!xml.isStartElement())
                continue;
            const QXmlStreamAttributes attributes = xml.attributes();
            if (xml.name() == u"numFmt")
                codes[attributes.value(QLatin1String("numFmtId")).toInt()] =
                    attributes.value(QLatin1String("formatCode")).toString();
            else if (xml.name() == u"cellXfs")
                inCellStyles = true;
            else if (xml.name() == u"xf" && inCellStyles)
                formatOfStyle.push_back(attributes.value(QLatin1String("numFmtId")).toInt());
        }
    });
    for (const int id : formatOfStyle) {
        const auto code = codes.find(id);
        m_styles.push_back(code != codes.end()    ? styleOfCode(code->second)
                           : isBuiltInDate(id)    ? NumberStyle::Date
                           : id == 11 || id == 48 ? NumberStyle::Scientific
                                                  : NumberStyle::Plain);
    }
    return error;
}

} // namespace userdb
