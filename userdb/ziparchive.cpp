#include "userdb/ziparchive.h"

#include <unzip.h>

#include <algorithm>
#include <climits>

namespace userdb {

namespace {

// minizip reads through these functions from the bytes in memory.
using MemoryFile = ZipArchive::MemoryFile;

voidpf ZCALLBACK openMemory(voidpf opaque, const void *, int) {
    return opaque;
}

uLong ZCALLBACK readMemory(voidpf, voidpf stream, void *buffer, uLong size) {
    auto *file = static_cast<MemoryFile *>(stream);
    const auto total = quint64(file->bytes->size());
    const quint64 count = std::min<quint64>(size, total - std::min(total, file->position));
    std::copy_n(file->bytes->constData() + file->position, count, static_cast<char *>(buffer));
    file->position += count;
    return uLong(count);
}

uLong ZCALLBACK writeMemory(voidpf, voidpf, const void *, uLong) {
    return 0;
}

ZPOS64_T ZCALLBACK tellMemory(voidpf, voidpf stream) {
    return static_cast<MemoryFile *>(stream)->position;
}

long ZCALLBACK seekMemory(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto *file = static_cast<MemoryFile *>(stream);
    const auto total = quint64(file->bytes->size());
    quint64 base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR)
        base = file->position;
    else if (origin == ZLIB_FILEFUNC_SEEK_END)
        base = total;
    if (offset > total || base + offset > total)
        return -1;
    file->position = base + offset;
    return 0;
}

int ZCALLBACK closeMemory(voidpf, voidpf) {
    return 0;
}

int ZCALLBACK errorMemory(voidpf, voidpf) {
    return 0;
}

// One entry of the archive, unpacked as it is read.
class EntryDevice : public QIODevice {
public:
    EntryDevice(unzFile zip, qint64 size)
        : m_zip(zip)
        , m_left(size) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    ~EntryDevice() override { unzCloseCurrentFile(m_zip); }
    EntryDevice(const EntryDevice &) = delete;
    EntryDevice &operator=(const EntryDevice &) = delete;

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return m_left + QIODevice::bytesAvailable(); }
    bool atEnd() const override { return m_left == 0 && QIODevice::bytesAvailable() == 0; }

protected:
    qint64 readData(char *data, qint64 maxSize) override {
        const int wanted = int(std::min<qint64>({maxSize, m_left, INT_MAX}));
        if (wanted == 0)
            return 0;
        const int read = unzReadCurrentFile(m_zip, data, unsigned(wanted));
        if (read < 0) {
            setErrorString(QStringLiteral("The zip archive is damaged (error %1).").arg(read));
            return -1;
        }
        if (read == 0) // shorter than the directory says
            m_left = 0;
        m_left -= read;
        return read;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    unzFile m_zip;
    qint64 m_left;
};

} // namespace

ZipArchive::ZipArchive(const QByteArray &bytes)
    : m_source{&bytes, 0} {
    zlib_filefunc64_def functions{openMemory, readMemory,  writeMemory, tellMemory,
                                  seekMemory, closeMemory, errorMemory, &m_source};
    m_zip = unzOpen2_64("", &functions);
}

ZipArchive::~ZipArchive() {
    if (m_zip)
        unzClose(m_zip);
}

qint64 ZipArchive::entrySize(const QString &name) {
    constexpr int CaseInsensitive = 2;
    if (!m_zip || unzLocateFile(m_zip, name.toUtf8().constData(), CaseInsensitive) != UNZ_OK)
        return -1;
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(m_zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return -1;
    return qint64(std::min<ZPOS64_T>(info.uncompressed_size, ZPOS64_T(LLONG_MAX)));
}

std::unique_ptr<QIODevice> ZipArchive::openEntry(const QString &name, QString &error) {
    const qint64 size = entrySize(name);
    if (size < 0) {
        error = QStringLiteral("The part \"%1\" is missing.").arg(name);
        return nullptr;
    }
    unz_file_info64 info{};
    unzGetCurrentFileInfo64(m_zip, &info, nullptr, 0, nullptr, 0, nullptr, 0);
    if (info.flag & 1) {
        error = QStringLiteral("It is protected by a password.");
        return nullptr;
    }
    if (unzOpenCurrentFile(m_zip) != UNZ_OK) {
        error = QStringLiteral("The part \"%1\" cannot be unpacked.").arg(name);
        return nullptr;
    }
    return std::make_unique<EntryDevice>(m_zip, size);
}

} // namespace userdb
