#include "quicklaunch/new_file_document_data.h"

#include <array>
#include <string>

namespace tallowmere {

namespace {

// One part of the package: its name in the archive and its XML text.
struct PackagePart {
    std::string_view name;
    std::string_view content;
};

#define TALLOWMERE_XML_DECLARATION "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"

// The three parts a word processor needs to open a document, in the order
// they are stored. Changing a byte here changes every blank Word document.
constexpr std::array<PackagePart, 3> wordPackageParts = {{
    {"[Content_Types].xml",
     TALLOWMERE_XML_DECLARATION
     "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
     "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
     "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
     "<Override PartName=\"/word/document.xml\" "
     "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
     "</Types>"},
    {"_rels/.rels",
     TALLOWMERE_XML_DECLARATION
     "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
     "<Relationship Id=\"rId1\" "
     "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
     "Target=\"word/document.xml\"/>"
     "</Relationships>"},
    {"word/document.xml",
     TALLOWMERE_XML_DECLARATION
     "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
     "<w:body><w:p/><w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/>"
     "<w:pgMar w:top=\"1440\" w:right=\"1440\" w:bottom=\"1440\" w:left=\"1440\"/>"
     "</w:sectPr></w:body></w:document>"},
}};

#undef TALLOWMERE_XML_DECLARATION

constexpr std::uint32_t localHeaderSignature = 0x04034B50;
constexpr std::uint32_t centralHeaderSignature = 0x02014B50;
constexpr std::uint32_t endOfDirectorySignature = 0x06054B50;
constexpr std::uint16_t zipVersion = 20;            // 2.0: stored entries in folders
constexpr std::uint16_t utf8NamesFlag = 0x0800;     // bit 11: names are UTF-8
constexpr std::uint16_t storedMethod = 0;
constexpr std::uint16_t midnight = 0;
constexpr std::uint16_t firstOfJanuary1980 = 0x0021;  // the earliest MS-DOS date

// Little-endian fields, as every ZIP number is written.
void append16(platform::Data& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void append32(platform::Data& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void appendText(platform::Data& out, std::string_view text) { out.insert(out.end(), text.begin(), text.end()); }

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Version needed, flags, method, time, date, CRC and both sizes: the run of
// fields the local and the central header share.
void appendEntryFields(platform::Data& out, const PackagePart& part, std::uint32_t crc) {
    const auto size = static_cast<std::uint32_t>(part.content.size());
    append16(out, zipVersion);
    append16(out, utf8NamesFlag);
    append16(out, storedMethod);
    append16(out, midnight);
    append16(out, firstOfJanuary1980);
    append32(out, crc);
    append32(out, size);  // compressed: stored, so the same
    append32(out, size);
    append16(out, static_cast<std::uint16_t>(part.name.size()));
    append16(out, 0);  // no extra field
}

platform::Data wordPackage() {
    platform::Data archive;
    platform::Data directory;
    for (const PackagePart& part : wordPackageParts) {
        const auto headerOffset = static_cast<std::uint32_t>(archive.size());
        const std::uint32_t crc = NewFileDocumentData::crc32(bytesOf(part.content));

        append32(archive, localHeaderSignature);
        appendEntryFields(archive, part, crc);
        appendText(archive, part.name);
        appendText(archive, part.content);

        append32(directory, centralHeaderSignature);
        append16(directory, zipVersion);  // made by
        appendEntryFields(directory, part, crc);
        append16(directory, 0);  // no comment
        append16(directory, 0);  // disk 0
        append16(directory, 0);  // internal attributes
        append32(directory, 0);  // external attributes
        append32(directory, headerOffset);
        appendText(directory, part.name);
    }
    const auto directoryOffset = static_cast<std::uint32_t>(archive.size());
    archive.insert(archive.end(), directory.begin(), directory.end());

    constexpr auto partCount = static_cast<std::uint16_t>(wordPackageParts.size());
    append32(archive, endOfDirectorySignature);
    append16(archive, 0);  // this disk
    append16(archive, 0);  // disk holding the directory
    append16(archive, partCount);
    append16(archive, partCount);
    append32(archive, static_cast<std::uint32_t>(directory.size()));
    append32(archive, directoryOffset);
    append16(archive, 0);  // no comment
    return archive;
}

}  // namespace

std::uint32_t NewFileDocumentData::crc32(std::span<const std::uint8_t> bytes) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320 & (0u - (crc & 1)));
    }
    return ~crc;
}

platform::Result<platform::Data> NewFileDocumentData::contents(std::string_view fileExtension) {
    if (fileExtension == "txt" || fileExtension == "md") return platform::Data{};
    if (fileExtension == "docx") return wordPackage();
    return platform::Error{platform::ErrorCode::unsupported, "The file couldn\u2019t be saved.", 0};
}

}  // namespace tallowmere
