#pragma once
// A byte-to-text transfer codec: the state that an encoding or decoding pass works on, and the
// two operations each codec implements.
#include "platform/core/CString.h"
#include "platform/core/Types.h"

class CTransferCodec {
public:
    CTransferCodec() = default;
    CTransferCodec(const CTransferCodec&) = delete;
    CTransferCodec& operator=(const CTransferCodec&) = delete;
    virtual ~CTransferCodec() = default;

    // Decodes `text` into `out`, which holds at least strlen(text) + 1 bytes; the number of bytes
    // written, or 0 when the text cannot be decoded.
    virtual int Decode(const char* text, BYTE* out) = 0;
    // The text of `count` bytes at `data`; empty for null data.
    virtual CString Encode(const BYTE* data, int count) = 0;

protected:
    const BYTE* m_input = nullptr;  // bytes being encoded
    int m_inputLength = 0;
    int m_bitCount = 0;             // valid bits in the accumulator
    DWORD m_accumulator = 0;
};
