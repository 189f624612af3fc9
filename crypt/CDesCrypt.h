#pragma once
// CDesCrypt: encryption of files and memory buffers under a key string, in the container of
// ContainerFormat.h, optionally with a CRC-32 per chunk.
//
// The object holds nothing between calls: each public operation stores its arguments, derives
// the key material, runs one pass over the data and then Init wipes every field, key material
// included. One object serves one operation at a time; separate objects are independent.
//
// The container does not record whether it carries chunk CRCs. Decrypting one that does with
// bCRC false gives kDamaged and no plaintext, rather than plaintext read from the wrong places;
// CarriesChunkCrcs (FileContainer.h) tells a caller that this was the cause.
//
// Results are the codes of CryptStatus.h. Keys are NUL-terminated strings of at least one byte,
// of which the first 64 bytes count.
#include "crypt/CipherKey.h"
#include "platform/core/Types.h"

// One CRC-32 value; wherever it is stored, its bytes go least significant first.
struct _crc {
    DWORD value = 0;
};

class CDesCrypt {
public:
    CDesCrypt();
    virtual ~CDesCrypt();
    CDesCrypt(const CDesCrypt&) = default;
    CDesCrypt& operator=(const CDesCrypt&) = default;

    // Encrypts the file `source` into the container file `destination` (created or emptied).
    DWORD EncryptF(bool bCRC, const char* source, const char* destination, unsigned char* key);
    // Decrypts the container file `source` into `destination` (created or emptied). After
    // kWrongKey the destination exists and is empty; after a later failure it holds the
    // chunks decrypted before it.
    DWORD DecryptF(bool bCRC, const char* source, const char* destination, unsigned char* key);
    // *length: the plaintext length on entry, the container length on return. `destination`
    // must hold container::ContainerLength(*length, bCRC, Form::memory) + 1 bytes.
    DWORD EncryptM(bool bCRC, unsigned char* source, unsigned char* destination, unsigned char* key, long* length);
    // `source` holds a container of *length bytes (*length is not changed); the plaintext goes
    // to `destination` followed by one byte 00, so `destination` must hold the plaintext plus
    // one byte (*length - 4 bytes always suffice).
    DWORD DecryptM(bool bCRC, unsigned char* source, unsigned char* destination, unsigned char* key, long* length);
    // Stores the CRC-32 of `length` bytes in *result (0 for no bytes); returns 0.
    DWORD GetCRC(unsigned char* data, int length, _crc* result);
    // The working length; 0 between operations.
    int GetEncDataMemSize();

protected:
    enum Mode : unsigned { kMemoryMode = 0, kFileMode = 1 };
    enum Direction : unsigned { kEncrypt = 0, kDecrypt = 1 };

    // Derives the key material from the stored key and determines the pad count (in file modes
    // by opening the input); 0 on success, non-zero on failure.
    DWORD initKey(unsigned mode, unsigned direction);
    // Clears every field and wipes all key material.
    void Init();
    DWORD psen_encrypt(unsigned mode);
    DWORD psen_decrypt(unsigned mode);

private:
    void StoreCommon(bool bCRC, const unsigned char* key, const long* length);
    DWORD Finish(DWORD result);
    DWORD EncryptFile();
    DWORD DecryptFile();
    DWORD EncryptMemory();
    DWORD DecryptMemory();

    CipherKey m_key;
    int m_pad = 0;  // file decryption: the container's pad byte; -1: the container is too short to hold one
    BOOL m_crc = FALSE;
    const char* m_plainInPath = nullptr;
    const char* m_plainOutPath = nullptr;
    const char* m_containerPath = nullptr;
    const unsigned char* m_keyString = nullptr;
    const unsigned char* m_plainIn = nullptr;
    unsigned char* m_plainOut = nullptr;
    unsigned char* m_containerBuffer = nullptr;
    long m_length = 0;  // memory: input length, then container length; file encryption: input size
};
