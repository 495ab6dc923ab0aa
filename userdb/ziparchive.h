#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <memory>

namespace userdb {

// A zip archive held in memory (a workbook is one), read with zlib's minizip. Entries are found
// by name with letter case ignored, as the Office formats name their parts. One entry is read
// at a time.
class ZipArchive {
public:
    // `bytes` must outlive the archive.
    explicit ZipArchive(const QByteArray &bytes);
    ~ZipArchive();
    ZipArchive(const ZipArchive &) = delete;
    ZipArchive &operator=(const ZipArchive &) = delete;

    // False when the bytes are no zip archive.
    bool isOpen() const { return m_zip != nullptr; }
    // The unpacked size of entry `name` as the archive's directory gives it, or -1 when there
    // is no such entry. Reading never yields more than this.
    qint64 entrySize(const QString &name);
    // Entry `name` as a device that unpacks as it is read, or null with `error` set. Only one
    // entry is open at a time: the device must go before the next is opened.
    std::unique_ptr<QIODevice> openEntry(const QString &name, QString &error);

    // Where minizip reads the bytes: a position in them.
    struct MemoryFile {
        const QByteArray *bytes;
        quint64 position;
    };

private:
    MemoryFile m_source;
    void *m_zip = nullptr;
};

} // namespace userdb
