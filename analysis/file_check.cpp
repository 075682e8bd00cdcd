#include "analysis/file_check.h"

#include <algorithm>
#include <array>
#include <memory>

#include "analysis/component_progress.h"
#include "analysis/fault_log.h"
#include "analysis/frame_layout.h"
#include "analysis/huffman_lookup.h"
#include "analysis/listener_pair.h"
#include "analysis/marker_code.h"
#include "analysis/scan_decoder.h"
#include "analysis/scan_header.h"
#include "analysis/segment_fields.h"

namespace vellumark {

namespace {

constexpr std::size_t kTableSlots = 4;

bool IsUnknownMarker(std::uint8_t code) {
  return (code >= 0x02 && code <= 0xBF) || (code >= marker::kJpg0 && code <= marker::kJpg13);
}

}  // namespace

class PictureCheck::State {
public:
  State(BinaryFile& file, std::optional<std::string_view> unsupported, const std::atomic<bool>* interrupt)
      : file_(file), unsupported_(unsupported), interrupt_(interrupt) {}

  void Begin(std::int64_t size, bool jpeg) {
    size_ = size;
    jpeg_ = jpeg;
    log_.emplace(kHeldFaults, size);
  }

  void Segment(const StructureSegment& segment) {
    if (unsupported_) {
      return;
    }
    const std::uint8_t code = segment.code;
    if (IsUnknownMarker(code)) {
      Add(CheckFault::At(FaultKind::UnknownMarker, segment.offset));
    } else if (segment.truncated) {
      // The walk tells that the file ends inside it; nothing in it is read.
      return;
    } else if (IsFrameCode(code)) {
      Frame(segment);
    } else if (code == marker::kSos) {
      Scan(segment);
    } else if (code == marker::kSoi) {
      if (soiSeen_) {
        Add(CheckFault::At(FaultKind::UnexpectedMarker, segment.offset));
      }
      soiSeen_ = true;
    } else if (code == marker::kEoi) {
      eoi_ = segment.offset;
    } else if (segment.Whole()) {
      Tables(code, segment.payload);
    }
  }

  void EntropyData(std::int64_t offset, std::int64_t length) {
    if (!plan_) {
      return;
    }
    EntropyReader reader(file_, offset + length, interrupt_);
    current_.intact = DecodeScan(reader, offset, *plan_, [this](const CheckFault& fault) { Add(fault); });
    intact_ += current_.intact;
    plan_.reset();
  }

  void Problem(const StructureProblem& problem) {
    if (unsupported_) {
      return;
    }
    switch (problem.kind) {
      case ProblemKind::ExtraneousBytes:
        return Add(CheckFault::At(FaultKind::ExtraneousBytes, problem.offset, problem.length));
      case ProblemKind::BadLength: return Add(CheckFault::At(FaultKind::BadLength, problem.offset));
      case ProblemKind::TruncatedSegment: return Add(CheckFault::At(FaultKind::TruncatedSegment, problem.offset));
      case ProblemKind::TruncatedMarker:
        return Add(CheckFault::At(FaultKind::TruncatedMarker, problem.offset, problem.length));
      // The file's end is judged once all of it is known.
      case ProblemKind::MissingEoi:
      case ProblemKind::NoSoi: return;
    }
  }

  ScanCounts LastScan() const { return current_; }

  CheckSummary Finish() {
    CheckSummary summary;
    if (!jpeg_) {
      summary.verdict = Verdict::NotJpeg;
      return summary;
    }
    if (unsupported_) {
      summary.verdict = Verdict::Unsupported;
      summary.reason = *unsupported_;
      return summary;
    }
    JudgeTheEnd();
    summary.verdict = log_->Decide(summary.first);
    summary.faults = log_->Held();
    summary.faultCount = log_->Count();
    summary.mcus = mcus_;
    summary.intact = intact_;
    return summary;
  }

private:
  void Add(const CheckFault& fault) { log_->Add(fault); }

  void Frame(const StructureSegment& segment) {
    if (frame_) {
      Add(CheckFault::At(FaultKind::ExtraFrame, segment.offset));
      return;
    }
    frame_ = ReadFrameLayout(segment.code, segment.payload, segment.Whole());
    progress_.resize(frame_->components.size());
    if (!frame_->valid) {
      Add(CheckFault::At(FaultKind::BadFrame, segment.offset));
    }
  }

