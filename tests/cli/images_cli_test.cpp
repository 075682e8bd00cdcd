// vellumark-report on a phone-like file made of cjpeg's output: an Exif
// thumbnail, an XMP directory and an MPF index naming a gain map after EOI,
// and a motion photo's video at the end; --json, --check and --extract-images.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/embedded_builder.h"
#include "tests/support/files.h"
#include "tests/support/json_structure.h"
#include "tests/support/report_process.h"

namespace vellumark {
namespace {

using testing::Bytes;
using testing::Join;
using testing::ReadWholeFile;
using testing::RunReport;
using testing::TempDir;

Bytes Golden(const std::string& name) {
  const std::string text = ReadWholeFile(std::string(VELLUMARK_SOURCE_DIR) + "/tests/golden/" + name);
  return Bytes(text.begin(), text.end());
}

const Bytes kPrimary = Golden("baseline.jpg");
const Bytes kThumbnail = Golden("grayscale.jpg");
const Bytes kGainMap = Golden("progressive.jpg");
const Bytes kVideo = testing::IsoMedia("mp42", 40);
const auto kGainMapSize = static_cast<std::uint32_t>(kGainMap.size());

// The file, with `gainMap` where the gain map goes.
Bytes PhoneFile(const Bytes& gainMap) {
  const Bytes exif = testing::ExifSegment(kThumbnail, static_cast<std::uint32_t>(kThumbnail.size()));
  const Bytes xmp = testing::XmpSegment({{"Primary", "image/jpeg"},
                                         {"GainMap", "image/jpeg", kGainMapSize},
                                         {"MotionPhoto", "video/mp4", static_cast<std::int64_t>(kVideo.size())}});
  const std::size_t head = 2 + exif.size() + xmp.size();
  const std::size_t primaryEnd = head + testing::MpfSegment({{0, 0, 0}}).size() + kPrimary.size() - 2;
  const auto entry = static_cast<std::uint32_t>(primaryEnd - (head + testing::kMpfTiffAt));
  const Bytes mpf = testing::MpfSegment({{0, kGainMapSize, entry}});
  return Join({{0xFF, 0xD8}, exif, xmp, mpf, Bytes(kPrimary.begin() + 2, kPrimary.end()), gainMap, kVideo});
}

class ImagesCliTest : public ::testing::Test {
protected:
  std::string Write(const Bytes& bytes, const std::string& name = "phone.jpg") {
    testing::WriteWholeFile(dir_ / name, std::string(bytes.begin(), bytes.end()));
    return dir_ / name;
  }

