#include "platform/base/property_list.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

using Dictionary = PropertyValue::Dictionary;
using Array = PropertyValue::Array;

// python3's plistlib is the independent reader and writer: it describes every
// value with its type so a bool that became 1 (or a real that became an
// integer) shows up as a difference.
constexpr const char* describeScript = R"PY(
import plistlib, sys, datetime
def describe(v):
    if isinstance(v, bool): return "bool:" + str(v)
    if isinstance(v, int): return "int:" + str(v)
    if isinstance(v, float): return "real:" + repr(v)
    if isinstance(v, datetime.datetime): return "date:" + v.isoformat()
    if isinstance(v, bytes): return "data:" + v.hex()
    if isinstance(v, str): return "str:" + v
    if isinstance(v, list): return "[" + ",".join(describe(x) for x in v) + "]"
    if isinstance(v, dict): return "{" + ",".join(k + "=" + describe(v[k]) for k in sorted(v)) + "}"
    return "unknown"
with open(sys.argv[1], "rb") as f:
    print(describe(plistlib.load(f)), end="")
)PY";

constexpr const char* writeScript = R"PY(
import plistlib, sys, datetime
value = {
    "flag": True, "off": False, "count": 1, "negative": -42, "ratio": 2.5, "whole": 3.0,
    "name": "塔洛梅 & <friends>", "empty": "",
    "when": datetime.datetime(2026, 12, 10, 8, 30, 0),
    "blob": bytes(range(0, 80)),
    "list": [1, "two", {"three": 3.25}],
    "nested": {"inner": {"deep": [True]}},
}
fmt = plistlib.FMT_BINARY if sys.argv[2] == "binary" else plistlib.FMT_XML
with open(sys.argv[1], "wb") as f:
    plistlib.dump(value, f, fmt=fmt)
)PY";

std::string run(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return output;
    char buffer[4096];
    while (std::size_t count = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, count);
    pclose(pipe);
    return output;
}

class PropertyListTest : public testing::TallowmereTest {
protected:
    std::string python(const char* script, const std::string& arguments) {
        const auto scriptPath = home() / "script.py";
        std::ofstream(scriptPath) << script;
        return run("python3 '" + scriptPath.string() + "' " + arguments);
    }
    void writeFile(const std::filesystem::path& path, const Data& bytes) {
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
    }
    Data readFile(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return Data(std::istreambuf_iterator<char>(in), {});
    }

    static PropertyValue sample() {
        return Dictionary{
            {"flag", true},
            {"off", false},
            {"count", 1},
            {"negative", -42},
            {"ratio", 2.5},
            {"whole", 3.0},
            {"name", "塔洛梅 & <friends>"},
            {"empty", ""},
            {"when", Date::fromTimeIntervalSince1970(1796891400)},  // 2026-12-10T08:30:00Z
            {"blob", Data{0, 1, 2, 0xFF}},
            {"list", Array{1, "two", Dictionary{{"three", 3.25}}}},
            {"nested", Dictionary{{"inner", Dictionary{{"deep", Array{true}}}}}},
        };
    }
};

TEST_F(PropertyListTest, WrittenListsReadBackInPlistlibWithTheirTypes) {
    const std::string expected =
        "{blob=data:000102ff,count=int:1,empty=str:,flag=bool:True,list=[int:1,str:two,{three=real:3.25}],"
        "name=str:塔洛梅 & <friends>,negative=int:-42,nested={inner={deep=[bool:True]}},off=bool:False,"
        "ratio=real:2.5,when=date:2026-12-10T08:30:00,whole=real:3.0}";
    for (auto format : {PropertyListFormat::xml, PropertyListFormat::binary}) {
        SCOPED_TRACE(format == PropertyListFormat::xml ? "xml" : "binary");
        auto bytes = PropertyList::write(sample(), format);
        ASSERT_TRUE(bytes.ok()) << bytes.error().message;
        const auto path = home() / "written.plist";
        writeFile(path, *bytes);
        EXPECT_EQ(python(describeScript, path.string()), expected);
        // And it reads back here unchanged.
        auto again = PropertyList::read(*bytes);
        ASSERT_TRUE(again.ok()) << again.error().message;
        EXPECT_EQ(*again, sample());
    }
}

