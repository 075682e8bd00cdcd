#include "cli/images_json.h"

#include <memory>

#include "platform/file_window.h"

namespace vellumark {

namespace {

void WriteImageHeader(JsonWriter& json, const EmbeddedImage& image, std::int64_t base) {
  json.BeginObject().Member("offset", base + image.offset).Member("length", image.length);
  json.Key("format").String(ImageFormatName(image.format)).Key("role").String(ImageRoleName(image.role));
  json.Key("found_by").BeginArray();
  for (const FoundBy way : image.foundBy) {
    json.String(FoundByName(way));
  }
  json.EndArray().Key("problems").BeginArray();
  for (const ImageProblem& problem : image.problems) {
    WriteProblemJson(json, base + problem.offset, problem.length, ImageProblemKindName(problem.kind));
  }
  json.EndArray();
}

// The picture's own object, from the bytes of its span within the file.
JsonOutcome WriteImageStructure(const EmbeddedImage& image, BinaryFile& file, JsonPlace place, JsonLine& line) {
  line.json.Key("structure");
  const SourceOpener open = [&] { return std::make_unique<FileWindow>(file, image.offset, image.inFile); };
  return WriteStructureObject(open, nullptr, JsonPlace{place.base + image.offset, place.depth + 1}, line);
}

}  // namespace

void WriteImagesJson(const std::vector<EmbeddedImage>& images, BinaryFile& file, JsonPlace place, JsonLine& line,
                     JsonOutcome& outcome) {
  if (images.empty()) {
    return;
  }
  line.json.Key("images").BeginArray();
  for (const EmbeddedImage& image : images) {
    WriteImageHeader(line.json, image, place.base);
    if (image.Jpeg()) {
      const JsonOutcome inner = WriteImageStructure(image, file, place, line);
      if (inner.verdict) {
        outcome.imageVerdicts.push_back(*inner.verdict);
      }
      outcome.imageVerdicts.insert(outcome.imageVerdicts.end(), inner.imageVerdicts.begin(),
                                   inner.imageVerdicts.end());
      outcome.interrupted = inner.interrupted;
    }
    line.json.EndObject();
    if (outcome.interrupted) {
      break;
    }
  }
  line.json.EndArray();
}

}  // namespace vellumark
