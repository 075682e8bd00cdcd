#include "analysis/segment_declarations.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/xml_guard.h"
#include "tests/support/tiff_builder.h"

namespace vellumark {
namespace {

using testing::Bytes;
using testing::IfdEntry;
using testing::Join;
using testing::TiffBuilder;

constexpr std::int64_t kAt = 100;  // the file offset of every payload
constexpr std::int64_t kFileSize = 10000;
constexpr std::uint8_t kApp0 = 0xE0, kApp1 = 0xE1, kApp2 = 0xE2;
constexpr std::uint16_t kShort = 3, kLong = 4, kUndefined = 7;

std::string Span(std::int64_t offset, std::int64_t length) {
  return std::to_string(offset) + "+" + std::to_string(length);
}

std::string Fault(const DeclarationFault& fault, std::size_t payloadSize) {
  const bool whole = fault.offset == kAt && fault.length == static_cast<std::int64_t>(payloadSize);
  return " !" + (whole ? std::string("payload") : Span(fault.offset, fault.length));
}

// "OFFSET+LENGTH format role found-by <LIMIT !FAULT; ... | !FAULT": the images,
// then the faults that yielded none; a fault over the whole payload is "!payload".
std::string Read(std::uint8_t code, const Bytes& payload, std::int64_t fileSize = kFileSize) {
  Declarations out;
  ReadSegmentDeclarations(code, payload, kAt, fileSize, out);
  std::string text;
  for (const DeclaredImage& image : out.images) {
    text += (text.empty() ? "" : "; ") + Span(image.offset, image.length) + " " +
            std::string(ImageFormatName(image.format)) + " " + std::string(ImageRoleName(image.role)) + " " +
            std::string(FoundByName(image.foundBy));
    if (image.limit != std::numeric_limits<std::int64_t>::max()) text += " <" + std::to_string(image.limit);
    for (const DeclarationFault& fault : image.faults) text += Fault(fault, payload.size());
  }
  if (!out.faults.empty()) text += " |";
  for (const DeclarationFault& fault : out.faults) text += Fault(fault, payload.size());
  return text;
}

struct DeclarationCase {
  const char* name;
  std::uint8_t code;
  Bytes payload;
  const char* expected;
  std::int64_t fileSize = kFileSize;
};

class SegmentDeclarationsTest : public ::testing::TestWithParam<DeclarationCase> {};

TEST_P(SegmentDeclarationsTest, Reads) {
  EXPECT_EQ(Read(GetParam().code, GetParam().payload, GetParam().fileSize), GetParam().expected);
}

std::string CaseName(const ::testing::TestParamInfo<DeclarationCase>& info) { return info.param.name; }

const std::string_view kExif{"Exif\0\0", 6};
const std::string_view kMpf{"MPF\0", 4};
const std::string_view kJfxx{"JFXX\0", 5};
const std::string_view kXmp{"http://ns.adobe.com/xap/1.0/\0", 29};

// ---- Exif: the TIFF bytes begin at 106. Header; IFD0 at 8, no entries, its
// next-IFD field at 10; IFD1 at 14, two entries, 30 bytes; a 4-byte thumbnail
// at 44: 48 TIFF bytes, the payload ends at 154.
TiffBuilder ExifTiff(bool big, std::uint32_t ifd1 = 14) {
  TiffBuilder tiff(big);
  tiff.Header(8).Ifd({}, ifd1);
  return tiff;
}

Bytes Exif(bool big, std::uint32_t thumbnailLength = 4, std::uint16_t type = kLong) {
  return ExifTiff(big)
      .Ifd({{0x0201, type, 1, 44}, {0x0202, type, 1, thumbnailLength}}, 0)
      .Raw({0xFF, 0xD8, 0xFF, 0xD9})
      .After(kExif);
}

std::vector<DeclarationCase> ExifCases() {
  return {
      {"ExifLittleEndian", kApp1, Exif(false), "150+4 jpeg thumbnail exif <154"},
      {"ExifBigEndian", kApp1, Exif(true), "150+4 jpeg thumbnail exif <154"},
      {"ExifShortValues", kApp1, Exif(true, 4, kShort), "150+4 jpeg thumbnail exif <154"},
      // Past the segment's end it is still declared so: the limit tells.
      {"ExifThumbnailPastTheSegment", kApp1, Exif(false, 5), "150+5 jpeg thumbnail exif <154"},
      {"ExifRationalValues", kApp1, Exif(false, 4, 5), " | !120+30"},
      {"ExifInAnApp0", kApp0, Exif(false), ""},
      {"ExifInAnApp2", kApp2, Exif(false), ""},
      {"ExifHeaderOnly", kApp1, TiffBuilder(false).Header(8).After(kExif), " | !110+4"},
      // IFD1 ends the chain read: whatever its next-IFD offset says is not followed.
      {"ExifIfd1NextNotFollowed", kApp1,
       ExifTiff(false).Ifd({{0x0201, kLong, 1, 44}, {0x0202, kLong, 1, 4}}, 0xFFFF).Raw({0xFF, 0xD8, 0xFF, 0xD9})
           .After(kExif),
       "150+4 jpeg thumbnail exif <154"},
      {"ExifLengthCountTwo", kApp1, ExifTiff(true).Ifd({{0x0201, kLong, 1, 44}, {0x0202, kLong, 2, 4}}, 0).After(kExif),
       " | !120+30"},
      {"ExifNoIfd1", kApp1, ExifTiff(false, 0).After(kExif), ""},
      {"ExifIfd1WithoutThumbnail", kApp1, ExifTiff(false).Ifd({{0x0103, kShort, 1, 6}}, 0).After(kExif), ""},
      {"ExifOffsetWithoutLength", kApp1, ExifTiff(false).Ifd({{0x0201, kLong, 1, 44}}, 0).After(kExif),
       " | !120+18"},
      {"ExifLengthWithoutOffset", kApp1, ExifTiff(true).Ifd({{0x0202, kLong, 1, 4}}, 0).After(kExif),
       " | !120+18"},
      // IFD0's next-IFD offset leads back to IFD0: the field at 10 is at fault.
      {"ExifLoopOfIfds", kApp1, ExifTiff(false, 8).After(kExif), " | !116+4"},
      // IFD1 at the last two bytes: its count (0) and no room for the next-IFD field.
      {"ExifIfd1CountAtTheEnd", kApp1, ExifTiff(false, 13).Raw({0}).After(kExif), " | !119+2"},
      {"ExifIfd1AtTheLastByte", kApp1, ExifTiff(false, 14).Raw({0}).After(kExif), " | !116+4"},
      {"ExifIfd1PastTheEnd", kApp1, ExifTiff(false, 14).After(kExif), " | !116+4"},
      // Two entries and no next-IFD field: the entries still count.
      {"ExifIfd1WithoutNextOffset", kApp1,
       ExifTiff(true).U16(2).Raw(TiffBuilder(true).Ifd({{0x0201, kLong, 1, 40}, {0x0202, kLong, 1, 4}}, 0).After(""))
           .After(kExif),
       ""},
      {"ExifIfd1CountPastTheSegment", kApp1,
       ExifTiff(false).U16(0xFFFF).U16(0x0201).U16(kLong).U32(1).U32(40).U16(0x0202).U16(kLong).U32(1).U32(4)
           .Raw({0xFF, 0xD8, 0xFF, 0xD9}).After(kExif),
       "146+4 jpeg thumbnail exif <150 !120+30"},
      {"ExifIfd0CutInTheMiddle", kApp1, TiffBuilder(false).Header(8).U16(1).Raw({1, 2, 3}).After(kExif),
       " | !114+5"},
      {"ExifNoTiffHeader", kApp1, TiffBuilder(false).Raw({'I', 'I', 0, 42}).U32(8).After(kExif), " | !106+8"},
      {"ExifIdentifierAloneDeclaresNothing", kApp1, TiffBuilder(false).After(kExif), ""},
      {"ExifOneTiffByte", kApp1, TiffBuilder(false).Raw({'I'}).After(kExif), " | !106+1"},
  };
}
INSTANTIATE_TEST_SUITE_P(Exif, SegmentDeclarationsTest, ::testing::ValuesIn(ExifCases()), CaseName);

// ---- JFXX: the extension code at 105, the thumbnail from 106.
Bytes Jfxx(std::uint8_t code, std::size_t bytes) { return Join({{'J', 'F', 'X', 'X', 0, code}, Bytes(bytes, 7)}); }

std::vector<DeclarationCase> JfxxCases() {
  return {
      {"JfxxJpeg", kApp0, Jfxx(0x10, 4), "106+4 jpeg thumbnail jfxx <110"},
      {"JfxxPalettePixels", kApp0, Jfxx(0x11, 5), "106+5 pixels thumbnail jfxx <111"},
      {"JfxxRgbPixels", kApp0, Jfxx(0x13, 2), "106+2 pixels thumbnail jfxx <108"},
      {"JfxxEmptyJpeg", kApp0, Jfxx(0x10, 0), "106+0 jpeg thumbnail jfxx <106"},
      {"JfxxOtherCode", kApp0, Jfxx(0x12, 4), ""},
      {"JfxxWithoutCode", kApp0, {'J', 'F', 'X', 'X', 0}, " | !payload"},
      {"JfxxInAnApp1", kApp1, Jfxx(0x10, 4), ""},
      {"JfxxWithoutItsZero", kApp0, {'J', 'F', 'X', 'X', 0x10, 1, 2}, ""},
  };
}
INSTANTIATE_TEST_SUITE_P(Jfxx, SegmentDeclarationsTest, ::testing::ValuesIn(JfxxCases()), CaseName);

// ---- MPF: the TIFF bytes begin at 104. Header; the index IFD at 8 with 0xB001
// (entry at 10) and 0xB002 (entry at 22), next-IFD field at 34; the MP entries
// from 38. The primary (offset 0) is never listed.
struct MpEntry {
  std::uint32_t attribute, size, offset;
};
const std::vector<MpEntry> kThree = {{0x030000, 1000, 0}, {0x000000, 500, 2000}, {0x010001, 300, 3000}};

TiffBuilder MpfTiff(bool big, std::uint32_t images, std::uint32_t byteCount, std::uint32_t listAt = 38) {
  TiffBuilder tiff(big);
  tiff.Header(8).Ifd({{0xB001, kLong, 1, images}, {0xB002, kUndefined, byteCount, listAt}}, 0);
  return tiff;
}

Bytes Mpf(TiffBuilder tiff, const std::vector<MpEntry>& entries, std::size_t cut = 0) {
  for (const MpEntry& entry : entries) tiff.U32(entry.attribute).U32(entry.size).U32(entry.offset).U32(0);
  Bytes payload = tiff.After(kMpf);
  payload.resize(payload.size() - cut);
  return payload;
}

Bytes Mpf(bool big, std::uint32_t images = 3, std::uint32_t byteCount = 48) {
  return Mpf(MpfTiff(big, images, byteCount), kThree);
}

std::vector<DeclarationCase> MpfCases() {
  constexpr const char* kBoth = "2104+500 jpeg other mpf; 3104+300 jpeg large-thumbnail mpf";
  return {
      {"MpfLittleEndian", kApp2, Mpf(false), kBoth},
      {"MpfBigEndian", kApp2, Mpf(true), kBoth},
      {"MpfInAnApp1", kApp1, Mpf(false), ""},
      {"MpfRoles", kApp2,
       Mpf(MpfTiff(true, 5, 80),
           {{0x010002, 1, 10}, {0x020001, 2, 20}, {0x020002, 3, 30}, {0x020003, 4, 40}, {0x030000, 5, 50}}),
       "114+1 jpeg large-thumbnail mpf; 124+2 jpeg panorama mpf; 134+3 jpeg disparity mpf; "
       "144+4 jpeg multi-angle mpf; 154+5 jpeg other mpf"},
      {"MpfFormats", kApp2,
       Mpf(MpfTiff(false, 3, 48), {{0x07020001, 1, 10}, {0x01000000, 2, 20}, {0x08010001, 3, 30}}),
       "114+1 unknown panorama mpf; 124+2 unknown other mpf; 134+3 jpeg large-thumbnail mpf"},
      // Three entries, all inside; then the third one byte short of the end.
      {"MpfLastEntryInside", kApp2, Mpf(MpfTiff(false, 3, 48), kThree, 0), kBoth},
      {"MpfLastEntryOneBytePast", kApp2, Mpf(MpfTiff(false, 3, 48), kThree, 1), "2104+500 jpeg other mpf !142+47"},
      // A byte count of 16n + 1 with the byte there: the n entries count.
      {"MpfByteCountNotWholeEntries", kApp2, Join({Mpf(false, 3, 49), {0}}),
       "2104+500 jpeg other mpf !142+49; 3104+300 jpeg large-thumbnail mpf !142+49"},
      {"MpfNumberOfImagesDisagrees", kApp2, Mpf(false, 2),
       "2104+500 jpeg other mpf !142+48; 3104+300 jpeg large-thumbnail mpf !142+48"},
      {"MpfNumberOfImagesMissing", kApp2,
       Mpf(std::move(TiffBuilder(false).Header(8).Ifd({{0xB002, kUndefined, 16, 26}}, 0)), {{0, 7, 70}}),
       "174+7 jpeg other mpf !130+16"},
      {"MpfFourBillionBytes", kApp2, Mpf(false, 3, 0xFFFFFFFF),
       "2104+500 jpeg other mpf !142+48; 3104+300 jpeg large-thumbnail mpf !142+48"},
      {"MpfListPastTheSegment", kApp2, Mpf(MpfTiff(true, 3, 48, 0xFFFFFFF0), kThree), " | !126+12"},
      {"MpfListAtTheEnd", kApp2, Mpf(MpfTiff(true, 3, 48, 86), kThree), " | !190+0"},
      {"MpfListAtTheLastByte", kApp2, Mpf(MpfTiff(true, 3, 48, 85), kThree), " | !189+1"},
      {"MpfOnlyThePrimary", kApp2, Mpf(MpfTiff(false, 1, 16), {{0x030000, 1000, 0}}), ""},
      {"MpfAttributesOnly", kApp2,
       TiffBuilder(true).Header(8).Ifd({{0xB000, kUndefined, 4, 0x30313030}}, 0).After(kMpf), ""},
      {"MpfNoTiffHeader", kApp2, Join({{'M', 'P', 'F', 0}, Bytes(8, 0)}), " | !104+8"},
  };
}
INSTANTIATE_TEST_SUITE_P(Mpf, SegmentDeclarationsTest, ::testing::ValuesIn(MpfCases()), CaseName);

// ---- XMP container directories, placed back from the file's end at 10000.
Bytes Xmp(const std::string& xml) { return Join({Bytes(kXmp.begin(), kXmp.end()), Bytes(xml.begin(), xml.end())}); }

std::string Item(const std::string& fields) {
  return "<rdf:li rdf:parseType=\"Resource\"><Container:Item " + fields + "/></rdf:li>";
}

// The directory `depth - 6` elements deeper than XMP writes it, so that its
// deepest element (rdf:li; Container:Item is empty) is at `depth`.
std::string Directory(const std::string& items, int depth = 6) {
  std::string open, close;
  for (int i = 6; i < depth; ++i) {
    open += "<w>";
    close += "</w>";
  }
  return "<?xpacket begin=\"\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?><x:xmpmeta xmlns:x=\"adobe:ns:meta/\">" + open +
         "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><rdf:Description rdf:about=\"\" "
         "xmlns:Container=\"http://ns.google.com/photos/1.0/container/\" "
         "xmlns:Item=\"http://ns.google.com/photos/1.0/container/item/\"><Container:Directory><rdf:Seq>" +
         items + "</rdf:Seq></Container:Directory></rdf:Description></rdf:RDF>" + close +
         "</x:xmpmeta><?xpacket end=\"w\"?>";
}

const std::string kPrimary = Item("Item:Semantic=\"Primary\" Item:Mime=\"image/jpeg\"");
const std::string kGainMap = Item("Item:Semantic=\"GainMap\" Item:Mime=\"image/jpeg\" Item:Length=\"500\"");
const std::string kMotion = Item("Item:Semantic=\"MotionPhoto\" Item:Mime=\"video/mp4\" Item:Length=\"3000\"");

std::vector<DeclarationCase> XmpCases() {
  const std::string elements =
      "<rdf:li><Container:Item><Item:Semantic>Primary</Item:Semantic><Item:Mime>image/jpeg</Item:Mime>"
      "</Container:Item></rdf:li><rdf:li><Container:Item><Item:Semantic>GainMap</Item:Semantic>"
      "<Item:Mime>image/jpeg</Item:Mime><Item:Length>\n 500 </Item:Length><Item:Padding>20</Item:Padding>"
      "</Container:Item></rdf:li>" + kMotion;
  return {
      {"XmpGainMap", kApp1, Xmp(Directory(kPrimary + kGainMap)), "9500+500 jpeg gain-map xmp"},
      {"XmpMotionPhoto", kApp1, Xmp(Directory(kPrimary + kMotion)), "7000+3000 iso-media motion-photo xmp"},
      {"XmpTwoItems", kApp1, Xmp(Directory(kPrimary + kGainMap + kMotion)),
       "6500+500 jpeg gain-map xmp; 7000+3000 iso-media motion-photo xmp"},
      {"XmpPadding", kApp1,
       Xmp(Directory(kPrimary + Item("Item:Semantic=\"GainMap\" Item:Mime=\"image/jpeg\" Item:Length=\"500\" "
                                     "Item:Padding=\"20\"") + kMotion)),
       "6480+500 jpeg gain-map xmp; 7000+3000 iso-media motion-photo xmp"},
      // The last item ends at the file's end whatever its padding.
      {"XmpPaddingOfTheLast", kApp1,
       Xmp(Directory(kPrimary + Item("Item:Mime=\"image/jpeg\" Item:Length=\"500\" Item:Padding=\"20\""))),
       "9500+500 jpeg other xmp"},
      {"XmpElements", kApp1, Xmp(Directory(elements)),
       "6480+500 jpeg gain-map xmp; 7000+3000 iso-media motion-photo xmp"},
      {"XmpOtherPrefixes", kApp1,
       Xmp("<a:Directory xmlns:a=\"c\"><b:Seq xmlns:b=\"d\"><b:li><a:Item z:Length=\"9\" z:Mime=\"Image/HEIC\" "
           "xmlns:z=\"e\"/></b:li><b:li><a:Item z:Length=\"10\" z:Mime=\"image/avif\" z:Semantic=\"Depth\"/>"
           "</b:li></b:Seq></a:Directory>"),
       "9990+10 iso-media other xmp"},
      {"XmpMimes", kApp1,
       Xmp(Directory(kPrimary + Item("Item:Mime=\"video/quicktime\" Item:Length=\"1\"") +
                     Item("Item:Mime=\"image/png\" Item:Length=\"2\""))),
       "9997+1 iso-media other xmp; 9998+2 unknown other xmp"},
      {"XmpOnlyThePrimary", kApp1, Xmp(Directory(kPrimary)), ""},
      {"XmpNoDirectory", kApp1, Xmp("<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF/></x:xmpmeta>"), ""},
      {"XmpInAnApp2", kApp2, Xmp(Directory(kPrimary + kGainMap)), ""},
      {"XmpLengthsToTheFileStart", kApp1, Xmp(Directory(kPrimary + kGainMap + kMotion)),
       "0+500 jpeg gain-map xmp; 500+3000 iso-media motion-photo xmp", 3500},
      {"XmpLengthsPastTheFileStart", kApp1, Xmp(Directory(kPrimary + kGainMap + kMotion)),
       "499+3000 iso-media motion-photo xmp !payload", 3499},
      {"XmpLengthMissing", kApp1, Xmp(Directory(kPrimary + Item("Item:Semantic=\"GainMap\"") + kMotion)),
       "7000+3000 iso-media motion-photo xmp !payload"},
      {"XmpLengthNotANumber", kApp1, Xmp(Directory(kPrimary + Item("Item:Length=\"5x\""))), " | !payload"},
      {"XmpLengthNegative", kApp1, Xmp(Directory(kPrimary + Item("Item:Length=\"-5\""))), " | !payload"},
      {"XmpPaddingNotANumber", kApp1,
       Xmp(Directory(kPrimary + Item("Item:Length=\"5\" Item:Padding=\"\"") + kMotion)),
       "7000+3000 iso-media motion-photo xmp !payload"},
      {"XmpDepthAtTheBound", kApp1, Xmp(Directory(kPrimary + kGainMap, kXmlDepthBound)), "9500+500 jpeg gain-map xmp"},
      {"XmpDepthPastTheBound", kApp1, Xmp(Directory(kPrimary + kGainMap, kXmlDepthBound + 1)), " | !payload"},
      {"XmpDoctype", kApp1, Xmp("<!DOCTYPE x [<!ENTITY a \"aaaa\">]>" + Directory(kPrimary + kGainMap)), " | !payload"},
      {"XmpMalformed", kApp1, Xmp(Directory(kPrimary + kGainMap) + "</x>"), " | !payload"},
      {"XmpMalformedWithoutDirectory", kApp1, Xmp("<x:xmpmeta><rdf:RDF></x:xmpmeta>"), ""},
  };
}
INSTANTIATE_TEST_SUITE_P(Xmp, SegmentDeclarationsTest, ::testing::ValuesIn(XmpCases()), CaseName);

// Every case cut at every length: nothing is read outside the payload (the
// sanitizer build tells), and every fault lies within it.
TEST(SegmentDeclarationsCutTest, FaultsStayInThePayload) {
  for (const auto& cases : {ExifCases(), JfxxCases(), MpfCases(), XmpCases()}) {
    for (const DeclarationCase& one : cases) {
      for (std::size_t size = 0; size <= one.payload.size(); ++size) {
        const Bytes cut(one.payload.begin(), one.payload.begin() + static_cast<std::ptrdiff_t>(size));
        Declarations out;
        ReadSegmentDeclarations(one.code, cut, kAt, kFileSize, out);
        for (const DeclaredImage& image : out.images) {
          out.faults.insert(out.faults.end(), image.faults.begin(), image.faults.end());
        }
        for (const DeclarationFault& fault : out.faults) {
          EXPECT_TRUE(fault.offset >= kAt && fault.length >= 0 &&
                      fault.offset + fault.length <= kAt + static_cast<std::int64_t>(size))
              << one.name << " cut to " << size;
        }
      }
    }
  }
}

// What the guard skips, so that it is not taken for tags.
struct GuardCase {
  const char* name;
  std::string text;
  XmlGuard expected;
};

class XmlGuardTest : public ::testing::TestWithParam<GuardCase> {};

TEST_P(XmlGuardTest, Judges) { EXPECT_EQ(GuardXml(GetParam().text, 2), GetParam().expected); }

std::vector<GuardCase> GuardCases() {
  return {
      {"TwoDeep", "<a><b>t</b></a>", XmlGuard::Fine},
      {"ThreeDeep", "<a><b><c>t</c></b></a>", XmlGuard::TooDeep},
      {"EmptyElementsDoNotNest", "<a><b/><b /><b x='>'/></a>", XmlGuard::Fine},
      {"ClosedElementsDoNotNest", "<a><b></b><b></b><b></b></a>", XmlGuard::Fine},
      // Closing tags with nothing open leave no room for deeper nesting later.
      {"UnpairedClosingTags", "</x></x><a><b><c>t</c></b></a>", XmlGuard::TooDeep},
      {"Comment", "<a><b><!-- <c><d> --></b></a>", XmlGuard::Fine},
      {"Cdata", "<a><b><![CDATA[<c><d>]]></b></a>", XmlGuard::Fine},
      {"ProcessingInstruction", "<a><b><?pi <c><d> ?></b></a>", XmlGuard::Fine},
      {"QuotedValues", "<a x=\"<c>\" y='<d>'><b z=\"'\">t</b></a>", XmlGuard::Fine},
      // A "/>" inside a quoted value does not make the element empty.
      {"EmptyInsideDoubleQuotes", "<a y=\"/>\"><b><c>t</c></b></a>", XmlGuard::TooDeep},
      {"EmptyInsideSingleQuotes", "<a y='/>'><b><c>t</c></b></a>", XmlGuard::TooDeep},
      {"TagAfterAComment", "<a><b><!-- x --><c>t</c></b></a>", XmlGuard::TooDeep},
      {"UnclosedComment", "<a><!-- <b><c><d>", XmlGuard::Fine},
      {"Doctype", "<!DOCTYPE a><a/>", XmlGuard::Declaration},
      {"EntityDeclaration", "<a><!ENTITY b \"c\"></a>", XmlGuard::Declaration},
  };
}
std::string GuardName(const ::testing::TestParamInfo<GuardCase>& info) { return info.param.name; }
INSTANTIATE_TEST_SUITE_P(Guard, XmlGuardTest, ::testing::ValuesIn(GuardCases()), GuardName);

}  // namespace
}  // namespace vellumark
