#include "analysis/check_faults.h"

namespace vellumark {

std::string_view FaultKindName(FaultKind kind) {
  switch (kind) {
    case FaultKind::NoFrame: return "no-frame";
    case FaultKind::BadFrame: return "bad-frame";
    case FaultKind::ExtraFrame: return "extra-frame";
    case FaultKind::BadScan: return "bad-scan";
    case FaultKind::ScanParameters: return "scan-parameters";
    case FaultKind::UnexpectedMarker: return "unexpected-marker";
    case FaultKind::UnknownMarker: return "unknown-marker";
    case FaultKind::MissingTable: return "missing-table";
    case FaultKind::DefaultHuffmanTable: return "default-huffman-table";
    case FaultKind::Progression: return "progression";
    case FaultKind::BadHuffmanCode: return "bad-huffman-code";
    case FaultKind::BadValue: return "bad-value";
    case FaultKind::CoefficientOverflow: return "coefficient-overflow";
    case FaultKind::PrematureEnd: return "premature-end";
    case FaultKind::RestartOutOfOrder: return "restart-out-of-order";
    case FaultKind::MissingRestart: return "missing-restart";
    case FaultKind::ExtraData: return "extra-data";
    case FaultKind::ExtraneousBytes: return "extraneous-bytes";
    case FaultKind::BadLength: return "bad-length";
    case FaultKind::TruncatedSegment: return "truncated-segment";
    case FaultKind::TruncatedMarker: return "truncated-marker";
    case FaultKind::MissingEoi: return "missing-eoi";
    case FaultKind::MissingScans: return "missing-scans";
    case FaultKind::NoScan: return "no-scan";
  }
  return {};
}

FaultClass ClassOf(const CheckFault& fault, std::int64_t fileSize) {
  switch (fault.kind) {
    case FaultKind::ScanParameters:
    case FaultKind::UnknownMarker:
    case FaultKind::DefaultHuffmanTable:
    case FaultKind::ExtraData:
    case FaultKind::ExtraneousBytes:
    case FaultKind::BadLength:
    case FaultKind::MissingEoi: return FaultClass::Warning;
    case FaultKind::TruncatedSegment:
    case FaultKind::TruncatedMarker: return FaultClass::Truncation;
    // Without EOI the scans are missing because the file stops; with it, they were never written.
    case FaultKind::MissingScans:
    case FaultKind::PrematureEnd:
    case FaultKind::MissingRestart:
      return fault.offset == fileSize ? FaultClass::Truncation : FaultClass::Damage;
    default: return FaultClass::Damage;
  }
}

std::string_view VerdictName(Verdict verdict) {
  switch (verdict) {
    case Verdict::Ok: return "ok";
    case Verdict::Warning: return "warning";
    case Verdict::Damaged: return "damaged";
    case Verdict::Truncated: return "truncated";
    case Verdict::NotJpeg: return "not-jpeg";
    case Verdict::Unsupported: return "unsupported";
  }
  return {};
}

}  // namespace vellumark
