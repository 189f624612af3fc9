#include "crypt/CDesCrypt.h"

#include "crypt/ContainerFormat.h"
#include "crypt/Crc32.h"
#include "crypt/CryptStatus.h"
#include "crypt/FileContainer.h"
#include "crypt/MemoryContainer.h"
#include "crypt/SecureWipe.h"

namespace {

bool OpenForReading(CFile& file, const char* path) { return path && file.Open(path, CFile::modeRead); }

bool CreateForWriting(CFile& file, const char* path) {
    return path && file.Open(path, CFile::modeCreate | CFile::modeReadWrite);
}

// A written file is closed explicitly, so that an error the system reports only at close is a
// failure like any failed write rather than lost in a destructor.
DWORD CloseWritten(CFile& file, DWORD result, DWORD onFailure) {
    try {
        file.Close();
    } catch (const CFileException&) {
        return result == cryptstatus::kOk ? onFailure : result;
    }
    return result;
}

}  // namespace

CDesCrypt::CDesCrypt() { Init(); }

CDesCrypt::~CDesCrypt() = default;

void CDesCrypt::Init() {
    SecureWipeObject(m_key);
    m_pad = 0;
    m_crc = FALSE;
    m_plainInPath = m_plainOutPath = m_containerPath = nullptr;
    m_keyString = nullptr;
    m_plainIn = nullptr;
    m_plainOut = m_containerBuffer = nullptr;
    m_length = 0;
}

// Each public operation stores its arguments, runs its driver and ends in Init, which wipes
// the key material whatever the driver returned.
DWORD CDesCrypt::Finish(DWORD result) {
    Init();
    return result;
}

void CDesCrypt::StoreCommon(bool bCRC, const unsigned char* key, const long* length) {
    m_crc = bCRC;
    m_keyString = key;
    m_length = length ? *length : 0;
}

DWORD CDesCrypt::EncryptF(bool bCRC, const char* source, const char* destination, unsigned char* key) {
    StoreCommon(bCRC, key, nullptr);
    m_plainInPath = source;
    m_containerPath = destination;
    return Finish(psen_encrypt(kFileMode));
}

DWORD CDesCrypt::DecryptF(bool bCRC, const char* source, const char* destination, unsigned char* key) {
    StoreCommon(bCRC, key, nullptr);
    m_containerPath = source;
    m_plainOutPath = destination;
    return Finish(psen_decrypt(kFileMode));
}

DWORD CDesCrypt::EncryptM(bool bCRC, unsigned char* source, unsigned char* destination, unsigned char* key,
                          long* length) {
    if (!length) return Finish(cryptstatus::kKeySetupFailed);
    StoreCommon(bCRC, key, length);
    m_plainIn = source;
    m_containerBuffer = destination;
    const DWORD result = psen_encrypt(kMemoryMode);
    if (result == cryptstatus::kOk) *length = m_length;
    return Finish(result);
}

DWORD CDesCrypt::DecryptM(bool bCRC, unsigned char* source, unsigned char* destination, unsigned char* key,
                          long* length) {
    StoreCommon(bCRC, key, length);
    m_containerBuffer = source;
    m_plainOut = destination;
    return Finish(psen_decrypt(kMemoryMode));
}

DWORD CDesCrypt::GetCRC(unsigned char* data, int length, _crc* result) {
    if (result) result->value = data && length > 0 ? Crc32(data, static_cast<std::size_t>(length)) : 0;
    return 0;
}

int CDesCrypt::GetEncDataMemSize() { return static_cast<int>(m_length); }

DWORD CDesCrypt::initKey(unsigned mode, unsigned direction) {
    if (!m_keyString || m_keyString[0] == 0) return cryptstatus::kKeySetupFailed;
    MakeCipherKey(m_keyString, m_key);
    // In memory the containers take the pad count from the length or the container's own
    // byte; files are opened here to measure the input or to read the pad byte.
    if (mode == kMemoryMode) return cryptstatus::kOk;
    CFile input;
    if (!OpenForReading(input, direction == kEncrypt ? m_plainInPath : m_containerPath))
        return cryptstatus::kKeySetupFailed;
    try {
        if (direction == kEncrypt) {
            m_length = static_cast<long>(input.GetLength());
        } else {
            BYTE pad = 0;
            input.Seek(container::kPadOffset, CFile::begin);
            m_pad = input.Read(&pad, 1) == 1 ? pad : -1;
        }
    } catch (const CFileException&) {
        return cryptstatus::kKeySetupFailed;
    }
    return cryptstatus::kOk;
}

DWORD CDesCrypt::psen_encrypt(unsigned mode) {
    if (initKey(mode, kEncrypt) != cryptstatus::kOk) return cryptstatus::kKeySetupFailed;
    return mode == kFileMode ? EncryptFile() : EncryptMemory();
}

DWORD CDesCrypt::psen_decrypt(unsigned mode) {
    if (initKey(mode, kDecrypt) != cryptstatus::kOk) return cryptstatus::kKeySetupFailed;
    return mode == kFileMode ? DecryptFile() : DecryptMemory();
}

DWORD CDesCrypt::EncryptFile() {
    CFile plain, out;
    const bool plainOpen = OpenForReading(plain, m_plainInPath);
    if (!CreateForWriting(out, m_containerPath)) return cryptstatus::kContainerFailed;
    if (!plainOpen) return cryptstatus::kPlainFailed;
    const DWORD result = EncryptFileContainer(m_key, m_crc, plain, static_cast<std::uint64_t>(m_length), out);
    return CloseWritten(out, result, cryptstatus::kContainerFailed);
}

DWORD CDesCrypt::DecryptFile() {
    CFile in, out;
    if (!OpenForReading(in, m_containerPath)) return cryptstatus::kContainerFailed;
    if (!CreateForWriting(out, m_plainOutPath)) return cryptstatus::kPlainFailed;
    return CloseWritten(out, DecryptFileContainer(m_key, m_crc, m_pad, in, out), cryptstatus::kPlainFailed);
}

DWORD CDesCrypt::EncryptMemory() {
    if (!m_containerBuffer) return cryptstatus::kContainerFailed;
    const std::uint64_t plainLength = m_length > 0 ? static_cast<std::uint64_t>(m_length) : 0;
    if (plainLength && !m_plainIn) return cryptstatus::kPlainFailed;
    m_length = static_cast<long>(EncryptMemoryContainer(m_key, m_crc, m_plainIn, plainLength, m_containerBuffer));
    return cryptstatus::kOk;
}

DWORD CDesCrypt::DecryptMemory() {
    if (!m_containerBuffer || m_length < 0) return cryptstatus::kWrongKey;
    if (!m_plainOut) return cryptstatus::kPlainFailed;
    return DecryptMemoryContainer(m_key, m_crc, m_containerBuffer, static_cast<std::uint64_t>(m_length), m_plainOut);
}