  // Tables and the restart interval: the last ones defined before a scan are its own.
  void Tables(std::uint8_t code, std::span<const std::uint8_t> payload) {
    if (code == marker::kDht) {
      for (const HuffmanTable& table : ReadHuffmanFields(payload).tables) {
        if (table.symbols && table.tableClass <= 1 && table.id < kTableSlots) {
          if (auto lookup = HuffmanLookup::Build(*table.counts, *table.symbols)) {
            (table.tableClass == 0 ? dc_ : ac_)[table.id] = std::move(*lookup);
          }
        }
      }
    } else if (code == marker::kDqt) {
      for (const QuantisationTable& table : ReadQuantisationFields(payload, QuantisationPrecision::FromTable).tables) {
        if (table.values && table.id < kTableSlots) {
          quantisation_[table.id] = true;
        }
      }
    } else if (code == marker::kDri) {
      if (const auto interval = ReadWordFields(payload).value) {
        restartInterval_ = *interval;
      }
    }
  }

  void Scan(const StructureSegment& segment) {
    ++scans_;
    current_ = {};
    plan_.reset();
    CheckFault here = CheckFault::At(FaultKind::NoFrame, segment.offset);
    here.scan = scans_;
    if (!frame_) {
      Add(here);
      return;
    }
    const ScanHeader header = ReadScanHeader(*frame_, segment.Whole() ? segment.payload : std::span<const std::uint8_t>{});
    const McuGrid grid = header.AllFound() ? ScanMcuGrid(*frame_, header.components) : McuGrid{};
    current_.mcus = grid.Count();
    mcus_ += current_.mcus;
    if (!frame_->valid) {
      return;
    }
    if (IsBadScan(*frame_, header) || grid.Count() == 0) {
      return Add(With(here, FaultKind::BadScan));
    }
    if (!frame_->progressive && HasProgressiveParameters(header)) {
      Add(With(here, FaultKind::ScanParameters));
    }
    Plan(header, grid, here);
  }

  static CheckFault With(CheckFault fault, FaultKind kind) {
    fault.kind = kind;
    return fault;
  }

  // The table in slot id, or the standard one where no DHT defined slot 0 or 1.
  const HuffmanLookup* Table(const std::array<std::optional<HuffmanLookup>, kTableSlots>& slots, std::uint8_t id,
                             bool ac, bool& standard) const {
    if (id < kTableSlots && slots[id]) {
      return &*slots[id];
    }
    if (id <= 1) {
      standard = true;
      return &StandardHuffmanTable(ac, id);
    }
    return nullptr;
  }

  void Plan(const ScanHeader& header, const McuGrid& grid, const CheckFault& here) {
    const bool progressive = frame_->progressive;
    const bool dcNeeded = !progressive || (header.ss == 0 && header.ah == 0);
    const bool acNeeded = !progressive || header.ss > 0;
    ScanPlan plan;
    bool standard = false;
    bool missing = false;
    for (std::size_t i = 0; i < header.components.size(); ++i) {
      const ScanComponent& named = (*header.fields.components)[i];
      const FrameComponent& c = frame_->components[header.components[i]];
      ScanPlan::Component component;
      component.dc = dcNeeded ? Table(dc_, named.td, false, standard) : nullptr;
      component.ac = acNeeded ? Table(ac_, named.ta, true, standard) : nullptr;
      missing = missing || (dcNeeded && !component.dc) || (acNeeded && !component.ac) || !quantisation_[c.tq];
      if (header.components.size() > 1) {
        component.blocksAcross = c.h;
        component.blocksDown = c.v;
      }
      plan.components.push_back(component);
    }
    if (missing) {
      return Add(With(here, FaultKind::MissingTable));
    }
    if (progressive && !FollowsProgression(progress_, header)) {
      Add(With(here, FaultKind::Progression));
    }
    if (standard) {
      Add(With(here, FaultKind::DefaultHuffmanTable));
    }
    RecordScan(progress_, header, progressive);
    plan.mode = Mode(header);
    if (plan.mode == ScanPlan::Mode::AcFirst || plan.mode == ScanPlan::Mode::AcRefine) {
      plan.components.front().history = History(header.components.front());
    }
    FillGeometry(plan, header, grid);
    plan_ = std::move(plan);
  }

  ScanPlan::Mode Mode(const ScanHeader& header) const {
    if (!frame_->progressive) {
      return ScanPlan::Mode::Sequential;
    }
    if (header.ss == 0) {
      return header.ah == 0 ? ScanPlan::Mode::DcFirst : ScanPlan::Mode::DcRefine;
    }
    return header.ah == 0 ? ScanPlan::Mode::AcFirst : ScanPlan::Mode::AcRefine;
  }

