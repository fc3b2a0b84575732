#include "quicklaunch/new_file_document_data.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/system/files.h"
#include "support/command_run.h"
#include "support/fixture.h"

namespace tallowmere {
namespace {

namespace fs = std::filesystem;
using platform::Data;

Data wordBlank() {
    auto bytes = NewFileDocumentData::contents("docx");
    EXPECT_TRUE(bytes.ok());
    return bytes.ok() ? *bytes : Data{};
}

std::uint32_t read32(const Data& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | std::uint32_t(bytes[at + 3]) << 24;
}

class NewFileDocumentDataTest : public testing::TallowmereTest {
protected:
    fs::path writeBlank() {
        const fs::path path = home() / "blank.docx";
        EXPECT_TRUE(platform::Files::writeAtomically(path, wordBlank()).ok());
        return path;
    }
};

TEST_F(NewFileDocumentDataTest, WordBlankEqualsTheGoldenPackageByteForByte) {
    auto golden = platform::Files::read(fs::path(TALLOWMERE_SOURCE_DIR) / "tests/quicklaunch/data/blank.docx");
    ASSERT_TRUE(golden.ok());
    const Data bytes = wordBlank();
    ASSERT_EQ(bytes.size(), 1369u);
    EXPECT_TRUE(bytes == *golden) << "every blank Word document must be the same 1,369 bytes";

    // Where the records start, and the part CRCs, as a ZIP reader finds them.
    for (std::size_t offset : {0u, 479u, 818u}) EXPECT_EQ(read32(bytes, offset), 0x04034B50u) << offset;
    const std::size_t end = bytes.size() - 22;
    EXPECT_EQ(read32(bytes, end), 0x06054B50u);
    EXPECT_EQ(read32(bytes, end + 12), 185u) << "central directory size";
    EXPECT_EQ(read32(bytes, end + 16), 1162u) << "central directory offset";
    EXPECT_EQ(read32(bytes, 14), 0xB01A4FC9u);
    EXPECT_EQ(read32(bytes, 479 + 14), 0x714481B9u);
    EXPECT_EQ(read32(bytes, 818 + 14), 0x50A93BA9u);
}

TEST_F(NewFileDocumentDataTest, WordBlankPassesUnzipsIntegrityTest) {
    const auto run = testing::runCommand("unzip -t '" + writeBlank().string() + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("No errors detected"), std::string::npos) << run.output;
}

TEST_F(NewFileDocumentDataTest, PythonsZipfileReadsThreeStoredPartsWhoseCrcsMatchZlib) {
    const auto run = testing::runPython(R"(
import sys, zipfile, zlib
with zipfile.ZipFile(sys.argv[1]) as archive:
    assert archive.testzip() is None
    infos = archive.infolist()
    assert [i.filename for i in infos] == ["[Content_Types].xml", "_rels/.rels", "word/document.xml"], infos
    assert archive.comment == b""
    for info in infos:
        data = archive.read(info)
        assert info.compress_type == zipfile.ZIP_STORED, info
        assert info.CRC == zlib.crc32(data), info
        assert info.date_time == (1980, 1, 1, 0, 0, 0), info
        assert info.extra == b"" and info.comment == b"" and info.flag_bits == 0x800, info
        assert data.startswith(b'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'), data
        assert not data.endswith(b"\n")
    body = archive.read("word/document.xml").decode()
    assert '<w:pgSz w:w="11906" w:h="16838"/>' in body and "<w:p/>" in body
print("ok")
)", "'" + writeBlank().string() + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "ok\n");
}

TEST_F(NewFileDocumentDataTest, OnlyExactLowerCaseTypesHaveBlankDocuments) {
    struct Case {
        const char* extension;
        bool available;
        std::size_t size;
    } cases[] = {
        {"txt", true, 0}, {"md", true, 0}, {"docx", true, 1369},
        {"DOCX", false, 0}, {"Txt", false, 0}, {"xls", false, 0}, {"", false, 0}, {"docx ", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.extension);
        auto bytes = NewFileDocumentData::contents(c.extension);
        ASSERT_EQ(bytes.ok(), c.available);
        if (c.available) {
            EXPECT_EQ(bytes->size(), c.size);
        }
    }
}

TEST_F(NewFileDocumentDataTest, Crc32MatchesTheZipCheckValues) {
    struct Case {
        std::string input;
        std::uint32_t crc;
    } cases[] = {
        {"", 0},
        {"123456789", 0xCBF43926},  // the standard check value of this CRC
        {"a", 0xE8B7BE43},
        {std::string("\xFF\x00\x80", 3), 0xAC616EDF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(c.input.data()), c.input.size());
        EXPECT_EQ(NewFileDocumentData::crc32(bytes), c.crc);
    }
}

}  // namespace
}  // namespace tallowmere
