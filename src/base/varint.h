#pragma once

#include <QtGlobal>

#include <vector>

// Numbers written 7 bits a byte, the high bit saying another byte follows:
// the small numbers (gaps between lines, lengths) take a byte each.
namespace varint
{

inline void write(quint8 *&p, quint64 n)
{
    for (; n >= 0x80; n >>= 7)
        *p++ = quint8(n | 0x80);
    *p++ = quint8(n);
}

inline void append(std::vector<quint8> &out, quint64 n)
{
    for (; n >= 0x80; n >>= 7)
        out.push_back(quint8(n | 0x80));
    out.push_back(quint8(n));
}

inline quint64 read(const quint8 *&p)
{
    quint64 n = 0;
    for (int shift = 0;; shift += 7) {
        const quint8 b = *p++;
        n |= quint64(b & 0x7F) << shift;
        if (b < 0x80) return n;
    }
}

} // namespace varint
