#include "analysis/scan_decoder.h"

#include <algorithm>
#include <bit>

namespace vellumark {

McuPosition ScanPlan::Position(std::int64_t mcu) const {
  const std::int64_t column = mcu % mcuColumns;
  const std::int64_t row = mcu / mcuColumns;
  return {column, row, column * mcuWidth / widthDivisor, row * mcuHeight / heightDivisor};
}

namespace {

enum class Result { Ok, BadCode, BadValue, Overflow, PrematureEnd };

constexpr std::uint64_t Bit(int k) { return std::uint64_t{1} << k; }

// Coefficients from..to, inclusive; none where from > to.
constexpr std::uint64_t Band(int from, int to) {
  if (from > to) {
    return 0;
  }
  return (~std::uint64_t{0} >> (63 - to)) & (~std::uint64_t{0} << from);
}

// Set bits, without the library call that std::popcount becomes on CPUs
// the build cannot assume have an instruction for it.
constexpr int CountBits(std::uint64_t bits) {
  bits -= (bits >> 1) & 0x5555555555555555U;
  bits = (bits & 0x3333333333333333U) + ((bits >> 2) & 0x3333333333333333U);
  bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0FU;
  return static_cast<int>((bits * 0x0101010101010101U) >> 56);
}

// The position of the nth (from 1) set bit of bits, which has at least n.
int NthSetBit(std::uint64_t bits, int n) {
  for (int i = 1; i < n; ++i) {
    bits &= bits - 1;
  }
  return std::countr_zero(bits);
}

class ScanDecoder {
public:
  ScanDecoder(EntropyReader& reader, const ScanPlan& plan, const FaultSink& sink)
      : reader_(reader), plan_(plan), sink_(sink) {}

  std::int64_t Run(std::int64_t start) {
    reader_.Start(start);
    const std::int64_t total = plan_.Mcus();
    const std::int64_t length = plan_.restartInterval > 0 ? plan_.restartInterval : std::max<std::int64_t>(total, 1);
    const std::int64_t intervals = (total + length - 1) / length;
    std::int64_t interval = 0;
    while (interval < intervals) {
      const std::int64_t first = interval * length;
      const std::int64_t end = std::min(first + length, total);
      if (!DecodeInterval(first, end)) {
        reader_.SkipToStop();
        interval = Resynchronise(interval);
        continue;
      }
      ReportExtra(reader_.FinishInterval());
      if (interval == intervals - 1) {
        PassTrailingRestarts();
        break;
      }
      interval = NextInterval(interval, end);
    }
    return intact_;
  }

private:
  // After interval's last MCU, at the stop its data ended at.
  std::int64_t NextInterval(std::int64_t interval, std::int64_t nextMcu) {
    if (reader_.StopKind() != EntropyReader::Stop::Restart) {
      Report(FaultKind::MissingRestart, reader_.StopOffset(), std::nullopt, nextMcu);
      return kScanOver;
    }
    if (reader_.RestartNumber() != interval % 8) {
      Report(FaultKind::RestartOutOfOrder, reader_.StopOffset(), std::nullopt, nextMcu);
      return Resynchronise(interval);
    }
    reader_.Start(reader_.AfterRestart());
    return interval + 1;
  }

  // RSTn ends the first interval from the faulty one on whose number it
  // carries; decoding goes on with the interval after that.
  std::int64_t Resynchronise(std::int64_t interval) {
    if (reader_.StopKind() != EntropyReader::Stop::Restart || plan_.restartInterval == 0) {
      return kScanOver;
    }
    const std::int64_t ended = interval + (reader_.RestartNumber() - interval % 8 + 8) % 8;
    reader_.Start(reader_.AfterRestart());
    return ended + 1;
  }

  // Restart markers after the scan's last MCU are passed over; each run of
  // bytes before a marker is extra.
  void PassTrailingRestarts() {
    while (reader_.StopKind() == EntropyReader::Stop::Restart) {
      reader_.Start(reader_.AfterRestart());
      ReportExtra(reader_.FinishInterval());
    }
  }

  // False at a fault, which is reported.
  bool DecodeInterval(std::int64_t first, std::int64_t end) {
    eobRun_ = 0;
    for (std::int64_t mcu = first; mcu < end;) {
      if (eobRun_ > 0 && PassEobRun(mcu, end)) {
        continue;
      }
      const Result result = DecodeMcu(mcu);
      if (result != Result::Ok) {
        ReportEntropyFault(result, mcu);
        return false;
      }
      ++intact_;
      ++mcu;
    }
    return true;
  }