  void FillGeometry(ScanPlan& plan, const ScanHeader& header, const McuGrid& grid) const {
    const bool twelveBit = frame_->precision == 12;
    plan.ss = frame_->progressive ? header.ss : 0;
    plan.se = frame_->progressive ? header.se : kLastCoefficient;
    plan.maxDcCategory = twelveBit ? 15 : 11;
    plan.maxAcSize = twelveBit ? 14 : 10;
    plan.mcuColumns = grid.columns;
    plan.mcuRows = grid.rows;
    plan.restartInterval = restartInterval_;
    plan.mcuWidth = 8 * frame_->hMax;
    plan.mcuHeight = 8 * frame_->vMax;
    if (header.components.size() == 1) {
      const FrameComponent& only = frame_->components[header.components.front()];
      plan.widthDivisor = only.h;
      plan.heightDivisor = only.v;
    }
    plan.scan = scans_;
  }

  CoefficientHistory* History(std::size_t index) {
    auto& history = progress_[index].history;
    if (!history) {
      const FrameComponent& c = frame_->components[index];
      history = std::make_unique<CoefficientHistory>(frame_->BlocksAcross(c) * frame_->BlocksDown(c));
    }
    return history.get();
  }

  // Without EOI the file stops short unless every component came whole; with
  // it, a component no scan began is missing.
  void JudgeTheEnd() {
    const bool progressive = frame_ && frame_->progressive;
    const auto started = [progressive](const ComponentProgress& p) { return p.Started(progressive); };
    const auto complete = [progressive](const ComponentProgress& p) { return p.Complete(progressive); };
    if (eoi_) {
      if (scans_ == 0) {
        Add(CheckFault::At(FaultKind::NoScan, *eoi_));
      } else if (!std::all_of(progress_.begin(), progress_.end(), started)) {
        Add(CheckFault::At(FaultKind::MissingScans, *eoi_));
      }
    } else if (frame_ && !progress_.empty() && std::all_of(progress_.begin(), progress_.end(), complete)) {
      Add(CheckFault::At(FaultKind::MissingEoi, size_));
    } else {
      Add(CheckFault::At(FaultKind::MissingScans, size_));
    }
  }

  BinaryFile& file_;
  std::optional<std::string_view> unsupported_;
  const std::atomic<bool>* interrupt_;
  std::int64_t size_ = 0;
  bool jpeg_ = false;
  std::optional<FaultLog> log_;
  bool soiSeen_ = false;
  std::optional<std::int64_t> eoi_;
  std::optional<FrameLayout> frame_;
  std::vector<ComponentProgress> progress_;
  std::array<std::optional<HuffmanLookup>, kTableSlots> dc_;
  std::array<std::optional<HuffmanLookup>, kTableSlots> ac_;
  std::array<bool, kTableSlots> quantisation_{};
  std::int64_t restartInterval_ = 0;
  std::int64_t scans_ = 0;
  std::optional<ScanPlan> plan_;
  ScanCounts current_;
  std::int64_t mcus_ = 0;
  std::int64_t intact_ = 0;
};

PictureCheck::PictureCheck(BinaryFile& file, std::optional<std::string_view> unsupported,
                           const std::atomic<bool>* interrupt)
    : state_(std::make_unique<State>(file, unsupported, interrupt)) {}

PictureCheck::~PictureCheck() = default;

void PictureCheck::Begin(std::int64_t size, bool jpeg) { state_->Begin(size, jpeg); }
void PictureCheck::Segment(const StructureSegment& segment) { state_->Segment(segment); }
void PictureCheck::EntropyData(std::int64_t offset, std::int64_t length, std::int64_t) {
  state_->EntropyData(offset, length);
}
void PictureCheck::Problem(const StructureProblem& problem) { state_->Problem(problem); }
PictureCheck::ScanCounts PictureCheck::LastScan() const { return state_->LastScan(); }
CheckSummary PictureCheck::Finish() { return state_->Finish(); }

void MoveOffsets(CheckSummary& summary, std::int64_t by) {
  if (summary.first) {
    summary.first->offset += by;
  }
  for (CheckFault& fault : summary.faults) {
    fault.offset += by;
  }
}

std::optional<CheckSummary> CheckPictures(BinaryFile& file, const std::atomic<bool>* interrupt,
                                          StructureListener* alsoTell) {
  bool interrupted = false;
  const auto unsupported = FindUnsupported(file, interrupted, interrupt);
  if (interrupted) {
    return std::nullopt;
  }
  PictureCheck check(file, unsupported, interrupt);
  StructureListener none;
  ListenerPair both(check, alsoTell != nullptr ? *alsoTell : none);
  if (!WalkStructure(file, both, interrupt)) {
    return std::nullopt;
  }
  return check.Finish();
}

}  // namespace vellumark
