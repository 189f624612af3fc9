#include "platform/gdi/RleEncoder.h"

#include <algorithm>

#include "platform/gdi/RleFormat.h"

namespace {

class RowEncoder {
public:
    RowEncoder(std::vector<BYTE>& out, bool fourBit) : m_out(out), m_fourBit(fourBit) {}

    void Encode(const BYTE* row, int width) {
        int i = 0;
        while (i < width) {
            const int run = RunLength(row, i, width);
            if (run >= kRleMinAbsolute || run == width - i) {
                EmitRun(row[i], run);
                i += run;
                continue;
            }
            // Gather literal pixels up to the next run worth encoding as one.
            int end = i;
            while (end < width && end - i < kRleMaxRun && RunLength(row, end, width) < kRleMinAbsolute) ++end;
            EmitLiteral(row + i, end - i);
            i = end;
        }
    }

private:
    static int RunLength(const BYTE* row, int from, int width) {
        int n = 1;
        while (from + n < width && n < kRleMaxRun && row[from + n] == row[from]) ++n;
        return n;
    }

    void EmitRun(BYTE index, int count) {
        m_out.push_back(static_cast<BYTE>(count));
        m_out.push_back(m_fourBit ? static_cast<BYTE>((index << 4) | index) : index);
    }

    // A stretch too short for absolute mode goes out as single-pixel runs.
    void EmitLiteral(const BYTE* pixels, int count) {
        if (count < kRleMinAbsolute) {
            for (int k = 0; k < count; ++k) EmitRun(pixels[k], 1);
            return;
        }
        m_out.push_back(kRleEscape);
        m_out.push_back(static_cast<BYTE>(count));
        const size_t start = m_out.size();
        if (m_fourBit) {
            for (int k = 0; k < count; k += 2)
                m_out.push_back(static_cast<BYTE>((pixels[k] << 4) | (k + 1 < count ? pixels[k + 1] : 0)));
        } else {
            m_out.insert(m_out.end(), pixels, pixels + count);
        }
        if ((m_out.size() - start) % 2 != 0) m_out.push_back(0);
    }

    std::vector<BYTE>& m_out;
    bool m_fourBit;
};

}  // namespace

std::vector<BYTE> EncodeRle(const std::vector<BYTE>& indices, int width, int height, bool fourBit) {
    std::vector<BYTE> out;
    RowEncoder encoder(out, fourBit);
    for (int y = 0; y < height; ++y) {
        encoder.Encode(indices.data() + static_cast<size_t>(y) * static_cast<size_t>(width), width);
        out.push_back(kRleEscape);
        out.push_back(y + 1 < height ? kRleEndOfLine : kRleEndOfBitmap);
    }
    return out;
}