  // Blocks of an end-of-band run that need no bits are intact at once.
  // Returns true where mcu moved.
  bool PassEobRun(std::int64_t& mcu, std::int64_t end) {
    const std::int64_t limit = std::min(end, mcu + eobRun_);
    std::int64_t next = limit;
    if (plan_.mode == ScanPlan::Mode::AcRefine) {
      next = plan_.components.front().history->NextWith(mcu, limit, Band(plan_.ss, plan_.se));
    } else if (plan_.mode != ScanPlan::Mode::AcFirst) {
      return false;
    }
    eobRun_ -= next - mcu;
    intact_ += next - mcu;
    const bool moved = next != mcu;
    mcu = next;
    return moved;
  }

  Result DecodeMcu(std::int64_t mcu) {
    switch (plan_.mode) {
      case ScanPlan::Mode::AcFirst: return AcFirstBlock(plan_.components.front(), mcu);
      case ScanPlan::Mode::AcRefine: return AcRefineBlock(plan_.components.front(), mcu);
      default: break;
    }
    for (const ScanPlan::Component& component : plan_.components) {
      for (int block = component.blocksAcross * component.blocksDown; block > 0; --block) {
        const Result result = DecodeBlock(component);
        if (result != Result::Ok) {
          return result;
        }
      }
    }
    return Result::Ok;
  }

  Result DecodeBlock(const ScanPlan::Component& component) {
    switch (plan_.mode) {
      case ScanPlan::Mode::Sequential: return SequentialBlock(component);
      case ScanPlan::Mode::DcFirst: return DcBlock(component);
      default: return DcRefineBlock();
    }
  }

  // The code at the window's top; its bits come before everything else about it.
  Result Symbol(const HuffmanLookup& table, std::uint8_t& symbol) {
    reader_.Refill();
    codeStart_ = reader_.Consumed();
    const HuffmanLookup::Match match = table.Decode(reader_.Top16());
    if (match.length == 0 || match.length > reader_.Bits()) {
      const bool beginsCode = match.length != 0 ||
                              (reader_.Bits() < HuffmanLookup::kLongestCode &&
                               table.IsProperPrefix(reader_.Top16(), reader_.Bits()));
      return beginsCode ? Result::PrematureEnd : Result::BadCode;
    }
    reader_.Consume(match.length);
    symbol = match.symbol;
    return Result::Ok;
  }

  // Extra bits right after a code: the window holds them unless the data stopped.
  Result ExtraBits(int count) {
    if (count > reader_.Bits()) {
      return Result::PrematureEnd;
    }
    reader_.Consume(count);
    return Result::Ok;
  }

  Result DcBlock(const ScanPlan::Component& component) {
    reader_.Refill();
    const int shortcut = component.dc->DcShortcut(reader_.Top16());
    if (shortcut != 0 && shortcut <= reader_.Bits()) {
      reader_.Consume(shortcut);
      return Result::Ok;
    }
    std::uint8_t category = 0;
    if (const Result result = Symbol(*component.dc, category); result != Result::Ok) {
      return result;
    }
    if (category > plan_.maxDcCategory) {
      return Result::BadValue;
    }
    return ExtraBits(category);
  }

  Result DcRefineBlock() {
    reader_.Refill();
    codeStart_ = reader_.Consumed();
    return ExtraBits(1);
  }

  // A shortcut applies where its coefficient or zeros end by the last one;
  // otherwise the long way finds the fault.
  bool TakeShortcut(const HuffmanLookup::Shortcut& shortcut, int k, int last) {
    if (shortcut.bits == 0 || shortcut.bits > reader_.Bits() || k + shortcut.run > last) {
      return false;
    }
    reader_.Consume(shortcut.bits);
    return true;
  }

  Result SequentialBlock(const ScanPlan::Component& component) {
    if (const Result result = DcBlock(component); result != Result::Ok) {
      return result;
    }
    std::uint64_t coded = 0;
    return AcCodes<false>(*component.ac, 1, 63, coded);
  }

  Result AcFirstBlock(const ScanPlan::Component& component, std::int64_t block) {
    std::uint64_t added = 0;
    if (const Result result = AcCodes<true>(*component.ac, plan_.ss, plan_.se, added); result != Result::Ok) {
      return result;
    }
    if (added != 0) {
      component.history->Set(block, component.history->Get(block) | added);
    }
    return Result::Ok;
  }