TEST_F(PropertyListTest, ListsWrittenByPlistlibReadBackWithTheirTypes) {
    for (std::string format : {"xml", "binary"}) {
        SCOPED_TRACE(format);
        const auto path = home() / ("python." + format);
        python(writeScript, path.string() + " " + format);
        const Data bytes = readFile(path);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(PropertyList::detectFormat(bytes),
                  format == "xml" ? PropertyListFormat::xml : PropertyListFormat::binary);
        auto value = PropertyList::read(bytes);
        ASSERT_TRUE(value.ok()) << value.error().message;
        Data blob;
        for (int index = 0; index < 80; ++index) blob.push_back(static_cast<std::uint8_t>(index));
        const PropertyValue expected = Dictionary{
            {"flag", true}, {"off", false}, {"count", 1}, {"negative", -42}, {"ratio", 2.5}, {"whole", 3.0},
            {"name", "塔洛梅 & <friends>"}, {"empty", ""},
            {"when", Date::fromTimeIntervalSince1970(1796891400)}, {"blob", blob},
            {"list", Array{1, "two", Dictionary{{"three", 3.25}}}},
            {"nested", Dictionary{{"inner", Dictionary{{"deep", Array{true}}}}}},
        };
        EXPECT_EQ(*value, expected);
        EXPECT_TRUE(value->find("flag")->asBoolean().has_value()) << "a bool must not read as an integer";
        EXPECT_TRUE(value->find("whole")->asReal().has_value()) << "3.0 must stay a real";
    }
}

TEST_F(PropertyListTest, DatesKeepWholeSecondsInXmlAndMicrosecondsInBinary) {
    const Date precise = Date::fromTimeIntervalSince1970(1796891400.25);
    const PropertyValue value = Dictionary{{"at", precise}};
    auto xml = PropertyList::read(*PropertyList::write(value, PropertyListFormat::xml));
    auto binary = PropertyList::read(*PropertyList::write(value, PropertyListFormat::binary));
    ASSERT_TRUE(xml.ok() && binary.ok());
    EXPECT_EQ(xml->find("at")->asDate(), Date::fromTimeIntervalSince1970(1796891400));
    EXPECT_DOUBLE_EQ(binary->find("at")->asDate()->timeIntervalSince1970(), 1796891400.25);
    EXPECT_EQ(PropertyList::write(Dictionary{{"far", Date::fromTimeIntervalSince1970(5e9)}}).error().code,
              ErrorCode::invalidArgument);
}

TEST_F(PropertyListTest, XmlIsWrittenTheWayTheMacWritesIt) {
    const PropertyValue value = Dictionary{{"b", Data{'h', 'i'}}, {"a", true}, {"c", Array{}}};
    auto bytes = PropertyList::write(value);
    ASSERT_TRUE(bytes.ok());
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
              "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
              "<plist version=\"1.0\">\n"
              "<dict>\n"
              "\t<key>a</key>\n"
              "\t<true/>\n"
              "\t<key>b</key>\n"
              "\t<data>\n"
              "\taGk=\n"
              "\t</data>\n"
              "\t<key>c</key>\n"
              "\t<array/>\n"
              "</dict>\n"
              "</plist>\n");
}

TEST_F(PropertyListTest, DamagedInputIsAnErrorValue) {
    const Data xmlBytes = *PropertyList::write(sample());
    const std::string xml(xmlBytes.begin(), xmlBytes.end());
    const Data binary = *PropertyList::write(sample(), PropertyListFormat::binary);

    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"noise", "\x13\x37 not a plist at all"},
        {"truncated xml", xml.substr(0, xml.size() / 2)},
        {"binary magic only", "bplist00"},
        {"truncated binary", std::string(binary.begin(), binary.begin() + static_cast<long>(binary.size() - 5))},
        {"deep xml", "<plist>" + [] {
             std::string open, close;
             for (int i = 0; i < 100000; ++i) open += "<array>", close += "</array>";
             return open + close;
         }() + "</plist>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto result = PropertyList::read(c.bytes);
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error().code, ErrorCode::parseFailed);
    }
}

