// Builds compressed streams bit by bit, so that the decoder's tests can state exactly
// which tables and codes a stream holds, including damaged ones.
#ifndef TESTS_KELTO_PRESS_STREAM_BUILDER_H
#define TESTS_KELTO_PRESS_STREAM_BUILDER_H

#include <cstdint>
#include <vector>

class StreamBuilder
{
public:
    // The low _iBits bits of _uValue, most significant first.
    StreamBuilder& Bits(int _iBits, uint32_t _uValue) {
        for (int i = _iBits - 1; i >= 0; --i) {
            if (m_iUsed == 0) m_vBytes.push_back(0);
            if ((_uValue >> i) & 1) m_vBytes.back() |= static_cast<uint8_t>(0x80 >> m_iUsed);
            m_iUsed = (m_iUsed + 1) & 7;
        }
        return *this;
    }
    // A block header whose three tables each hold a single symbol (count-0 forms).
    StreamBuilder& SingleSymbolBlock(uint16_t _uCodes, uint16_t _uLiteral, uint16_t _uPosition) {
        return Bits(16, _uCodes).Bits(5, 0).Bits(5, 0).Bits(9, 0).Bits(9, _uLiteral).Bits(4, 0).Bits(4, _uPosition);
    }
    // A pre-code or position length of up to 16 in the stream's 3-bit / unary form.
    StreamBuilder& Length(int _iLen) {
        if (_iLen < 7) return Bits(3, static_cast<uint32_t>(_iLen));
        Bits(3, 7);
        for (int i = 7; i < _iLen; ++i) Bits(1, 1);
        return Bits(1, 0);
    }
    std::vector<uint8_t> Bytes() const { return m_vBytes; }
    // Only the bytes whose 8 bits are all written: what a writer that drops the bits of an
    // unfinished last byte gives.
    std::vector<uint8_t> CompleteBytes() const {
        std::vector<uint8_t> v = m_vBytes;
        if (m_iUsed != 0) v.pop_back();
        return v;
    }

private:
    std::vector<uint8_t> m_vBytes;
    int m_iUsed = 0;
};

#endif