  // The AC codes of one block from coefficient first to last, the positions
  // of those that carry a value added to coded. A first AC scan of a
  // progressive file knows end-of-band runs; a sequential scan knows EOB alone.
  template <bool kProgressive>
  Result AcCodes(const HuffmanLookup& table, int first, int last, std::uint64_t& coded) {
    for (int k = first; k <= last;) {
      reader_.Refill();
      const HuffmanLookup::Shortcut shortcut = table.AcShortcut(reader_.Top16());
      if (TakeShortcut(shortcut, k, last)) {
        if (shortcut.endOfBlock) {
          return Result::Ok;
        }
        if constexpr (kProgressive) {
          coded |= shortcut.value ? Bit(k + shortcut.run) : 0;
        }
        k += shortcut.run + 1;
        continue;
      }
      std::uint8_t symbol = 0;
      if (const Result result = Symbol(table, symbol); result != Result::Ok) {
        return result;
      }
      const int run = symbol >> 4;
      const int size = symbol & 15;
      if (size == 0 && run < 15) {
        if constexpr (kProgressive) {
          return EobRun(run, 0);
        }
        return run == 0 ? Result::Ok : Result::BadValue;
      }
      if (size > plan_.maxAcSize) {
        return Result::BadValue;
      }
      if (k + run > last) {
        return Result::Overflow;
      }
      if (const Result result = ExtraBits(size); result != Result::Ok) {
        return result;
      }
      coded |= size != 0 ? Bit(k + run) : 0;
      k += run + 1;
    }
    return Result::Ok;
  }

  // An end-of-band code: this block and the 2^run - 1 + (run more bits) after it.
  Result EobRun(int run, std::int64_t blocksAfter) {
    if (run > reader_.Bits()) {
      return Result::PrematureEnd;
    }
    eobRun_ = (std::int64_t{1} << run) + reader_.Take(run) - 1 + blocksAfter;
    return Result::Ok;
  }

  Result AcRefineBlock(const ScanPlan::Component& component, std::int64_t block) {
    const std::uint64_t history = component.history->Get(block);
    std::uint64_t added = 0;
    int k = plan_.ss;
    if (eobRun_ == 0) {
      while (k <= plan_.se) {
        std::uint8_t symbol = 0;
        if (const Result result = Symbol(*component.ac, symbol); result != Result::Ok) {
          return result;
        }
        const int run = symbol >> 4;
        const int size = symbol & 15;
        if (size > 1) {
          return Result::BadValue;
        }
        if (size == 0 && run < 15) {
          if (const Result result = EobRun(run, 1); result != Result::Ok) {
            return result;
          }
          break;
        }
        // Lands on the (run + 1)th coefficient still zero; a ZRL passes 16 of them.
        const std::uint64_t zeros = ~history & Band(k, plan_.se);
        const bool noneSet = (history & Band(k, plan_.se)) == 0;
        if (noneSet ? k + run > plan_.se : CountBits(zeros) < run + 1) {
          return Result::Overflow;
        }
        const int land = noneSet ? k + run : NthSetBit(zeros, run + 1);
        const int corrections = noneSet ? 0 : CountBits(history & Band(k, land - 1));
        if (!reader_.Skip(size + corrections)) {
          return Result::PrematureEnd;
        }
        added |= size != 0 ? Bit(land) : 0;
        k = land + 1;
      }
    }
    if (eobRun_ > 0) {
      if (!reader_.Skip(CountBits(history & Band(k, plan_.se)))) {
        return Result::PrematureEnd;
      }
      --eobRun_;
    }
    if (added != 0) {
      component.history->Set(block, history | added);
    }
    return Result::Ok;
  }

  void ReportEntropyFault(Result result, std::int64_t mcu) {
    switch (result) {
      case Result::BadCode: return ReportAtCode(FaultKind::BadHuffmanCode, mcu);
      case Result::BadValue: return ReportAtCode(FaultKind::BadValue, mcu);
      case Result::Overflow: return ReportAtCode(FaultKind::CoefficientOverflow, mcu);
      default: return Report(FaultKind::PrematureEnd, reader_.StopOffset(), std::nullopt, mcu);
    }
  }

  void ReportAtCode(FaultKind kind, std::int64_t mcu) {
    const EntropyReader::BitPosition at = reader_.Locate(codeStart_);
    Report(kind, at.offset, at.bit, mcu);
  }

  void Report(FaultKind kind, std::int64_t offset, std::optional<int> bit, std::int64_t mcu) {
    CheckFault fault = CheckFault::At(kind, offset);
    fault.bit = bit;
    fault.scan = plan_.scan;
    fault.mcu = plan_.Position(mcu);
    sink_(fault);
  }

  void ReportExtra(const EntropyReader::Extra& extra) {
    if (extra.length > 0) {
      CheckFault fault = CheckFault::At(FaultKind::ExtraData, extra.offset, extra.length);
      fault.scan = plan_.scan;
      sink_(fault);
    }
  }

  static constexpr std::int64_t kScanOver = INT64_MAX;

  EntropyReader& reader_;
  const ScanPlan& plan_;
  const FaultSink& sink_;
  std::int64_t eobRun_ = 0;
  std::int64_t codeStart_ = 0;
  std::int64_t intact_ = 0;
};

}  // namespace

std::int64_t DecodeScan(EntropyReader& reader, std::int64_t start, const ScanPlan& plan, const FaultSink& sink) {
  return ScanDecoder(reader, plan, sink).Run(start);
}

}  // namespace vellumark