  const std::int64_t size_ = static_cast<std::int64_t>(PhoneFile(kGainMap).size());
  const std::int64_t videoAt_ = size_ - static_cast<std::int64_t>(kVideo.size());
  const std::int64_t gainMapAt_ = videoAt_ - kGainMapSize;
  const std::int64_t thumbnailAt_ = 2 + testing::kExifThumbnailAt;
  TempDir dir_;
};

TEST_F(ImagesCliTest, JsonListsEachPictureWithItsStructure) {
  const auto result = RunReport({"--json", "--check", Write(PhoneFile(kGainMap))});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(testing::JsonLineFault(result.out), "");
  const auto object = nlohmann::ordered_json::parse(result.out);
  std::vector<std::string> images;
  for (const auto& image : object.at("images")) {
    std::string text = image.at("offset").dump() + "+" + image.at("length").dump() + " " +
                       image.at("format").get<std::string>() + " " + image.at("role").get<std::string>() + " " +
                       image.at("found_by").dump() + " " + image.at("problems").dump();
    if (image.contains("structure")) {
      text += " " + image.at("structure").at("check").at("verdict").get<std::string>();
      EXPECT_FALSE(image.at("structure").contains("file"));
    }
    images.push_back(text);
  }
  EXPECT_EQ(images, (std::vector<std::string>{
                        std::to_string(thumbnailAt_) + "+" + std::to_string(kThumbnail.size()) +
                            R"( jpeg thumbnail ["exif"] [] ok)",
                        std::to_string(gainMapAt_) + "+" + std::to_string(kGainMapSize) +
                            R"( jpeg gain-map ["mpf","xmp"] [] ok)",
                        std::to_string(videoAt_) + "+" + std::to_string(kVideo.size()) +
                            R"( iso-media motion-photo ["xmp"] [])",
                    }));
  EXPECT_EQ(object.at("images").at(1).at("structure").at("segments").at(0).at("offset"), gainMapAt_);
}

TEST_F(ImagesCliTest, CheckGivesALinePerJpegInside) {
  const std::string path = Write(PhoneFile(kGainMap));
  const auto result = RunReport({"--check", path});
  EXPECT_EQ(result.out, path + ": OK\n" + path + "@" + std::to_string(thumbnailAt_) + " (thumbnail): OK\n" + path +
                            "@" + std::to_string(gainMapAt_) + " (gain-map): OK\n");
  EXPECT_EQ(result.status, 0);
}

TEST_F(ImagesCliTest, CheckFailsTheFileForAPictureInside) {
  const std::string path = Write(PhoneFile(Bytes(kGainMap.size(), 0)));
  const auto result = RunReport({"--check", "--quiet", path});
  EXPECT_EQ(result.out, path + "@" + std::to_string(gainMapAt_) + " (gain-map): NOT JPEG\n");
  EXPECT_EQ(result.status, 1);
}

TEST_F(ImagesCliTest, ADamagedPictureInsideIsPlacedInTheFile) {
  Bytes gainMap = kGainMap;
  gainMap[400] ^= 0x10;  // in the entropy-coded data of a later scan
  const std::string path = Write(PhoneFile(gainMap));
  const auto line = RunReport({"--check", "--quiet", path});
  const std::string head = path + "@" + std::to_string(gainMapAt_) + " (gain-map): DAMAGED: bad-huffman-code at ";
  ASSERT_EQ(line.out.substr(0, head.size()), head) << line.out;
  EXPECT_GT(std::stoll(line.out.substr(head.size())), gainMapAt_ + 400 - 1);
  EXPECT_EQ(line.status, 1);

  const auto json = RunReport({"--json", "--check", path});
  EXPECT_EQ(json.status, 1);
  const auto check = nlohmann::ordered_json::parse(json.out).at("images").at(1).at("structure").at("check");
  for (const auto& fault : check.at("faults")) {
    EXPECT_GE(fault.at("offset").get<std::int64_t>(), gainMapAt_);  // moved into the file, as "first" is
  }
  EXPECT_EQ(check.at("first").at("offset").get<std::int64_t>(), std::stoll(line.out.substr(head.size())));
}

// A JPEG whose Exif thumbnail is `thumbnail`, made of kPrimary.
Bytes WithThumbnail(const Bytes& thumbnail) {
  return Join({{0xFF, 0xD8}, testing::ExifSegment(thumbnail, static_cast<std::uint32_t>(thumbnail.size())),
               Bytes(kPrimary.begin() + 2, kPrimary.end())});
}

TEST_F(ImagesCliTest, PicturesAreLookedIntoTwoDeep) {
  // After EOI a picture whose thumbnail has a thumbnail of its own.
  const Bytes deepest = WithThumbnail(testing::TinyJpeg());
  const std::string path = Write(Join({kPrimary, WithThumbnail(deepest)}));
  const std::int64_t outerAt = static_cast<std::int64_t>(kPrimary.size());
  const std::int64_t innerAt = outerAt + 2 + testing::kExifThumbnailAt;

  const auto json = RunReport({"--json", path});
  EXPECT_EQ(testing::JsonLineFault(json.out), "");
  const auto outer = nlohmann::ordered_json::parse(json.out).at("images").at(0);
  EXPECT_EQ(outer.at("offset"), outerAt);
  const auto inner = outer.at("structure").at("images").at(0);
  EXPECT_EQ(inner.at("offset"), innerAt);
  EXPECT_EQ(inner.at("role"), "thumbnail");
  EXPECT_FALSE(inner.at("structure").contains("images"));

  const auto check = RunReport({"--check", path});
  EXPECT_EQ(check.out, path + ": OK\n" + path + "@" + std::to_string(outerAt) + " (other): OK\n" + path + "@" +
                           std::to_string(innerAt) + " (thumbnail): OK\n");
}

TEST_F(ImagesCliTest, ExtractsEachPictureOnceAndNeverOverwrites) {
  const Bytes file = PhoneFile(kGainMap);
  Write(file);
  std::filesystem::create_directory(dir_ / "out");
  const auto run = [&] {
    return testing::RunCommand("cd " + testing::Quoted(dir_.Path().string()) + " && " +
                               testing::ReportCommand({"--extract-images", "out", "phone.jpg"}));
  };
  const auto first = run();
  EXPECT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.out, "");
  const auto slice = [&](std::int64_t at, std::size_t length) {
    return std::string(file.begin() + at, file.begin() + at + static_cast<std::int64_t>(length));
  };
  const std::string thumbnail = "out/phone.jpg." + std::to_string(thumbnailAt_) + ".thumbnail.jpg";
  EXPECT_EQ(ReadWholeFile(dir_ / thumbnail), slice(thumbnailAt_, kThumbnail.size()));
  EXPECT_EQ(ReadWholeFile(dir_ / ("out/phone.jpg." + std::to_string(gainMapAt_) + ".gain-map.jpg")),
            slice(gainMapAt_, kGainMapSize));
  EXPECT_EQ(ReadWholeFile(dir_ / ("out/phone.jpg." + std::to_string(videoAt_) + ".motion-photo.mp4")),
            slice(videoAt_, kVideo.size()));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_ / "out"), {}), 3);

  testing::WriteWholeFile(dir_ / thumbnail, "kept");
  const auto second = run();
  EXPECT_EQ(second.status, 1);
  EXPECT_NE(second.err.find(thumbnail + ": "), std::string::npos) << second.err;
  EXPECT_NE(second.err.find("(error 58)"), std::string::npos) << second.err;
  EXPECT_EQ(ReadWholeFile(dir_ / thumbnail), "kept");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_ / "out"), {}), 3);  // no temporary left
}

TEST_F(ImagesCliTest, APicturePastItsBoundIsNotWritten) {
  const Bytes exif = testing::ExifSegment(kThumbnail, static_cast<std::uint32_t>(kThumbnail.size() + 1));
  const std::string path = Write(Join({{0xFF, 0xD8}, exif, Bytes(kPrimary.begin() + 2, kPrimary.end())}));
  const auto result = RunReport({"--extract-images", dir_.Path().string(), path});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find(".thumbnail.jpg: "), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("(error 62)"), std::string::npos) << result.err;
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.Path()), {}), 1);  // phone.jpg alone
}

}  // namespace
}  // namespace vellumark