// A binary list whose objects reference each other: a deep chain, a cycle
// and a lattice whose shared references expand exponentially.
std::string binaryList(const std::vector<std::string>& objects, std::uint64_t top = 0) {
    std::string bytes = "bplist00";
    std::vector<std::uint32_t> offsets;
    for (const auto& object : objects) {
        offsets.push_back(static_cast<std::uint32_t>(bytes.size()));
        bytes += object;
    }
    const std::uint64_t table = bytes.size();
    for (std::uint32_t offset : offsets) {
        for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>((offset >> shift) & 0xFF);
    }
    std::string trailer(6, '\0');
    trailer += static_cast<char>(4);  // offset size
    trailer += static_cast<char>(4);  // reference size
    for (std::uint64_t field : {static_cast<std::uint64_t>(objects.size()), top, table}) {
        for (int shift = 56; shift >= 0; shift -= 8) trailer += static_cast<char>((field >> shift) & 0xFF);
    }
    return bytes + trailer;
}

std::string reference(std::uint32_t index) {
    std::string bytes;
    for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>((index >> shift) & 0xFF);
    return bytes;
}

TEST_F(PropertyListTest, HostileBinaryGraphsAreRefused) {
    std::vector<std::string> chain, lattice;
    for (std::uint32_t index = 0; index + 1 < 5000; ++index) chain.push_back("\xA1" + reference(index + 1));
    chain.push_back("\xA0");
    for (std::uint32_t index = 0; index + 1 < 64; ++index) {
        lattice.push_back("\xA2" + reference(index + 1) + reference(index + 1));
    }
    lattice.push_back("\xA0");
    const std::vector<std::string> cycle = {"\xA1" + reference(0)};

    for (const auto& objects : {chain, lattice, cycle}) {
        auto result = PropertyList::read(binaryList(objects));
        EXPECT_FALSE(result.ok());
    }
    // The same builder makes a list that is fine.
    auto small = PropertyList::read(binaryList({"\xA1" + reference(1), "\x11\x01\x02"}));
    ASSERT_TRUE(small.ok()) << small.error().message;
    EXPECT_EQ(*small, PropertyValue(Array{258}));
}

TEST_F(PropertyListTest, KeysMustBeStringsWithoutNul) {
    const std::string nulKey("\x53" "a\0b", 4), nulValue("\x53" "c\0d", 4), integerKey("\x10\x07", 2);
    struct Case {
        const char* name;
        std::string bytes;
        ErrorCode code;
    } cases[] = {
        {"binary key with NUL", binaryList({"\xD1" + reference(1) + reference(2), nulKey, "\x51x"}),
         ErrorCode::wrongShape},
        {"binary integer key", binaryList({"\xD1" + reference(1) + reference(2), integerKey, "\x51x"}),
         ErrorCode::wrongShape},
        {"xml key with NUL", "<plist><dict><key>a&#0;b</key><string>x</string></dict></plist>",
         ErrorCode::parseFailed},
        {"xml hex NUL", "<plist><string>&#x00;</string></plist>", ErrorCode::parseFailed},
        {"xml raw NUL", std::string("<plist><string>\0</string></plist>", 32), ErrorCode::parseFailed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto result = PropertyList::read(c.bytes);
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error().code, c.code);
    }
    // A NUL inside a string value does not stop the read (libplist ends the
    // string there).
    auto value = PropertyList::read(binaryList({"\xD1" + reference(1) + reference(2), "\x51k", nulValue}));
    ASSERT_TRUE(value.ok()) << value.error().message;
    EXPECT_TRUE(value->find("k")->asString()->starts_with("c"));
}

TEST_F(PropertyListTest, KeyedArchiveReferencesHaveTheWrongShape) {
    auto result = PropertyList::read(binaryList({"\xA1" + reference(1), std::string("\x80\x05", 2)}));
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().code, ErrorCode::wrongShape);
}

}  // namespace
}  // namespace tallowmere::platform
