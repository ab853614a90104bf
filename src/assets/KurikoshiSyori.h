// The carry-forward (繰越処理) as a sequence: the closing balances, the next term's
// document, then the old document marked as carried forward, saved and closed.
//
// The order is the rule: the new document is handed over (opened, untitled and
// changed) before the old one is touched, so a failed save loses nothing; the old
// document is closed only once it is saved, and when its save fails its mark is taken
// back, so that it can be carried forward again. Opening, saving and closing are the
// caller's (the application's lock, save panel and messages), passed in as steps.
//
//   KurikoshiSyori::Steps steps{.didStartPhase = ..., .addNextDocument = ...,
//                               .saveOldDocument = ..., .closeOldDocument = ...};
//   KurikoshiSyori::Result r = KurikoshiSyori::run(old, term, wareki, rounding, steps);
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "assets/KurikoshiZandaka.h"
#include "setup/TermSettings.h"

namespace kivo {

class MyDocument;

class KurikoshiSyori {
public:
  // The closing balances' preparation, journal pass and finishing, then the making
  // of the next term's document.
  enum class Phase { PreparingZandaka, PostingShiwake, FinishingZandaka, MakingDocument };

  struct Steps {
    // Told before each phase, so that a window can say what it does (may be empty).
    std::function<void(Phase)> didStartPhase;
    // The journal pass: entries posted so far of the total (may be empty).
    std::function<void(size_t done, size_t total)> didPostShiwake;
    // Takes the next term's document.
    std::function<void(std::unique_ptr<MyDocument>)> addNextDocument;
    // Saves the old document; false when it could not be saved.
    std::function<bool()> saveOldDocument;
    std::function<void()> closeOldDocument;
  };

  struct Result {
    enum class Status {
      TermRefused,  // the next term's settings fail their checks (see termRefusal); nothing changed
      Refused,      // the closing balances cannot be carried (see zandaka); nothing changed
      NotMade,      // the next term's document could not be made; nothing changed
      Done,         // the next document was handed over, the old one saved and closed
      OldNotSaved,  // the next document was handed over; the old one stays open, unmarked
    };
    Status status = Status::Done;
    KurikoshiZandaka zandaka;
    TermSettings::Refusal termRefusal;
  };

  // For term settings that pass TermSettings::check() (others are refused first).
  // doUseWareki: the era form the window's date fields showed; roundingType: the
  // depreciation rounding.
  static Result run(MyDocument& old, const TermSettings& term, bool doUseWareki, int32_t roundingType,
                    const Steps& steps);
};

}  // namespace kivo
