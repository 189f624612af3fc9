#include "platform/gdi/RleDecoder.h"

#include <algorithm>

#include "platform/gdi/RleFormat.h"

namespace {

class Decoder {
public:
    Decoder(std::span<const BYTE> data, int width, int height, bool fourBit)
        : m_data(data), m_width(width), m_height(height), m_fourBit(fourBit),
          m_out(static_cast<size_t>(width) * static_cast<size_t>(height), 0) {}

    std::vector<BYTE> Run() {
        while (m_y < m_height && Has(2)) {
            const BYTE first = Next();
            const BYTE second = Next();
            if (first != kRleEscape) {
                Repeat(first, second);
            } else if (second == kRleEndOfLine) {
                m_x = 0;
                ++m_y;
            } else if (second == kRleEndOfBitmap) {
                break;
            } else if (second == kRleDelta) {
                if (!Has(2)) break;
                m_x = std::min(m_x + Next(), m_width);
                m_y += Next();
            } else if (!Absolute(second)) {
                break;
            }
        }
        return std::move(m_out);
    }

private:
    bool Has(size_t n) const { return m_data.size() - m_pos >= n; }
    BYTE Next() { return m_data[m_pos++]; }

    // Where the next `count` pixels go in the current row, and how many of them fit: past the
    // row's end the pen stays put, so runs are cut there.
    BYTE* Pen(int count, int& fit) {
        fit = std::min(count, m_width - m_x);
        BYTE* pen = m_out.data() + static_cast<size_t>(m_y) * static_cast<size_t>(m_width) + static_cast<size_t>(m_x);
        m_x += fit;
        return pen;
    }

    void Repeat(int count, BYTE value) {
        int fit;
        BYTE* pen = Pen(count, fit);
        if (!m_fourBit) {
            std::fill_n(pen, fit, value);
            return;
        }
        for (int k = 0; k < fit; ++k) pen[k] = static_cast<BYTE>(k % 2 == 0 ? value >> 4 : value & 0x0F);
    }

    bool Absolute(int count) {
        const size_t bytes = m_fourBit ? (static_cast<size_t>(count) + 1) / 2 : static_cast<size_t>(count);
        const size_t padded = bytes + bytes % 2;
        if (!Has(bytes)) return false;
        const BYTE* in = m_data.data() + m_pos;
        int fit;
        BYTE* pen = Pen(count, fit);
        if (!m_fourBit) {
            std::copy_n(in, fit, pen);
        } else {
            for (int k = 0; k < fit; ++k) {
                const BYTE b = in[k / 2];
                pen[k] = static_cast<BYTE>(k % 2 == 0 ? b >> 4 : b & 0x0F);
            }
        }
        m_pos += Has(padded) ? padded : bytes;
        return true;
    }

    std::span<const BYTE> m_data;
    size_t m_pos = 0;
    int m_width;
    int m_height;
    bool m_fourBit;
    int m_x = 0;
    int m_y = 0;
    std::vector<BYTE> m_out;
};

}  // namespace

std::vector<BYTE> DecodeRle(std::span<const BYTE> data, int width, int height, bool fourBit) {
    return Decoder(data, width, height, fourBit).Run();
}
