// Archives holding bitmaps: the object record of the class, the bitmap file inside it, and a
// CDib made from its runtime class when the archive is loaded.
#include "platform/core/ArchiveFormat.h"
#include "platform/core/CArchive.h"
#include "tests/dib/DibFixture.h"

namespace {

TEST(DibClass, IsRegisteredAsCreatableWithSchemaZero) {
    const CRuntimeClass* cls = CRuntimeClass::FromName("CDib");
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls, CDib::RuntimeClass());
    EXPECT_EQ(cls->m_wSchema, 0u);
    std::unique_ptr<CObject> made(cls->CreateObject());
    ASSERT_NE(dynamic_cast<CDib*>(made.get()), nullptr);
    EXPECT_TRUE(made->IsKindOf(cls));
}

TEST_F(DibTest, ArchiveRoundTripCreatesTheBitmapByItsClass) {
    CDib original;
    ASSERT_TRUE(ReadFile(original, Save(MakeBitmapFile({.bitCount = 4}))));
    const std::string path = dir.file("archive.bin");
    {
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
        CArchive ar(&file, CArchive::store);
        ar << DWORD{0x12345678};
        ar << static_cast<const CObject*>(&original) << static_cast<const CObject*>(nullptr)
           << static_cast<const CObject*>(&original);
        ar << WORD{0xBEEF};
        ar.Close();
    }
    // The class record, then the bitmap file as Write makes it.
    const std::vector<BYTE> bytes = ReadBytes(path);
    const std::vector<BYTE> record = {0xFF, 0xFF, 0x00, 0x00, 0x04, 0x00, 'C', 'D', 'i', 'b', 'B', 'M'};
    EXPECT_EQ(std::vector<BYTE>(bytes.begin() + 4, bytes.begin() + 16), record);

    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
    CArchive ar(&file, CArchive::load);
    DWORD number = 0;
    ar >> number;
    EXPECT_EQ(number, 0x12345678u);
    std::unique_ptr<CObject> loaded(ar.ReadObject(CDib::RuntimeClass()));
    auto* dib = dynamic_cast<CDib*>(loaded.get());
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(dib->GetExtent(), original.GetExtent());
    EXPECT_EQ(std::vector<BYTE>(dib->GetBits(), dib->GetBits() + dib->GetImageSize()), PixelsOf({.bitCount = 4}));
    EXPECT_EQ(ar.ReadObject(), nullptr);
    EXPECT_EQ(ar.ReadObject(), loaded.get());  // the same object stored twice is one object
    WORD tail = 0;
    ar >> tail;
    EXPECT_EQ(tail, 0xBEEF);
}

// A stored class record with its name and schema changed.
std::vector<BYTE> ClassRecord(WORD schema, const std::string& name) {
    std::vector<BYTE> bytes(6 + name.size());
    PutU16At(bytes, 0, archive::kNewClassTag);
    PutU16At(bytes, 2, schema);
    PutU16At(bytes, 4, static_cast<WORD>(name.size()));
    std::copy(name.begin(), name.end(), bytes.begin() + 6);
    return bytes;
}

struct BadArchive {
    const char* name;
    std::vector<BYTE> bytes;
    CArchiveException::Cause cause;
};

TEST_F(DibTest, LoadingRefusesWhatItCannotMake) {
    const BadArchive cases[] = {
        {"unknown class", ClassRecord(0, "CNoSuchClass"), CArchiveException::badClass},
        {"other schema", ClassRecord(1, "CDib"), CArchiveException::badSchema},
        {"class index never stored", {0x05, 0x80}, CArchiveException::badIndex},
        {"object index never stored", {0x03, 0x00}, CArchiveException::badIndex},
        {"cut inside the class name", {0xFF, 0xFF, 0, 0, 4, 0, 'C', 'D'}, CArchiveException::endOfFile},
        {"cut inside the tag", {0xFF}, CArchiveException::endOfFile},
    };
    for (const BadArchive& c : cases) {
        SCOPED_TRACE(c.name);
        CFile file;
        ASSERT_TRUE(file.Open(Save(c.bytes, "bad.bin").c_str(), CFile::modeRead));
        CArchive ar(&file, CArchive::load);
        try {
            delete ar.ReadObject();
            ADD_FAILURE() << "loaded";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, c.cause) << e.what();
        }
    }
}

TEST_F(DibTest, ADamagedBitmapInAnArchiveLoadsEmptyWithItsMessage) {
    std::vector<BYTE> bytes = ClassRecord(0, "CDib");
    std::vector<BYTE> bitmap = MakeBitmapFile();
    bitmap.resize(bitmap.size() - 3);
    bytes.insert(bytes.end(), bitmap.begin(), bitmap.end());
    CFile file;
    ASSERT_TRUE(file.Open(Save(bytes, "cut.bin").c_str(), CFile::modeRead));
    CArchive ar(&file, CArchive::load);
    std::unique_ptr<CObject> loaded(ar.ReadObject());
    ASSERT_NE(loaded, nullptr);
    EXPECT_FALSE(static_cast<CDib*>(loaded.get())->HasHeader());
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{"Read error"});
}

}  // namespace
