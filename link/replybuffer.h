#pragma once

#include <QString>
#include <vector>

namespace proglink {

// The window's reply buffer: received character codes, numbered from 1. Discovery, the
// download and capture mode each store a reply from position 1.
class ReplyBuffer {
public:
    static constexpr int Size = 80000;

    ReplyBuffer()
        : m_codes(Size, ' ') {}

    void store(int position, char code) { m_codes[index(position)] = code; }
    char at(int position) const { return m_codes[index(position)]; }
    // The characters at positions first to last, read as Windows-1252; empty when last < first.
    QString text(int first, int last) const;
    void fill(int first, int last, char code);

private:
    static std::size_t index(int position) { return std::size_t(position - 1); }
    std::vector<char> m_codes;
};

} // namespace proglink
